#!/usr/bin/env bash
# Compares the pictures of every sample between two builds of the viewer, with a tolerance:
#   tools/compare-pictures.sh OLD-VIEWER NEW-VIEWER [SCRATCH]
# Each sample is exported at the design size and zoomed in four times (the same view on four times
# the pixels), without anti-aliasing where a build offers the choice; a picture may have at most
# 1 % of its pixels off by more than 24 levels in a channel. Exit 1 when one has more.
old=$1 new=$2 out=${3:-/tmp/compare-pictures}
here=$(dirname "$0")
samples=$here/../samples
compare=${COMPARE_PICTURES:-$here/../build/tools/compare-pictures}
rm -rf "$out"; mkdir -p "$out"
flags() { "$1" --help 2>/dev/null | grep -q -- --no-antialias && echo --no-antialias; }
oldFlags=$(flags "$old") newFlags=$(flags "$new")
status=0
for f in "$samples"/*.mnf "$samples"/*.mvf; do
  [ -f "$f" ] || continue
  n=$(basename "$f")
  for size in 548x710 2192x2840; do
    "$old" --export "$out/$n.$size.old.png" --size $size $oldFlags --yes "$f" > /dev/null 2>&1
    "$new" --export "$out/$n.$size.new.png" --size $size $newFlags --yes "$f" > /dev/null 2>&1
    result=$("$compare" "$out/$n.$size.old.png" "$out/$n.$size.new.png" 24 1 "$out/$n.$size.diff.png") || status=1
    echo "$n $size: $result"
  done
done
exit $status
