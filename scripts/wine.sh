#!/usr/bin/env bash
# Runs a program of the Windows build under Wine as on a Russian Windows (code pages 1251
# and 866, the decimal comma), in a prefix of the build's own, made on first use. CTest
# runs every test of the Windows build through it (cmake/windows.cmake).
# Usage: scripts/wine.sh DIR PROGRAM [ARGUMENT...]   DIR holds the prefix and the locale.
set -euo pipefail
dir=$1
shift
export PATH=/usr/lib/wine:$PATH # Debian's wine64 keeps its programs there
export WINEPREFIX=$dir/prefix WINEDEBUG=-all LANG=ru_RU.UTF-8 LC_ALL= LOCPATH=$dir/locales
# No .NET or Internet Explorer in the prefix: their installers would ask on first start.
export WINEDLLOVERRIDES="mscoree,mshtml="

mkdir -p "$dir"
exec {lock}>"$dir/lock"
flock "$lock"
# Wine takes its code pages and the locale from the C library's locale, which a minimal
# system lacks.
if [ ! -d "$LOCPATH/ru_RU.UTF-8" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8"
fi
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  rm -rf "$WINEPREFIX"
  timeout 300 wine64 wineboot --init >"$dir/wineboot.log" 2>&1 {lock}>&-
  timeout 120 wineserver --wait
fi
# A new server starts Wine's services anew, seconds under load, and they outlive the
# program that started them, holding whatever it had open. So the server is kept for a
# minute after its last program, to serve a whole test run and then end by itself, and
# it and its services start here, holding neither the caller's streams nor the lock.
if wineserver -p60 </dev/null >/dev/null 2>&1 {lock}>&-; then # fails when one runs already
  timeout 120 wine64 cmd /c exit </dev/null >/dev/null 2>&1 {lock}>&- || true
fi
exec {lock}>&-
# Wine keeps the host's QT_ variables from Windows programs but hands WINEQT_X on as
# QT_X, so each one a test sets (QT_SCALE_FACTOR=2, say) goes that way; the platform a
# test asks for (QT_QPA_PLATFORM=offscreen) goes as Qt's own option as well.
while IFS='=' read -r name _; do
  export "WINE$name=${!name}"
done < <(env | grep -E '^QT_[A-Z0-9_]*=' || true)
program=$1
shift
if [ -n "${QT_QPA_PLATFORM:-}" ]; then
  set -- "$@" -platform "$QT_QPA_PLATFORM"
  # Qt's offscreen platform on Windows reads fonts from one folder and no system list;
  # it gets the Liberation faces the form's families fall back to under Linux.
  if [ "$QT_QPA_PLATFORM" = offscreen ] && [ -z "${QT_QPA_FONTDIR:-}" ]; then
    export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\liberation2'
  fi
fi
exec wine64 "$program" "$@"
