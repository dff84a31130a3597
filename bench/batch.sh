#!/usr/bin/env bash
# Batch benchmark of zelm-calc against mawk, what a user would write instead, on the same
# generated table of W, B, H, Q, L, k, K (a "," table with decimal points, which mawk
# reads too). mawk evaluates the formula in the same grouping and writes it with
# printf "%.3f". The two run alternately, so that any drift of the machine hits both
# alike; for each the medians of wall time and peak resident memory are reported, with
# rows per second and the ratio of the speeds. Then the peak memory of zelm-calc on four
# inputs no table should be: a 160 MB stream with a stray quote in its second row, one
# 100 MB line of separators, a 100 MB file with bare CR line ends, and a header of 16384
# columns over 100,000 rows of one cell, each written back 16 KB wide.
#     bench/batch.sh [RUNS [ROWS]]     (default 5 runs of each over 1000000 rows)
# Builds the "default" preset's zelm-calc first; BUILD_DIR chooses another build tree.
# Needs mawk and GNU time (scripts/setup.sh installs them).
set -euo pipefail
build=$(realpath -m "${BUILD_DIR:-$(dirname "$0")/../build/default}")
cd "$(dirname "$0")/.."

runs=${1:-5}
rows=${2:-1000000}
if [ -z "${BUILD_DIR:-}" ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target zelm-calc >/dev/null
fi
calc=$build/cli/zelm-calc

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Values across the ranges an engineer meets, the coefficients from the window's lists;
# the same table on every run (fixed seed).
mawk -v rows="$rows" 'BEGIN {
  srand(20261207)
  split("0.50 0.75", ks, " "); split("1.50 1.25 1.00 0.80 0.50 0.35", Ks, " ")
  print "W,B,H,Q,L,k,K"
  for (i = 0; i < rows; i++)
    printf "%d,%.1f,%.2f,%.1f,%d,%s,%s\n", 1000 + int(rand() * 1e8), 10 + rand() * 490,
           0.5 + rand() * 40, rand() * 100, int(rand() * 20000), ks[1 + int(rand() * 2)],
           Ks[1 + int(rand() * 6)]
}' >"$work/table.csv"

# Same grouping as the core: N = P*((B*W)*k), D = (((P*(k*B))*L)*K)+W, R = N/D + Q.
awk_program='NR == 1 { print $0 ",R"; next }
{ p = $3 ^ 1.5; printf "%s,%.3f\n", $0, (p * (($2 * $1) * $6)) / ((((p * ($6 * $2)) * $5) * $7) + $1) + $4 }'

measure() { # name, output file, command...
  local name=$1 out=$2
  shift 2
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$out"
  cat "$work/time" >>"$work/$name"
}

# One run of each, not counted, fills the file cache.
measure warmup "$work/calc.csv" "$calc" --batch "$work/table.csv"
measure warmup "$work/mawk.csv" mawk -F, "$awk_program" "$work/table.csv"
for ((i = 0; i < runs; i++)); do
  if ((i % 2)); then
    measure mawk "$work/mawk.csv" mawk -F, "$awk_program" "$work/table.csv"
    measure calc "$work/calc.csv" "$calc" --batch "$work/table.csv"
  else
    measure calc "$work/calc.csv" "$calc" --batch "$work/table.csv"
    measure mawk "$work/mawk.csv" mawk -F, "$awk_program" "$work/table.csv"
  fi
done

# The results themselves: zelm-calc rounds the fifteen-digit value half away from zero,
# printf the binary value half to even, so a few thousandths may differ.
differing=$(paste -d, <(cut -d, -f8 "$work/calc.csv") <(cut -d, -f8 "$work/mawk.csv") |
  mawk -F, 'NR > 1 && $1 != $2 { n++ } END { print n + 0 }')

median() { # file, column
  cut -d' ' -f"$2" "$1" | sort -g | mawk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

mawk -v runs="$runs" -v rows="$rows" -v bytes="$(stat -c %s "$work/table.csv")" \
    -v cs="$(median "$work/calc" 1)" -v ck="$(median "$work/calc" 2)" \
    -v ms="$(median "$work/mawk" 1)" -v mk="$(median "$work/mawk" 2)" -v differing="$differing" 'BEGIN {
  printf "Medians of %d alternating runs each over %d rows (%.1f MiB)\n\n", runs, rows, bytes / 1048576
  row = "| %-22s | %8s | %12s | %16s |\n"
  printf row, "program", "time, s", "rows/s", "peak memory, MiB"
  printf "|------------------------|---------:|-------------:|-----------------:|\n"
  printf row, "zelm-calc --batch", sprintf("%.2f", cs), sprintf("%.0f", rows / cs), sprintf("%.1f", ck / 1024)
  printf row, "mawk, printf \"%.3f\"", sprintf("%.2f", ms), sprintf("%.0f", rows / ms), sprintf("%.1f", mk / 1024)
  # The label is written out: awk pads by bytes, and "÷" takes two.
  printf "| zelm-calc ÷ mawk       | %8.2f | %12.2f | %16.2f |\n", cs / ms, ms / cs, ck / mk
  printf "\nresults that differ in the last digit: %d of %d\n", differing, rows
  printf "goal (zelm-calc at least as fast as mawk): %s\n", cs <= ms ? "met" : "not met"
}'

# The four inputs: all but the bare CR file through a pipe, as endless streams come.
stray_quote() {
  mawk 'BEGIN { print "W;B;H;Q"; print "1000000;100;16;10"; print "1000000;100;16;\"10"
                for (i = 0; i < 8900000; i++) print "1000000;100;16;10" }'
}
separators() {
  mawk 'BEGIN { s = ";"; while (length(s) < 1048576) s = s s
                for (i = 0; i < 100; i++) printf "%s", s; print "" }'
}
wide_header() {
  mawk 'BEGIN { h = "W;B;H;Q"; for (i = 4; i < 16384; i++) h = h ";x"; print h
                for (i = 0; i < 100000; i++) print "1" }'
}
mawk 'BEGIN { ORS = "\r"; print "W;B;H;Q"; for (i = 0; i < 5550000; i++) print "1000000;100;16;10" }' \
  >"$work/bare_cr.csv"
hostile() { # name, then the command that runs zelm-calc
  local name=$1 status=0 kib
  shift
  "$@" >/dev/null 2>"$work/err" || status=$?
  kib=$(tail -n 1 "$work/time" | cut -d' ' -f2) # after any "Command exited" line
  echo "$kib" >>"$work/peaks"
  printf '| %-33s | %16s | %4d | %s |\n' "$name" "$(mawk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }')" \
    "$status" "$(head -n 1 "$work/err" | sed 's/^zelm-calc: //')"
}
peak() { /usr/bin/time -f "%e %M" -o "$work/time" "$calc" --batch "$@"; }
# The writer of a stream the reader leaves is ended by its broken pipe, not this script.
piped() { "$1" | peak; }
: >"$work/peaks"
printf '\n| %-33s | %16s | %4s | %s |\n' "input" "peak memory, MiB" "exit" "message"
printf '|-----------------------------------|-----------------:|-----:|---------|\n'
set +o pipefail
hostile "160 MB, a stray quote in row 2" piped stray_quote
hostile "one 100 MB line of ;" piped separators
hostile "100 MB file, bare CR line ends" peak "$work/bare_cr.csv"
hostile "16384 columns, 100000 short rows" piped wide_header
set -o pipefail
mawk '{ if ($1 > max) max = $1 } END {
  printf "goal (peak under 64 MiB on each): %s (largest %.1f MiB)\n", max < 65536 ? "met" : "not met", max / 1024 }' \
  "$work/peaks"
