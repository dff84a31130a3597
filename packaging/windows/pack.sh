#!/usr/bin/env bash
# Packs the Windows build into one zip: both programs, stripped; the Russian README.txt;
# our licence and Qt's, with where Qt's source is; and Зельм's own source as built (its
# commit, with any change not yet committed), so that a user can relink with another Qt,
# as the LGPL asks of a program that links Qt statically. Every text is a .txt with CRLF
# line ends, and a UTF-8 byte order mark where it is not plain ASCII, so that Notepad
# shows it on any Windows. Fails when a program needs
# a DLL that is not Windows' own: Windows' own are those Wine provides in their stead and
# Windows' API sets (api-ms-win-*); no MinGW runtime or Qt library. Fails as well when a
# program lacks its icon and version (packaging/windows/version.rc.in).
# Usage: packaging/windows/pack.sh BUILD_DIR QT_PREFIX ZIP
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
qt=$2
zip=$(realpath -m "$3")
name=$(basename "$zip" .zip)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root=$stage/$name
mkdir -p "$root/Qt"

windows_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
for program in "$build/zelm.exe" "$build/cli/zelm-calc.exe"; do
  packed=$root/$(basename "$program")
  x86_64-w64-mingw32-strip -o "$packed" "$program"
  if ! x86_64-w64-mingw32-objdump -h "$packed" | grep -q ' \.rsrc '; then
    echo "pack: $(basename "$program") has no icon and version resource" >&2
    exit 1
  fi
  for dll in $(x86_64-w64-mingw32-objdump -p "$packed" | sed -n 's/^\s*DLL Name: //p'); do
    dll=${dll,,}
    # api-ms-win-*: Windows' API sets, which its loader maps onto its own DLLs
    if [[ $dll == lib* || $dll == qt* || ($dll != api-ms-win-* && ! -e $windows_dlls/$dll) ]]; then
      echo "pack: $(basename "$program") needs $dll, which is not Windows' own" >&2
      exit 1
    fi
  done
done

# A text as Notepad reads it; one that is not UTF-8 is taken as Latin-1.
text() {
  local utf8
  if iconv -f UTF-8 -t UTF-8 "$1" >/dev/null 2>&1; then utf8=$(cat "$1"); else utf8=$(iconv -f LATIN1 -t UTF-8 "$1"); fi
  if grep -qP '[^\x00-\x7F]' <<<"$utf8"; then printf '\xef\xbb\xbf'; fi
  printf '%s\n' "$utf8" | sed 's/\r*$/\r/'
}

# The source as built: the commit, with any change to it not committed yet.
source=$(git -C "$here" rev-parse --show-toplevel)
commit=$(git -C "$source" rev-parse HEAD)
tree=$(git -C "$source" stash create)
git -C "$source" archive --format=zip --prefix=zelm-source/ -o "$root/zelm-source.zip" "${tree:-$commit}"
[ -z "$tree" ] || commit="$commit (с изменениями, ещё не внесёнными в него)"

# README.txt as the build wrote it, with the version (cmake/windows.cmake).
text "$build/README.txt" >"$root/README.txt"
text "$here/../../LICENSE" >"$root/LICENSE.txt"
sed "s|@COMMIT@|$commit|" "$here/Qt.txt" >"$stage/Qt.txt"
text "$stage/Qt.txt" >"$root/Qt/Qt.txt"
# Qt's licences, kept with the Qt build (scripts/windows-qt.sh), each named *.txt.
for file in LGPL-3.0-only.txt GPL-3.0-only.txt copyright.txt; do
  text "$qt/share/licences/$file" >"$root/Qt/$file"
done
(cd "$qt/share/licences" && find 3rdparty -type f) | while read -r file; do
  named=${file%.md}
  named=${named%.txt}.txt
  mkdir -p "$(dirname "$root/Qt/$named")"
  text "$qt/share/licences/$file" >"$root/Qt/$named"
done

mkdir -p "$(dirname "$zip")"
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip "$name")
echo "pack: $zip" >&2
