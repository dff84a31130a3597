#!/usr/bin/env bash
# zelm.exe under Wine on a real X server, as on a Russian Windows: its window shows with
# its title and stays out of any task bar (Wine makes a frameless tool window an
# override-redirect X window, which no task bar lists); Windows' own colour and font
# dialogs, in Russian, apply the choice; the Save dialog is named; the keyboard is the
# window's at start and comes back to it after every dialog, nobody clicking; the worked
# example typed into the form gives 1240,769; the report is the Linux build's byte for
# byte; Ctrl+P reaches a stand-in Word registered as "Word.Application", and without Word
# a stand-in soffice.exe registered in App Paths, given the template in LibreOffice's folder.
#
#   zelm_window.sh zelm.exe zelm_fake_word.dll zelm_fake_soffice.exe
set -euo pipefail
zelm=$(realpath "$1")
server=$(realpath "$2")
soffice=$(realpath "$3")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
xvfb_pid=
pid=
trap 'kill $pid 2>/dev/null || true; PATH=/usr/lib/wine:$PATH wineserver -k 2>/dev/null || true
      kill $xvfb_pid 2>/dev/null || true; pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# shellcheck source=scripts/xvfb.sh
source "$root/scripts/xvfb.sh"
start_xvfb "$work"
unset QT_QPA_PLATFORM # Qt for Windows has its own platform
# Dialogs are managed windows: a window manager gives them the focus.
openbox >"$work/openbox.log" 2>&1 &

export PATH=/usr/lib/wine:$PATH
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ru_RU.UTF-8 LC_ALL= LOCPATH=$work/locales
mkdir -p "$LOCPATH"
localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8"
timeout 300 wine64 wineboot --init >"$work/wineboot.log" 2>&1 || fail "wineboot: $(tail -5 "$work/wineboot.log")"
timeout 120 wineserver --wait

# The stand-in Word, as tests/windows/word_automation.sh registers it.
# shellcheck source=tests/windows/wine_prefix.sh
source "$(dirname "$0")/wine_prefix.sh"
fake_word_registry "$(wine64 winepath -w "$server")" "$work"
wine64 regedit /S "$work/register.reg"
# LibreOffice's installer registers soffice.exe in App Paths, not on PATH.
soffice_path=$(wine64 winepath -w "$soffice")
cat >"$work/soffice.reg" <<REG
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\soffice.exe]
@="${soffice_path//\\/\\\\}"
REG
wine64 regedit /S "$work/soffice.reg"
appdata=$(wine64 cmd /c echo %APPDATA% | tr -d '\r')
template=$appdata'\LibreOffice\4\user\template\Canal.dot'
mkdir -p "$(dirname "$(wine64 winepath -u "$template")")"
: >"$(wine64 winepath -u "$template")"

ZELM_FAKE_WORD_LOG=$work/word.txt ZELM_FAKE_SOFFICE_LOG=$work/soffice.txt wine64 "$zelm" >"$work/zelm.log" 2>&1 &
pid=$!
# xdotool's search gives up when a window it walks goes away, as Wine's do at start.
main=
for _ in $(seq 120); do
  main=$(xdotool search --onlyvisible --name '^Зельм плотины$' 2>/dev/null | head -n 1) || true
  [ -n "$main" ] && break
  sleep 0.5
done
[ -n "$main" ] || fail "no window «Зельм плотины»"
echo "PASS the window «Зельм плотины» shows"
xwininfo -id "$main" | grep -q 'Override Redirect State: yes' ||
  fail "the window is managed, so a task bar would list it"
echo "PASS it is override-redirect: no task bar lists it"
# The keyboard is the main window's, asked for by nobody but the program.
main_focus() {
  for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$main" ] && return 0
    sleep 0.1
  done
  fail "$1: the keyboard is with «$(xdotool getwindowfocus getwindowname 2>/dev/null)», not the main window"
}
main_focus "at start"
echo "PASS the window has the keyboard at start"

