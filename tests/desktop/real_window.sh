#!/usr/bin/env bash
# The real program under a real X server, driven with real key presses: the ways out of
# the program end the process, Ctrl+S writes the report byte for byte, and the window
# takes the keyboard focus itself, with no window manager and under several.
# Usage: real_window.sh <path to zelm> <path to zelm_clipboard_manager>
set -euo pipefail
zelm=$1
clipboard_manager=$2
work=$(mktemp -d)
xvfb_pid=
trap 'kill "$xvfb_pid" 2>/dev/null || true; pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT

# A display of our own, whose keys repeat only when held for 2 s: a key xdotool is slow to
# release on a loaded machine types once, and the held keys below still repeat.
source "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb "$work" -ardelay 2000

fail() { echo "FAIL: $*" >&2; exit 1; }

# Nobody gives a window the keyboard focus here: the program takes it itself, under a
# window manager or none. "$desktop" names the window manager in the messages.
desktop="no window manager"
wait_focus() {
    local focused=
    for _ in $(seq 50); do
        focused=$(xdotool getwindowfocus 2>/dev/null || true)
        [ "$focused" = "$1" ] && { sleep 0.2; return; }
        sleep 0.1
    done
    [ -n "$focused" ] && focused+=" $(xprop -id "$focused" WM_CLASS 2>/dev/null | sed 's/.*= //')"
    fail "$2 ($desktop): the keyboard focus is on ${focused:-nothing}, not on $1"
}
# Starts the program and waits for its window to have the keyboard focus. The window
# shows once the program has started and a window manager has mapped it, which a loaded
# machine may make slow: the wait ends when it shows or the program ends, not at a time.
start() {
    "$zelm" >"$work/zelm.log" 2>&1 &
    pid=$!
    main=
    until main=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) && [ -n "$main" ]; do
        kill -0 "$pid" 2>/dev/null || fail "no window appeared: the program ended ($(cat "$work/zelm.log"))"
        sleep 0.1
    done
    wait_focus "$main" "main window at start"
}
# The newest window of the program other than the main one (a dialog or message box),
# once it has the focus.
wait_dialog() {
    for _ in $(seq 50); do
        local w
        w=$(xdotool search --onlyvisible --pid "$pid" | grep -vx "$main" | tail -n 1 || true)
        if [ -n "$w" ]; then wait_focus "$w" "a dialog as it shows"; return; fi
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
wait_focus "$main" "main window after a dialog"
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
wait_focus "$main" "main window after a dialog"
xdotool key F9
expect_end "F9 after saving"

# --- Long numbers, held keys and the clipboard ----------------------------------------

# Ctrl+S in the window with the focus, the file name typed into the dialog; prints the
# volume the report holds: line 3 without its caption, as UTF-8.
report_volume() {
    local file=$work/volume-$RANDOM.txt
    xdotool key ctrl+s
    wait_dialog
    xdotool type --delay 20 "$file"
    xdotool key Return
    for _ in $(seq 50); do [ -s "$file" ] && break; sleep 0.1; done
    wait_focus "$main" "main window after a dialog"
    iconv -f CP1251 -t UTF-8 "$file" | sed -n 3p | tr -d '\r' | sed 's/Объём вод-ща (W), м.куб$//'
}
# Types the worked example with the given inflow and computes with Enter.
compute_with_inflow() {
    xdotool key Tab
    for figure in 1000000 100 16 "$1"; do
        xdotool type --delay 20 "$figure"
        xdotool key Tab
    done
    xdotool key shift+Tab Return
}

echo "Text1 shows the first digits of a long result (Russian locale: 1001240,769)"
# Qt takes the decimal comma from LANG itself; no system locale needs to be built.
LANG=ru_RU.UTF-8 LC_ALL= start
compute_with_inflow 1000010
# A click at the left edge of Text1 puts the cursor before the first character shown;
# Shift+End and Ctrl+C copy from there, and the copy goes into W and the report.
height=$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p')
menu_bar=$((height - 342)) # the client area is 342 pixels high
xdotool mousemove --window "$main" $((248 + 4)) $((menu_bar + 72 + 12)) click 1
xdotool key shift+End ctrl+c Tab ctrl+v
shown=$(report_volume)
[ "$shown" = "1001240,769" ] || fail "Text1 showed from «$shown», not from its first digit"
xdotool key F9
expect_end "F9 after the long result"

echo "Holding Enter on «Выход» for 3 s leaves the question open"
start
for _ in $(seq 9); do xdotool key Tab; done # from the result field to «Выход»
xdotool keydown Return
sleep 3
xdotool keyup Return
expect_running "a held Enter answered the exit question"
wait_dialog
xdotool key Escape # the box's No
wait_focus "$main" "main window after a dialog"
xdotool key F9
expect_end "F9 after the held Enter"

echo "Holding Ctrl+P for 3 s starts the word processor once"
mkdir -p "$work/bin"
printf '#!/bin/sh\necho started >>"%s"\n' "$work/word-starts" >"$work/bin/soffice"
chmod +x "$work/bin/soffice"
PATH="$work/bin:$PATH" start
xdotool keydown ctrl+p
sleep 3
xdotool keyup ctrl+p
expect_running "after the held Ctrl+P"
starts=$(wc -l <"$work/word-starts" 2>/dev/null || echo 0)
[ "$starts" -eq 1 ] || fail "a held Ctrl+P started the word processor $starts times"
xdotool key F9
expect_end "F9 after the held Ctrl+P"

echo "A result copied from Text1 can be pasted after Выход → Да (clipboard manager running)"
# The manager keeps nothing unless the program hands the clipboard over as it ends.
"$clipboard_manager" >"$work/clipboard-manager.log" 2>&1 &
for _ in $(seq 50); do grep -qx ready "$work/clipboard-manager.log" && break; sleep 0.1; done
grep -qx ready "$work/clipboard-manager.log" || fail "no clipboard manager"
start
compute_with_inflow 10
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab # back to Text1, its text selected
xdotool key ctrl+c Escape
wait_dialog
xdotool key Return # Да: the program ends at once
expect_end "after Yes"
start
xdotool key Tab ctrl+v
pasted=$(report_volume)
[ "$pasted" = "1240.769" ] || fail "after the end, the clipboard held «$pasted»"
grep -qx "unoffered target refused" "$work/clipboard-manager.log" ||
  fail "a target the program does not offer was not refused: $(tr "\n" "/" <"$work/clipboard-manager.log")"
xdotool key F9
expect_end "F9 after the paste"

# --- Under window managers ------------------------------------------------------------

# Starts a window manager and waits until it manages the screen. mutter, KWin and
# metacity want a session bus of their own.
start_wm() {
    local command
    case $1 in
        openbox) command=(openbox --sm-disable) ;;
        metacity) command=(dbus-run-session -- metacity) ;;
        mutter) command=(dbus-run-session -- mutter --x11) ;;
        kwin) command=(dbus-run-session -- kwin_x11) ;;
        xfwm4) command=(xfwm4 --sm-client-disable) ;;
        icewm) command=(icewm) ;;
        fluxbox) command=(fluxbox) ;;
        *) fail "no window manager called $1" ;;
    esac
    "${command[@]}" >"$work/$1.log" 2>&1 &
    wm=$!
    desktop=$1
    for _ in $(seq 100); do
        wm_running && return
        sleep 0.1
    done
    fail "$1 did not start: $(cat "$work/$1.log")"
}
# A window manager names its own window on the root; the name outlives a manager that
# has gone, the window does not.
wm_running() {
    local check
    check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
    [ -n "$check" ] && xwininfo -id "$check" >/dev/null 2>&1
}
# Ends the window manager and whatever it started (dbus-run-session's bus and child).
stop_wm() {
    pkill -P "$wm" 2>/dev/null || true
    kill "$wm" 2>/dev/null || true
    wait "$wm" 2>/dev/null || true
    # The next one must not find the screen still managed.
    for _ in $(seq 50); do
        wm_running || break
        sleep 0.1
    done
    desktop="no window manager"
}

