#!/usr/bin/env bash
# Builds Qt's base (Debian's own qt6-base source, of the installed qt6-base-dev) for 64-bit
# Windows as static libraries with MinGW-w64, once, and prints the folder it is installed
# in. The folder is named by the version and a hash of the options and the toolchain file,
# so a change to either builds a new one and an unchanged one is reused.
# ZELM_QT_CACHE chooses the cache (default: ~/.cache/zelm).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
# The upstream version of the installed Qt, whose moc, rcc and uic the build takes: Debian's
# 6.4.2+dfsg-10 is Qt 6.4.2.
debian_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
version=${debian_version#*:}
version=${version%%[+~-]*}
# Only Debian 12's Qt 6.4.2 is supported: the options below, the Windows tests and the
# licence note the package carries (packaging/windows/Qt.txt) are that version's.
if [ "$version" != 6.4.2 ]; then
  echo "windows-qt: the Windows build supports Qt 6.4.2 (Debian 12's qt6-base-dev) only; this system has Qt $version ($debian_version): build the Windows programs on Debian 12" >&2
  exit 1
fi
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DFEATURE_static_runtime=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  # the host tools (moc, rcc, uic) of Debian's qt6-base-dev, of the same version
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  # only what the two programs and their tests use
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF
  # nor draw through: no OpenGL, Vulkan or Direct2D, no Graphics View, no Markdown; the
  # pictures are bitmaps, so no JPEG, GIF or ICO plug-in (938 build steps, not 1,190).
  # Without OpenGL the Windows platform plug-in of 6.4 builds only with dynamic GL off too,
  # and without Direct2D it links only without the DirectWrite 3 font database, which Qt
  # builds with Direct2D alone (Qt uses the GDI one unless told otherwise).
  -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF
  -DFEATURE_directwrite3=OFF -DFEATURE_graphicsview=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  # Debian's tarball leaves out the wintab headers
  -DFEATURE_tabletevent=OFF
  # every third-party library from Qt's own copy, so nothing but Windows' DLLs is needed
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
)
key=$( { printf '%s\n' "${options[@]}"; cat "$toolchain"; } | sha256sum | cut -c1-12)
cache=${ZELM_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zelm}
prefix="$cache/qt-$version-mingw-static-$key"
if [ -x "$prefix/bin/qt-cmake" ]; then
  echo "$prefix"
  exit 0
fi

work="$cache/qt-$version-work-$key"
mkdir -p "$cache"
# One build of a key at a time: a second run waits for the first, then finds its result.
exec 9>"$cache/.qt-$version-$key.lock"
flock 9
if [ -x "$prefix/bin/qt-cmake" ]; then
  echo "$prefix"
  exit 0
fi
# A build that was interrupted goes on where it stopped: its source stays in the work folder,
# marked once fully unpacked, and ninja redoes only what is missing.
if [ ! -e "$work/src/.unpacked" ]; then
  rm -rf "$work"
  mkdir -p "$work"
  (
    cd "$work"
    apt-get source --download-only qt6-base="$debian_version" >&2
    dpkg-source -x qt6-base_*.dsc src >/dev/null
    touch src/.unpacked
  )
fi
echo "windows-qt: building Qt $version for Windows into $prefix (25 to 40 minutes on 2 cores)" >&2
cmake -G Ninja -S "$work/src" -B "$work/build" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix.partial" \
  "${options[@]}" >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" >"$work/build.log" 2>&1 || { grep -m5 -B5 -A20 'error' "$work/build.log" | tail -60 >&2; exit 1; }
cmake --install "$work/build" >/dev/null
# The licences a package of programs built with this Qt carries (packaging/windows): Qt's
# LGPL-3 and the GPL-3 it builds on, Debian's record of every copyright in the source,
# and the licences of the third-party libraries Qt brings in its own copy.
licences="$prefix.partial/share/licences"
mkdir -p "$licences/3rdparty"
cp "$work/src/LICENSES/LGPL-3.0-only.txt" "$work/src/LICENSES/GPL-3.0-only.txt" "$licences/"
cp "$work/src/debian/copyright" "$licences/copyright.txt"
for library in freetype harfbuzz-ng libpng zlib pcre2 double-conversion tinycbor \
  forkfd easing icc rfc6234 sha3 blake2; do
  mkdir -p "$licences/3rdparty/$library"
  find "$work/src/src/3rdparty/$library" -maxdepth 1 \( -iname '*licen*' -o -iname 'copying*' \) \
    -exec cp {} "$licences/3rdparty/$library/" \;
done
# Renamed only when complete, so an interrupted build is never taken for a finished one.
rm -rf "$prefix"
mv "$prefix.partial" "$prefix"
rm -rf "$work"
echo "$prefix"
