#!/usr/bin/env bash
# The real program under a real X server, driven with real key presses: the ways out of
# the program end the process, and Ctrl+S writes the report byte for byte.
# Usage: real_window.sh <path to zelm>
set -euo pipefail
zelm=$1
work=$(mktemp -d)
xvfb_pid=
trap 'kill "$xvfb_pid" 2>/dev/null || true; pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT

# A display of our own.
source "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the program and waits for its window. There is no window manager here to give a
# new window the keyboard focus, so the script gives it, as a desktop would.
start() {
    "$zelm" >"$work/zelm.log" 2>&1 &
    pid=$!
    main=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) ||
        fail "no window appeared"
    focus_on "$main"
}
focus_on() {
    xdotool windowfocus "$1"
    sleep 0.3
}
# The newest window of the program other than the main one (a dialog or message box).
wait_dialog() {
    for _ in $(seq 50); do
        local w
        w=$(xdotool search --onlyvisible --pid "$pid" | grep -vx "$main" | tail -n 1 || true)
        if [ -n "$w" ]; then focus_on "$w"; return; fi
        sleep 0.1
    done
    fail "no dialog appeared"
}
expect_end() {
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" || fail "exit status $?"; return; }
        sleep 0.1
    done
    fail "the program did not end: $1"
}
expect_running() {
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || fail "the program ended: $1"
}

echo "F9 closes the window and ends the program without a question"
start
xdotool key F9
expect_end "F9"

echo "Esc asks; No keeps the window; Esc, Yes ends at once"
start
xdotool key Escape
wait_dialog
xdotool key Escape # the box's No
focus_on "$main"
expect_running "after No"
xdotool key Escape
wait_dialog
xdotool key Return # the box's default button, Да
expect_end "after Yes"

echo "Ctrl+S, a typed file name and Enter write the report"
start
xdotool key Tab # from the result field to the volume
xdotool type --delay 20 "1000000"
xdotool key ctrl+s
wait_dialog
xdotool type --delay 20 "$work/report.txt"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/report.txt" ] && break; sleep 0.1; done
expected="d0e0f1f5eee420e2eee4fb20eef220e7e5ebfcece020efebeef2e8edfb20e4ebff20f1f2e2eef0e0"
expected+="20202020202020202020202020202020202020""0d0a0d0a"
expected+="31303030303030""cee1fab8ec20e2eee42df9e0202857292c20ec2eeaf3e1""0d0a"
actual=$(od -An -tx1 -v "$work/report.txt" | tr -d ' \n')
[ "$actual" = "$expected" ] || fail "report bytes: $actual"
focus_on "$main"
xdotool key F9
expect_end "F9 after saving"

echo "all passed"