# Window managers that give a utility window or one out of the task bar no focus on map,
# and none back after a dialog; ZELM_TEST_WMS may name others (mutter, kwin, xfwm4, icewm,
# fluxbox).
for name in ${ZELM_TEST_WMS:-openbox metacity}; do
    echo "Under $name, nobody activating it, the window has the keyboard at start, after About and after «Нет»"
    start_wm "$name"
    start
    xdotool key F1
    wait_dialog
    xdotool key Return # About's OK
    wait_focus "$main" "main window after About's OK"
    xdotool key Escape
    wait_dialog
    xdotool key Escape # the box's No
    wait_focus "$main" "main window after «Нет»"
    xdotool key F9 # reaches the window only with the keyboard there
    expect_end "F9 under $name"
    stop_wm
done

echo "Under a window manager: names, task bar, types and frames of the windows"
start_wm openbox
# The window of the program shown last, other than the main one.
newest() { xdotool search --onlyvisible --pid "$pid" | grep -vx "$main" | tail -n 1; }
# A property as xprop prints it, on one line; UTF-8 names as text in any locale.
prop() { LC_ALL=C.UTF-8 xprop -id "$1" "$2" | tr -s '\n\t' '  ' | sed 's/ *$//'; }
# A fixed frame: no minimise or maximise, neither named nor through "all" (bit 0 of the
# functions and of the decorations), and a minimum size equal to the maximum.
fixed_frame() {
    local flags functions decorations hints
    read -r flags functions decorations _ <<<"$(prop "$1" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')"
    (((flags & 3) == 3 && (functions & 0x19) == 0 && (decorations & 0x61) == 0)) || return 1
    hints=$(prop "$1" WM_NORMAL_HINTS)
    [[ $hints =~ minimum\ size:\ ([0-9]+\ by\ [0-9]+).*maximum\ size:\ ([0-9]+\ by\ [0-9]+) ]] &&
        [ "${BASH_REMATCH[1]}" = "${BASH_REMATCH[2]}" ]
}
# window, property, what its value must match (an extended regular expression)
rows='main window named as its form, nothing appended|main|_NET_WM_NAME|= "Зельм плотины"$
main window out of the task bar|main|_NET_WM_STATE|_NET_WM_STATE_SKIP_TASKBAR
main window out of the pager|main|_NET_WM_STATE|_NET_WM_STATE_SKIP_PAGER
main window a utility window|main|_NET_WM_WINDOW_TYPE|= _NET_WM_WINDOW_TYPE_UTILITY
main window without frame or title bar|main|_MOTIF_WM_HINTS|= 0x[0-9a-f]+, 0x[0-9a-f]+, 0x0,
main window of a fixed size|main|WM_NORMAL_HINTS|minimum size: 491 by ([0-9]+) .*maximum size: 491 by
About dialog named "О Программе Зельм", nothing appended|about|_NET_WM_NAME|= "О Программе Зельм"$
About dialog out of the task bar|about|_NET_WM_STATE|_NET_WM_STATE_SKIP_TASKBAR
About dialog out of the pager|about|_NET_WM_STATE|_NET_WM_STATE_SKIP_PAGER
About dialog a dialog|about|_NET_WM_WINDOW_TYPE|= _NET_WM_WINDOW_TYPE_DIALOG
Save dialog titled by Qt, nothing appended|save|_NET_WM_NAME|= "Сохранить как"$
exit question titled "Зельм", nothing appended|box|_NET_WM_NAME|= "Зельм"$'
# Checks the rows of the windows named, while they are shown.
check() {
    local what window property pattern value
    while IFS='|' read -r what window property pattern; do
        [[ " $* " == *" $window "* ]] || continue
        value=$(prop "${!window}" "$property")
        [[ $value =~ $pattern ]] || fail "$what: $value"
    done <<<"$rows"
}
start
xdotool key F1
wait_dialog
about=$(newest)
check main about
fixed_frame "$about" || fail "About dialog frame: $(prop "$about" _MOTIF_WM_HINTS) $(prop "$about" WM_NORMAL_HINTS)"
xdotool key Escape # the dialog's OK
wait_focus "$main" "main window after a dialog"
xdotool key ctrl+s
wait_dialog
save=$(newest)
check save
xdotool key Escape # cancels the Save dialog
wait_focus "$main" "main window after a dialog"
xdotool key Escape
wait_dialog
box=$(newest)
check box
xdotool key Escape # the box's No
wait_focus "$main" "main window after a dialog"
xdotool key F9
expect_end "F9 under a window manager"
stop_wm

echo "all passed"
