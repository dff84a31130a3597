#!/bin/bash
# zelm-calc on a console, under Wine: the driver runs on a terminal of its own (script),
# for which Wine keeps a console with a screen buffer, as cmd.exe's window has.
#
#   console.sh zelm_console_driver.exe zelm-calc.exe CASES-FOLDER
set -euo pipefail
wine=$(dirname "$0")/../../scripts/wine.sh
command=$(printf '%q ' "$wine" "$WINE_DIR" "$@")
script -qec "$command" /dev/null | tr -d '\r' | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g'
