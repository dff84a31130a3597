#!/usr/bin/env bash
# Where the keyboard goes under Wine, on Xvfb with openbox, when a message box over a
# frameless tool window closes (docs/windows.md). Prints the focused window's name at
# start, in the box and after it, and the keys the window got.
#   tools/wine/focus_probe.sh [refocus|owned]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid=
trap 'kill $pid $wm $xvfb_pid 2>/dev/null || true; PATH=/usr/lib/wine:$PATH wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++-posix -std=c++23 -O2 -static -o "$work/probe.exe" "$here/focus_probe.cpp"
# shellcheck source=scripts/xvfb.sh
source "$here/../../scripts/xvfb.sh"
start_xvfb "$work"
openbox >/dev/null 2>&1 &
wm=$!
focus() { xdotool getwindowfocus getwindowname 2>/dev/null || echo "(none)"; }
export PATH=/usr/lib/wine:$PATH WINEPREFIX=$work/prefix WINEDEBUG=-all LANG=ru_RU.UTF-8 LC_ALL= LOCPATH=$work/locales
mkdir -p "$LOCPATH"
localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8"
wine64 wineboot --init >/dev/null 2>&1
wineserver --wait
wine64 "$work/probe.exe" "$@" >"$work/keys.txt" 2>&1 &
pid=$!
timeout 60 xdotool search --sync --onlyvisible --name '^Окно пробы$' >/dev/null
sleep 1
echo "at start: $(focus)"
xdotool key a d
sleep 2
echo "in the box: $(focus)"
xdotool key Return
sleep 4
echo "after the box: $(focus)"
xdotool key b q
sleep 1
echo "keys the window got: $(tr '\n' ' ' <"$work/keys.txt")"
