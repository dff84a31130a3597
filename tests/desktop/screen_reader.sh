#!/usr/bin/env bash
# What a screen reader is told by the real program: its accessibility on, on a session
# bus of its own, under a real X server, read over AT-SPI (screen_reader.py).
# Usage: screen_reader.sh <path to zelm> [listener, screen_reader.py unless named]
set -euo pipefail
zelm=$1
listener=${2:-screen_reader.py}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid=
trap 'kill "$xvfb_pid" 2>/dev/null || true; pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT
source "$here/../../scripts/xvfb.sh"
# No key repeat: a key xdotool is slow to release on a loaded machine would type twice.
start_xvfb "$work" -r

# The bus lives as long as the inner script; zelm and the reader meet on its a11y bus.
dbus-run-session -- bash -c '
    /usr/bin/python3 "$3/$4" "$2/ready" "$2/pid" 2>&3 &
    reader=$!
    for _ in $(seq 100); do [ -e "$2/ready" ] && break; sleep 0.1; done
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" >"$2/zelm.log" 2>&1 &
    pid=$!
    timeout 10 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
    echo "$pid" >"$2/pid.new" && mv "$2/pid.new" "$2/pid"
    wait "$reader"
    status=$?
    kill "$pid" 2>/dev/null || true
    exit "$status"
' bash "$zelm" "$work" "$here" "$listener" 3>&2 2>"$work/bus.log"
