#!/usr/bin/env bash
# The Windows build, cross-built here and tested under Wine:
#   1. zelm-calc.exe, cross-built with the `windows` preset (one file, Windows' own DLLs);
#   2. its tests and the core's under Wine, whose CTest summary closes the log.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows

cmake --preset windows
cmake --build --preset windows
ctest --preset windows
