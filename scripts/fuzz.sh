#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each of them for a share of a fixed time. Fails on any finding: a crash, a sanitizer
# report, a hang, a memory blow-up or a broken promise (fuzz/checked_run.cpp).
#   scripts/fuzz.sh [--seconds N]      (N: total run time of all harnesses, default 60)
# Seeds: fuzz/seeds, examples/ and the inputs of tests/golden. Findings are written to
# build-fuzz/findings/; the corpus grows in build-fuzz/corpus/ across local runs.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift ;;
    *) echo "usage: $0 [--seconds N]" >&2; exit 2 ;;
  esac
  shift
done

scripts/setup.sh

build=build-fuzz
harnesses=(fuzz_syntax fuzz_expand fuzz_stereo fuzz_session fuzz_fast_paths)
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DBIVOX_WERROR=ON \
  -DBIVOX_BUILD_FUZZ=ON -DBIVOX_BUILD_TESTS=OFF -DBIVOX_BUILD_DIALOG=OFF >/dev/null
cmake --build "$build" --target "${harnesses[@]}"

# The seed corpus: hand-written seeds, the examples, and every golden case's input in cp932.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds" "$build/findings"
cp fuzz/seeds/*.zrb examples/*.zrb "$seeds/"
for case_file in tests/golden/*.case; do
  awk '/^=== /{inside = ($0 == "=== input"); next} inside' "$case_file" |
    iconv -f UTF-8 -t CP932 >"$seeds/golden-$(basename "$case_file" .case).zrb"
done

share=$((seconds / ${#harnesses[@]}))
[ "$share" -lt 1 ] && share=1
status=0
total_runs=0
for h in "${harnesses[@]}"; do
  corpus="$build/corpus/$h"
  mkdir -p "$corpus"
  log="$build/findings/$h.log"
  if "$build/fuzz/$h" "$corpus" "$seeds" -dict=fuzz/score.dict \
    -max_total_time="$share" -timeout=20 -rss_limit_mb=2560 -max_len=65536 \
    -artifact_prefix="$build/findings/$h-" -print_final_stats=1 >"$log" 2>&1; then
    result=ok
  else
    result=FINDING
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "fuzz: $h: ${share}s, ${runs:-0} executions: $result"
  total_runs=$((total_runs + ${runs:-0}))
  if [ "$result" != ok ]; then
    grep -E 'ERROR|broken promise|SUMMARY|Test unit written|timeout|out-of-memory' "$log" | head -20
  fi
done
echo "fuzz: $total_runs executions in all"
exit "$status"