height=$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p')
menu_bar=$((height - 342)) # the client area is 342 pixels high

# A field's middle, from its Left and Top in pixels (twips / 15).
click_field() {
  xdotool mousemove --window "$main" $(($1 + 28)) $((menu_bar + $2 + 12)) click 1
  sleep 0.3
}
# Ctrl+S, the file typed into the dialog (a Windows path) and Enter; waits for the file.
save_report() {
  local file=$1
  xdotool key ctrl+s
  dialog "Сохранить как"
  # The dialog offers the name chosen last time: typing replaces it whole.
  xdotool key End shift+Home
  xdotool type --delay 30 "$(wine64 winepath -w "$file")"
  xdotool key Return
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
  [ -s "$file" ] || fail "no report written to $file"
  main_focus "after the Save dialog"
  sleep 1 # clicked sooner, under load, a field sometimes lost the copy that follows
}

# Windows' own colour and font dialogs, worded by Wine in Russian, over the real program:
# no crash, and the choice applied to the window, which has the keyboard again.
# The colour: typed into the red, green and blue fields the dialog opens at, then OK.
width=$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^WIDTH=//p')
pixel() { # the colour at a point of the main window, as RRGGBB
  local x y
  eval "$(xdotool getwindowgeometry --shell "$main")"
  x=$((X + $1)) y=$((Y + $2))
  import -window root -crop "1x1+$x+$y" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | tr -d '#'
}
dialog() { # waits for a dialog named $1 to have the keyboard, and for it to settle
  for _ in $(seq 100); do
    [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$1" ] && { sleep 0.3; return 0; }
    sleep 0.1
  done
  fail "no dialog «$1»: the keyboard is with «$(xdotool getwindowfocus getwindowname 2>/dev/null)»"
}
corner="$((width - 4)) $((height - 4))" # no control covers the window's bottom right
xdotool key ctrl+f
dialog "Выбор цвета"
xdotool type --delay 30 200; xdotool key Tab; xdotool type --delay 30 100; xdotool key Tab
xdotool type --delay 30 50; xdotool key Return
# shellcheck disable=SC2086
for _ in $(seq 50); do [ "$(pixel $corner)" = C86432 ] && break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null || fail "zelm.exe ended in the colour dialog"
# shellcheck disable=SC2086
[ "$(pixel $corner)" = C86432 ] || fail "the window's colour is $(pixel $corner), not the chosen C86432"
main_focus "after the colour dialog"
echo "PASS Ctrl+F: Windows' colour dialog «Выбор цвета»; the colour chosen fills the window"

# The title font: «Настройки» → «Шрифт Заголовка», a face and a size typed, then OK.
title() { import -window root -crop "220x40+$((X + 120))+$((Y + menu_bar + 16))" -depth 8 rgb:- | md5sum; }
eval "$(xdotool getwindowgeometry --shell "$main")"
before=$(title)
xdotool key alt Right Down Down Return
dialog "Шрифт"
xdotool type --delay 30 "Liberation Serif"; xdotool key Tab Tab; xdotool type --delay 30 14
sleep 0.3 # the dialog completes the face as it is typed; Enter sooner once went unanswered
xdotool key Return
for _ in $(seq 50); do [ "$(title)" != "$before" ] && break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null || fail "zelm.exe ended in the font dialog"
[ "$(title)" != "$before" ] || fail "the title lines look as before the font was chosen"
main_focus "after the font dialog"
echo "PASS «Шрифт Заголовка»: Windows' font dialog «Шрифт»; the face and size chosen redraw the title"

# About (F1, closed with Space on its OK) and the exit question (Esc, answered «Нет» with
# Esc). Not Enter: a button takes Enter on its press, the box goes, and under Wine the
# release may reach no window of ours, so Qt would count the next Enter (the calculation's)
# as the key held down and repeating; Space clicks on its release, both in the box.
xdotool key F1
dialog "О Программе Зельм"
xdotool key space
main_focus "after About"
xdotool key Escape
for _ in $(seq 100); do [ "$(xdotool getwindowfocus 2>/dev/null)" != "$main" ] && break; sleep 0.1; done
xdotool key Escape
main_focus "after «Нет»"
kill -0 "$pid" 2>/dev/null || fail "«Нет» ended the program"
# The window is managed once a dialog has shown over it (Wine makes a dialog's owner so):
# still out of the task bar (the window manager may rewrite the state for a moment) and
# without a frame.
for _ in $(seq 50); do
  xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR && break
  sleep 0.1
done
xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
  fail "after a dialog the window is in the task bar: $(xprop -id "$main" _NET_WM_STATE)"
case $(xprop -id "$main" _NET_FRAME_EXTENTS) in
  *"not found."* | *"= 0, 0, 0, 0") ;;
  *) fail "after a dialog the window has a frame: $(xprop -id "$main" _NET_FRAME_EXTENTS)" ;;
