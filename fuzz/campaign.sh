#!/usr/bin/env bash
# A fuzzing campaign: every target of the sanitizer build in turn for SECONDS each, over its corpus.
# What a target found new is merged into fuzz/corpus/<name>/ (only inputs that add coverage, so the
# corpus stays small), and one line a target is appended to fuzz/README.md: inputs run, coverage,
# findings. A finding (a crash, a leak, a timeout, too much memory) is kept in fuzz/findings/ and makes
# the campaign exit non-zero.
#   fuzz/campaign.sh SECONDS [BUILD-FOLDER]   (default build-asan, configured with -DQV_FUZZ=ON)
# RUNS=N ends a target after N inputs if that comes first; TARGETS="load tagged" runs only those.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: fuzz/campaign.sh SECONDS [BUILD-FOLDER]}
build=${2:-build-asan}
status=0
mkdir -p fuzz/findings
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  if [ -n "${TARGETS:-}" ] && [[ " $TARGETS " != *" $name "* ]]; then continue; fi
  dict=fuzz/dict/$name.dict; [ "$name" = load ] && dict=fuzz/dict/tagged.dict
  work=$(mktemp -d)
  log=$(mktemp)
  started=$(date +%s)
  "$target" -max_total_time="$seconds" -runs="${RUNS:--1}" -rss_limit_mb=1024 -timeout=10 -max_len=16384 -dict="$dict" \
    -artifact_prefix=fuzz/findings/"$name"- -print_final_stats=1 "$work" fuzz/corpus/"$name" >"$log" 2>&1
  result=$?
  elapsed=$(( $(date +%s) - started ))
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  cover=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  findings=$(ls fuzz/findings/"$name"-* 2>/dev/null | wc -l)
  [ "$result" -ne 0 ] && status=1
  # The checked-in corpus becomes the smallest set found that reaches every edge that the old one and
  # this campaign's inputs reach (edges only, not how often: a corpus small enough for the
  # repository), beside the document writer's seeds (the files with names of their own).
  minimal=$(mktemp -d)
  if "$target" -set_cover_merge=1 -use_counters=0 -max_len=16384 "$minimal" fuzz/corpus/"$name" "$work" >/dev/null 2>&1; then
    find fuzz/corpus/"$name" -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -delete
    cp -n "$minimal"/* fuzz/corpus/"$name"/ 2>/dev/null
  fi
  rm -rf "$minimal"
  printf '| %s | %s | %s s | %s | %s | %s |\n' "$(date -u +%Y-%m-%d)" "$name" "$elapsed" "${runs:-?}" "${cover:-?}" \
    "$findings" >> fuzz/README.md
  rm -rf "$work" "$log"
done
exit $status
