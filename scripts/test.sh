#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test headless:
#   1. the default build;
#   2. the Debian package, built from the default build and checked as installed;
#   3. the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. each fuzz target (numeric core, batch reader) for a bounded time (ZELM_FUZZ_SECONDS, 30);
#   5. the whole suite of the default build, last, so that its summary closes the log.
# A failing stage does not hide the others: a failed configure, build or test is recorded
# and the next stage runs. The stages that failed are named just before the last one, so
# that the suite's summary stays the closing line, and the script then fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

failed=()

# Each stage chains its steps with &&, so it stops at its first failing step; the caller
# records the failure and goes on to the next stage.
build() {
  cmake --preset default && cmake --build --preset default
}
package() {
  rm -f build/package/zelm_*.deb &&
    cpack --preset default &&
    packaging/check-deb.sh "build/package/zelm_$(cat build/default/version.txt)_amd64.deb" \
      build/default/bench/zelm_mapwait build/default/version.txt
}
sanitizers() {
  cmake --preset asan && cmake --build --preset asan && ctest --preset asan
}
fuzzing() {
  cmake --preset fuzz -DZELM_FUZZ_SECONDS="${ZELM_FUZZ_SECONDS:-30}" &&
    cmake --build --preset fuzz &&
    ctest --preset fuzz
}
for name in build package sanitizers fuzzing; do
  echo "== $name" >&2
  "$name" || failed+=("$name")
done

if ((${#failed[@]})); then
  echo "test.sh: failed: ${failed[*]}; the default suite runs all the same" >&2
fi
echo "== tests" >&2
ctest --preset default || failed+=(tests)

((${#failed[@]} == 0))
