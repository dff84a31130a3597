#!/bin/bash
# The Word hand-off through COM, under Wine: a stand-in Word served in-process
# (zelm_fake_word.dll) is registered as "Word.Application" in a fresh private prefix and
# writes down every call that reaches it; the driver calls the hand-off as the program does.
#
#   word_automation.sh zelm_word_automation_driver.exe zelm_fake_word.dll
set -euo pipefail

driver=$(realpath "$1")
server=$(realpath "$2")
# shellcheck source=tests/windows/wine_prefix.sh
source "$(dirname "$0")/wine_prefix.sh"
start_wine_prefix

fake_word_registry "$("$wine" winepath -w "$server")" "$work"
registered=no
register() {
  [ "$1" = "$registered" ] && return
  "$wine" regedit /S "$work/$([ "$1" = yes ] && echo register || echo unregister).reg"
  registered=$1
}

# Runs the driver with ARGS and the stand-in's ENV, and compares what the driver printed
# (and its exit status) and what the stand-in wrote down with OUTPUT and LOG.
row() {
  local name=$1 registration=$2 args=$3 env=$4 output=$5 log=$6 actual rc=0
  register "$registration"
  rm -f "$work/log.txt"
  # shellcheck disable=SC2086 # ARGS and ENV are word lists
  actual=$(env ZELM_FAKE_WORD_LOG="$work/log.txt" $env "$wine" "$driver" $args | tr -d '\r') || rc=$?
  check "$name: driver" "$output|exit 0" "$actual"$'\n'"exit $rc"
  check "$name: Word's log" "$log" "$(cat "$work/log.txt" 2>/dev/null || true)"
}

# One hand-off into Word's document N, from Documents to letting go of the held document.
hand_off() {
  echo "get Documents|call Add Template=Canal.dot -> document $1|release document $1|release Documents|get ActiveDocument -> document $1|put Visible=true|release document $1"
}
start='create Application'
quit='release Application'
no_template='get Documents|call Add Template=Canal.dot -> template not found|release Documents|get ActiveDocument -> none|put Visible=true'

#   name                                     Word  driver   stand-in's environment              driver prints               stand-in's log
row "new Word, thread outside COM"           yes  "none 1" ""                                  "word|apartment kept"       "$start|$(hand_off 1)|$quit"
row "new Word, the window's thread"          yes  "sta 1"  ""                                  "word|apartment kept"       "$start|$(hand_off 1)|$quit"
row "new Word, multithreaded apartment"      yes  "mta 1"  ""                                  "word|apartment kept"       "$start|$(hand_off 1)|$quit"
# The second call attaches to the Word the first one started, which gets document 2.
row "running Word takes one more document"   yes  "sta 2"  ZELM_FAKE_WORD_RUNNING=1            "word|word|apartment kept"  "$start|$(hand_off 1)|$(hand_off 2)|$quit"
row "template missing, Word still shown"     yes  "none 1" ZELM_FAKE_WORD_TEMPLATE_MISSING=1   "word|apartment kept"       "$start|$no_template|$quit"
row "Word busy starting, asked again"        yes  "sta 1"  ZELM_FAKE_WORD_BUSY=3               "word|apartment kept"       "$start|busy|busy|busy|$(hand_off 1)|$quit"
# Stuck in a dialog of its own: the hand-off gives up after its ten seconds.
row "Word busy throughout, given up"         yes  "sta 1"  ZELM_FAKE_WORD_BUSY=always          "word|apartment kept"       "$start|busy from now on|$quit"
row "no Word, nothing happens"               no   "sta 1"  ""                                  "no word|apartment kept"    ""

[ "$failures" -eq 0 ]