esac
echo "PASS the keyboard comes back after the colour, font, About and «Нет» dialogs, nobody clicking; still no task bar, no frame"

click_field 24 72 # Text2, W
for figure in 1000000 100 16 10; do
  xdotool type --delay 30 "$figure"
  xdotool key Tab
done
xdotool key Return
sleep 0.5

# The Linux build's report for W = 1000000 (tests/desktop/real_window.sh).
expected="d0e0f1f5eee420e2eee4fb20eef220e7e5ebfcece020efebeef2e8edfb20e4ebff20f1f2e2eef0e0"
expected+="20202020202020202020202020202020202020""0d0a0d0a"
expected+="31303030303030""cee1fab8ec20e2eee42df9e0202857292c20ec2eeaf3e1""0d0a"
save_report "$work/report.txt"
actual=$(od -An -tx1 -v "$work/report.txt" | tr -d ' \n')
[ "$actual" = "$expected" ] || fail "report bytes: $actual"
echo "PASS the report is the Linux build's, byte for byte"

# The result, copied from Text1 into Text2, comes out in the next report.
click_field 248 72 # Text1
xdotool key ctrl+a ctrl+c
sleep 0.3
click_field 24 72
xdotool key ctrl+a ctrl+v
sleep 0.3
save_report "$work/result.txt"
result=$(iconv -f CP1251 -t UTF-8 "$work/result.txt" | sed -n 3p | tr -d '\r' | sed 's/Объём вод-ща (W), м.куб$//')
[ "$result" = "1240,769" ] || fail "the worked example gave «$result», not 1240,769"
echo "PASS the worked example gives 1240,769"

xdotool key ctrl+p
for _ in $(seq 100); do grep -q 'put Visible=true' "$work/word.txt" 2>/dev/null && break; sleep 0.1; done
grep -q 'call Add Template=Canal.dot' "$work/word.txt" && grep -q 'put Visible=true' "$work/word.txt" ||
  fail "Ctrl+P did not reach Word: $(tr '\n' '|' <"$work/word.txt" 2>/dev/null)"
echo "PASS Ctrl+P adds a document from Canal.dot in Word and shows Word"

wine64 regedit /S "$work/unregister.reg"
main_focus "after Word"
xdotool key ctrl+p
for _ in $(seq 100); do [ -s "$work/soffice.txt" ] && break; sleep 0.1; done
[ "$(tr -d '\r' <"$work/soffice.txt" 2>/dev/null)" = "-n|$template" ] ||
  fail "without Word, Ctrl+P did not start LibreOffice with «-n|$template»: $(cat "$work/soffice.txt" 2>/dev/null)"
echo "PASS without Word, Ctrl+P starts LibreOffice with the template from its roaming folder"

main_focus "after LibreOffice"
xdotool key F9
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "F9 did not end the program"
pid=
echo "PASS F9 ends the program"
