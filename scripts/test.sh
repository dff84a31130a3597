#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test headless:
#   1. the Debian package, built from the default build and checked as installed;
#   2. the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. each fuzz target (numeric core, batch reader) for a bounded time (ZELM_FUZZ_SECONDS, 30);
#   4. the whole suite of the default build, last, so that its summary closes the log.
# A failing stage does not hide the others: every stage runs, and the script fails at the
# end naming each stage that failed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

failed=()

cmake --preset default
cmake --build --preset default

echo "== package" >&2
rm -f build/package/zelm_*.deb
cpack --preset default
packaging/check-deb.sh build/package/zelm_1.0.1_amd64.deb build/default/bench/zelm_mapwait ||
  failed+=(package)

echo "== sanitizers" >&2
cmake --preset asan
cmake --build --preset asan
ctest --preset asan || failed+=(sanitizers)

echo "== fuzzing" >&2
cmake --preset fuzz -DZELM_FUZZ_SECONDS="${ZELM_FUZZ_SECONDS:-30}"
cmake --build --preset fuzz
ctest --preset fuzz || failed+=(fuzzing)

echo "== tests" >&2
ctest --preset default || failed+=(tests)

if ((${#failed[@]})); then
  echo "test.sh: failed: ${failed[*]}" >&2
  exit 1
fi
