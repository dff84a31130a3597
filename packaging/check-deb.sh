#!/usr/bin/env bash
# Checks a built Debian package of zelm the way a user's system would see it:
#     packaging/check-deb.sh PACKAGE.deb MAPWAIT VERSION_FILE
# unpacks it into a temporary root, looks for the binaries, the desktop entry and the icons,
# validates the entry, reads the package's dependencies, runs the unpacked zelm-calc with
# no display, and starts the unpacked zelm under Xvfb until its window is mapped (MAPWAIT
# is bench's zelm_mapwait). VERSION_FILE is version.txt of the build the package came from.
set -euo pipefail

deb=$1
mapwait=$2
version=$(cat "$3")
fail() { echo "check-deb: $*" >&2; exit 1; }

[ "$(basename "$deb")" = "zelm_${version}_amd64.deb" ] || fail "unexpected package name $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = zelm ] || fail "package is not named zelm"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
depended=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
# dpkg-shlibdeps names the packages of the libraries the binary links; the faces are named
# by hand, since the captions are measured for them. Debian 13 renamed some libraries for
# the 64-bit time_t (libqt6core6t64), so a name may carry that suffix.
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 fonts-liberation2; do
  grep -Fxq -e "$needed" -e "${needed}t64" <<<"$depended" || fail "Depends lacks $needed: $depends"
done
# apt reads the control data and resolves the dependencies against this system.
apt-get install --simulate --no-install-recommends "$(realpath "$deb")" >/dev/null ||
  fail "apt cannot install the package"

root=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$root/fs"

binary=$root/fs/usr/bin/zelm
entry=$root/fs/usr/share/applications/zelm.desktop
icons=$root/fs/usr/share/icons/hicolor
[ -x "$binary" ] || fail "no executable usr/bin/zelm"
readelf -d "$binary" | grep -Eq '\((RPATH|RUNPATH)\)' && fail "zelm carries a library search path"
[ -f "$entry" ] || fail "no desktop entry usr/share/applications/zelm.desktop"
desktop-file-validate "$entry" || fail "desktop entry does not validate"
grep -qx 'Name=Зельм' "$entry" || fail "desktop entry is not named Зельм"
grep -qx 'Exec=zelm' "$entry" || fail "desktop entry does not start zelm"
grep -qx 'Icon=zelm' "$entry" || fail "desktop entry does not name the icon zelm"
grep -Eqx 'Categories=(.*;)?Science;(.*;)?Engineering;(.*)?' "$entry" ||
  fail "desktop entry is not in Science and Engineering"
grep -q '^Comment=Расчёт расхода воды' "$entry" || fail "desktop entry lacks its Russian comment"
[ -f "$icons/scalable/apps/zelm.svg" ] || fail "no scalable icon"
for size in 16 24 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/zelm.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format '%m %wx%h' "$png")" = "PNG ${size}x${size}" ] ||
    fail "${size}x${size} icon is not a PNG of that size"
done

cmp -s "$root/fs/usr/share/doc/zelm/copyright" "$(dirname "$0")/../LICENSE" ||
  fail "usr/share/doc/zelm/copyright is not the project's licence"

# zelm-calc needs no display: none is given.
calc=$root/fs/usr/bin/zelm-calc
[ -x "$calc" ] || fail "no executable usr/bin/zelm-calc"
readelf -d "$calc" | grep -Eq '\((RPATH|RUNPATH)\)' && fail "zelm-calc carries a library search path"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$calc" --help) ||
  fail "zelm-calc --help fails without a display"
grep -q '^zelm-calc — ' <<<"$help" || fail "zelm-calc --help does not begin with its name"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$calc" 1000000 100 16 10)" = 1240.769 ] ||
  fail "zelm-calc does not give the worked example"

# The unpacked binary uses the system's Qt, as the installed one would.
source "$(dirname "$0")/../scripts/xvfb.sh"
start_xvfb "$root" || fail "cannot start Xvfb"
"$mapwait" --timeout 30 --settle 1000 -- "$binary" >/dev/null ||
  fail "the installed zelm showed no window"
echo "check-deb: $(basename "$deb") is complete, its zelm-calc answers without a display and its zelm shows its window"
