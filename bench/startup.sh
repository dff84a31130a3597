#!/usr/bin/env bash
# Start-up benchmark of zelm against a bare Qt 6 Widgets window built in the same tree
# (bench/floor: the floor the toolkit sets), both under one Xvfb, alternating, so that any
# drift of the machine hits both alike. For each it takes the medians of
# - the time from exec to the first window being mapped,
# - the time from exec to the first complete frame: the last drawing into the window that
#   the X DAMAGE extension reports within 300 ms of the map,
# - the peak resident memory (VmHWM, read 300 ms after the map),
# - the CPU time, summed over threads (little disturbed by other load), spent by the end
#   of the settle time: the whole start-up to the first complete frame, since both
#   programs are idle once their window is drawn,
# and, since each round runs both programs back to back, the median and quartiles of the
# rounds' own zelm ÷ floor ratios, which other load on the machine disturbs less.
#     bench/startup.sh [RUNS]          (default 15 rounds)
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

# A run that fails (a program that shows no window in time on a busy machine) is tried
# again, twice at most, so that one hiccup does not lose the whole measurement.
measure() { # program, output file
  local attempt
  for attempt in 1 2 3; do
    "$mapwait" --timeout 30 --settle 300 -- "$1" >>"$2" 2>>"$work/programs.log" && return
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "startup: Xvfb stopped under the run" >&2; exit 1; }
    echo "startup: $(basename "$1") failed (attempt $attempt): $(tail -n 1 "$work/programs.log")" >&2
  done
  echo "startup: $1 showed no complete window three times" >&2
  cat "$work/programs.log" "$work/xvfb.log" >&2
  exit 1
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
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
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# Columns of mapwait: ms to map, peak kB, CPU ms by the map, ms to the first frame, CPU
# ms by the end of the settle time. Each line of the joined file is one round: the
# floor's five figures, then zelm's.
paste -d' ' "$work/floor" "$work/zelm" | awk -v runs="$runs" -v before="$load_before" \
    -v after="$load_after" -v cores="$(nproc)" '
# Sorts a[1..n] into s; the median and quartiles are read from s.
function sorted(a, n, s,   i, j, t) {
  for (i = 1; i <= n; i++) s[i] = a[i]
  for (i = 2; i <= n; i++) for (j = i; j > 1 && s[j - 1] > s[j]; j--) { t = s[j]; s[j] = s[j - 1]; s[j - 1] = t }
}
function median(s, n) { return (n % 2) ? s[(n + 1) / 2] : (s[n / 2] + s[n / 2 + 1]) / 2 }
function quartile(s, n, q) { return s[int(q * (n - 1) + 0.5) + 1] }
{
  n++
  for (c = 1; c <= 5; c++) { f[c, n] = $c; z[c, n] = $(c + 5) }
}
END {
  # Columns in the order shown: map, first frame, memory, start-up CPU.
  split("1 4 2 5", col, " ")
  for (k = 1; k <= 4; k++) {
    c = col[k]
    for (i = 1; i <= n; i++) { fa[i] = f[c, i]; za[i] = z[c, i]; ra[i] = z[c, i] / f[c, i] }
    sorted(fa, n, fs); sorted(za, n, zs); sorted(ra, n, rs)
    fm[k] = median(fs, n); zm[k] = median(zs, n)
    rm[k] = median(rs, n); rlo[k] = quartile(rs, n, 0.25); rhi[k] = quartile(rs, n, 0.75)
    # How noisy the run was: the floor spread, its quartile range over its median.
    spread[k] = (quartile(fs, n, 0.75) - quartile(fs, n, 0.25)) / fm[k]
  }
  printf "Medians of %d alternating rounds under one Xvfb (load average %s before, %s after, %d cores)\n\n", \
    n, before, after, cores
  row = "| %-22s | %16s | %18s | %16s | %16s |\n"
  printf row, "program", "to first map, ms", "to first frame, ms", "peak memory, MiB", "start-up CPU, ms"
  printf "|------------------------|-----------------:|-------------------:|-----------------:|-----------------:|\n"
  printf row, "zelm_floor (bare Qt)", sprintf("%.1f", fm[1]), sprintf("%.1f", fm[2]), \
    sprintf("%.1f", fm[3] / 1024), sprintf("%.1f", fm[4])
  printf row, "zelm", sprintf("%.1f", zm[1]), sprintf("%.1f", zm[2]), sprintf("%.1f", zm[3] / 1024), \
    sprintf("%.1f", zm[4])
  # The labels are written out: awk pads by bytes, and "÷" takes two.
  printf "| zelm ÷ floor, medians  | %16.2f | %18.2f | %16.2f | %16.2f |\n", \
    zm[1] / fm[1], zm[2] / fm[2], zm[3] / fm[3], zm[4] / fm[4]
  printf "| zelm ÷ floor, rounds   | %16s | %18s | %16s | %16s |\n", \
    sprintf("%.2f (%.2f-%.2f)", rm[1], rlo[1], rhi[1]), sprintf("%.2f (%.2f-%.2f)", rm[2], rlo[2], rhi[2]), \
    sprintf("%.2f (%.2f-%.2f)", rm[3], rlo[3], rhi[3]), sprintf("%.2f (%.2f-%.2f)", rm[4], rlo[4], rhi[4])
  printf "\nRounds: median of the per-round ratios (quartiles). Floor spread (quartile range ÷ median):"
  printf " map %.0f %%, frame %.0f %%, CPU %.0f %%.\n", 100 * spread[1], 100 * spread[2], 100 * spread[4]
  ok = (zm[1] / fm[1] <= 1.10 && zm[2] / fm[2] <= 1.10 && zm[3] / fm[3] <= 1.10)
  printf "goal (map, first frame and peak memory within 1.10 of the floor): %s\n", ok ? "met" : "not met"
}'
