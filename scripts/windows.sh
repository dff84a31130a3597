#!/usr/bin/env bash
# The Windows build, cross-built here and tested under Wine:
#   1. Qt for Windows, static, built once from Debian's qt6-base source and kept in a
#      cache folder named by its version and options (scripts/windows-qt.sh);
#   2. zelm.exe and zelm-calc.exe with the `windows` preset, each one file that needs no
#      DLL beyond Windows' own;
#   3. build/package/zelm-VERSION-win64.zip, VERSION read from the build: both programs,
#      README.txt and the licences;
#   4. every test under Wine, last, so that its CTest summary closes the log.
# As in test.sh, a failing stage is recorded and the tests still run on what was built.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows

failed=()
ZELM_WINDOWS_QT=$(scripts/windows-qt.sh) || failed+=(qt)
export ZELM_WINDOWS_QT
build() {
  # A build folder configured against another Qt (its options changed) starts afresh.
  local fresh=()
  if [ -e build/windows/CMakeCache.txt ] &&
    ! grep -qsF "$ZELM_WINDOWS_QT/" build/windows/CMakeFiles/*/CMakeSystem.cmake; then
    fresh=(--fresh)
  fi
  cmake --preset windows "${fresh[@]}" && cmake --build --preset windows
}
package() {
  packaging/windows/pack.sh build/windows "$ZELM_WINDOWS_QT" \
    "build/package/zelm-$(cat build/windows/version.txt)-win64.zip"
}
if ((${#failed[@]} == 0)); then
  for name in build package; do
    echo "== windows: $name" >&2
    "$name" || failed+=("$name")
  done
fi
if ((${#failed[@]})); then
  echo "windows.sh: failed: ${failed[*]}; the tests run on what was built" >&2
fi
echo "== windows: tests" >&2
ctest --preset windows || failed+=(tests)

((${#failed[@]} == 0))
