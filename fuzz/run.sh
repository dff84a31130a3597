#!/usr/bin/env bash
# Runs the fuzz targets for as long as one asks:
#     fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]     (default: 600 s; number_text discharge batch)
# Builds the "fuzz" preset first. Inputs found to widen coverage are kept in
# build/fuzz/fuzz/found/<target> and reused by the next run; a failing input is written
# to build/fuzz/fuzz/crash-<target>-* and the run stops with its report.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(number_text discharge batch)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
out=build/fuzz/fuzz
for target in "${targets[@]}"; do
  max_len=4096
  [ "$target" = discharge ] && max_len=56
  mkdir -p "$out/found/$target"
  echo "fuzz: $target for $seconds s" >&2
  "$out/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$out/crash-$target-" \
    "$out/found/$target" "fuzz/corpus/$target"
done
