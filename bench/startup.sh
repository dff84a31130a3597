#!/usr/bin/env bash
# Start-up benchmark of zelm against a bare Qt 6 Widgets window built in the same tree
# (bench/floor: the floor the toolkit sets), both under one Xvfb, alternating, so that any
# drift of the machine hits both alike. For each it takes the medians of
# - the time from exec to the first window being mapped,
# - the peak resident memory (VmHWM, read 300 ms after the map),
# - the CPU time spent before the map, summed over threads (little disturbed by other load).
#     bench/startup.sh [RUNS]          (default 15 runs of each)
# Builds the "default" preset's zelm, zelm_floor and zelm_mapwait first; BUILD_DIR
# chooses another build tree that has them.
set -euo pipefail
build=$(realpath -m "${BUILD_DIR:-$(dirname "$0")/../build/default}")
cd "$(dirname "$0")/.."

runs=${1:-15}
if [ -z "${BUILD_DIR:-}" ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target zelm zelm_floor zelm_mapwait >/dev/null
fi
zelm=$build/app/zelm
floor=$build/bench/zelm_floor
mapwait=$build/bench/zelm_mapwait

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source scripts/xvfb.sh
start_xvfb "$work"

measure() { # program, output file
  "$mapwait" --timeout 30 --settle 300 -- "$1" >>"$2" 2>>"$work/programs.log" && return
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "startup: Xvfb stopped under the run" >&2; exit 1; }
  echo "startup: $1 showed no window" >&2
  cat "$work/programs.log" "$work/xvfb.log" >&2
  exit 1
}

# One run of each, not counted, fills the file cache.
measure "$floor" "$work/warmup"
measure "$zelm" "$work/warmup"
for ((i = 0; i < runs; i++)); do
  if ((i % 2)); then
    measure "$zelm" "$work/zelm"; measure "$floor" "$work/floor"
  else
    measure "$floor" "$work/floor"; measure "$zelm" "$work/zelm"
  fi
done

median() { # file, column
  cut -d' ' -f"$2" "$1" | sort -g | awk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

floor_ms=$(median "$work/floor" 1); zelm_ms=$(median "$work/zelm" 1)
floor_kb=$(median "$work/floor" 2); zelm_kb=$(median "$work/zelm" 2)
floor_cpu=$(median "$work/floor" 3); zelm_cpu=$(median "$work/zelm" 3)
awk -v runs="$runs" -v fm="$floor_ms" -v zm="$zelm_ms" -v fk="$floor_kb" -v zk="$zelm_kb" \
    -v fc="$floor_cpu" -v zc="$zelm_cpu" 'BEGIN {
  printf "Medians of %d alternating runs each under one Xvfb\n\n", runs
  row = "| %-20s | %16s | %16s | %16s |\n"
  printf row, "program", "to first map, ms", "peak memory, MiB", "CPU by map, ms"
  printf "|----------------------|-----------------:|-----------------:|-----------------:|\n"
  printf row, "zelm_floor (bare Qt)", sprintf("%.1f", fm), sprintf("%.1f", fk / 1024), sprintf("%.1f", fc)
  printf row, "zelm", sprintf("%.1f", zm), sprintf("%.1f", zk / 1024), sprintf("%.1f", zc)
  # The label is written out: awk pads by bytes, and "÷" takes two.
  printf "| zelm ÷ floor         | %16.2f | %16.2f | %16.2f |\n", zm / fm, zk / fk, zc / fc
  ok = (zm / fm <= 1.10 && zk / fk <= 1.10)
  printf "\ngoal (start-up and peak memory within 1.10 of the floor): %s\n", ok ? "met" : "not met"
}'
