#!/usr/bin/env bash
# Compares --dump, --scene-dump and --export of every sample between two builds of the viewer:
#   tools/compare-outputs.sh OLD-VIEWER NEW-VIEWER [SCRATCH]. Exit 1 when any output differs.
# Dates a document does not carry (a project's StatusDate) are the clock's and left out.
old=$1 new=$2 out=${3:-/tmp/compare-outputs}
samples=$(dirname "$0")/../samples
rm -rf "$out"; mkdir -p "$out/old" "$out/new"
status=0
for f in "$samples"/*.mnf "$samples"/*.mvf; do
  [ -f "$f" ] || continue
  n=$(basename "$f")
  for side in old new; do
    bin=$old; [ $side = new ] && bin=$new
    "$bin" --dump "$f" --yes 2>/dev/null | sed -E "s/\"StatusDate\":[-0-9.e]+/\"StatusDate\":0/g" > "$out/$side/$n.dump"
    "$bin" --scene-dump "$f" --yes > "$out/$side/$n.scene" 2>/dev/null
    "$bin" --scene-dump "$f" --set Transparent=1 --set Colors=0 --text-height 25 > "$out/$side/$n.scene2" 2>/dev/null
    "$bin" --export "$out/$side/$n.bmp" --yes "$f" > /dev/null 2>&1
    "$bin" --export "$out/$side/$n.small.bmp" --size 300x200 --yes "$f" > /dev/null 2>&1
  done
  for k in dump scene scene2 bmp small.bmp; do
    cmp -s "$out/old/$n.$k" "$out/new/$n.$k" || { echo "DIFFERS: $n.$k"; status=1; }
  done
done
echo "compared $(ls "$out/new" | wc -l) outputs"
exit $status
