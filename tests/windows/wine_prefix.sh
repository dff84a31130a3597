# shellcheck shell=bash
# Sourced by the Windows tests: start_wine_prefix makes a fresh Wine prefix in a temporary
# folder, exports WINEPREFIX for it and sets wine, wineserver and work (the folder) for the
# caller; the prefix's server is ended and the folder removed when the caller exits.
# WINE names the wine64 loader when it is not on PATH under that name.
start_wine_prefix() {
  wine=${WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
  wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
  work=$(mktemp -d "${TMPDIR:-/tmp}/zelm-wine.XXXXXX")
  trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
  # Made without a display (the tests open no window) and without offering to download
  # Mono and Gecko.
  export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  "$wine" wineboot -i 2>"$work/wineboot.log" || { cat "$work/wineboot.log" >&2; return 1; }
  "$wineserver" -w
}

# check NAME EXPECTED ACTUAL: both texts with lines joined by "|" in EXPECTED; prints PASS or
# FAIL with the difference, and counts failures in failures.
failures=0
check() {
  local expected=${2//|/$'\n'}
  if [ "$expected" = "$3" ]; then
    echo "PASS $1"
  else
    echo "FAIL $1"
    diff <(echo "$expected") <(echo "$3") | sed 's/^/  /' || true
    failures=$((failures + 1))
  fi
}

# fake_word_registry SERVER DIR: writes DIR/register.reg and DIR/unregister.reg, which
# register the stand-in Word (zelm_fake_word.dll at the Windows path SERVER) as
# "Word.Application" and take it away again, for `regedit /S`. Under HKLM: Wine 8 does not
# look in HKCU\Software\Classes when it resolves a ProgID.
fake_word_registry() {
  local clsid='{6D3F1C52-8B0E-4E77-9A41-2F5C7D0B9E13}'
  local classes='HKEY_LOCAL_MACHINE\Software\Classes'
  cat >"$2/register.reg" <<REG
Windows Registry Editor Version 5.00

[$classes\\Word.Application\\CLSID]
@="$clsid"

[$classes\\CLSID\\$clsid\\InprocServer32]
@="${1//\\/\\\\}"
"ThreadingModel"="Apartment"
REG
  cat >"$2/unregister.reg" <<REG
Windows Registry Editor Version 5.00

[-$classes\\Word.Application]

[-$classes\\CLSID\\$clsid]
REG
}
