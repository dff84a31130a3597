#!/usr/bin/env bash
# Installs what is missing, builds, and starts Зельм.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zelm
exec build/default/app/zelm
