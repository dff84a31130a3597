#!/bin/bash
# Ending at once keeps the clipboard, under Wine: one process copies through OLE and ends
# at once, a second one pastes.
#
#   clipboard_flush.sh zelm_clipboard_flush_driver.exe
set -euo pipefail

driver=$(realpath "$1")
# shellcheck source=tests/windows/wine_prefix.sh
source "$(dirname "$0")/wine_prefix.sh"
start_wine_prefix

#   name                                copied     at the end pasted afterwards
rows=(
  "flushed: the copy survives          | 1240.769 | flush    | 1240.769"
  "a later copy replaces it            | 36.5     | flush    | 36.5"
  # Without the flush the copy goes with the process; this row shows the check can tell.
  "not flushed: the copy is lost       | 1240.769 | no-flush | (empty)"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name text mode pasted <<<"$row"
  read -r name <<<"$name"; read -r text <<<"$text"; read -r mode <<<"$mode"; read -r pasted <<<"$pasted"
  rc=0
  "$wine" "$driver" copy "$text" "$mode" || rc=$?
  actual=$("$wine" "$driver" paste | tr -d '\r') || rc=$?
  check "$name" "$pasted|exit 0" "$actual"$'\n'"exit $rc"
done

[ "$failures" -eq 0 ]
