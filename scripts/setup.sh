#!/usr/bin/env bash
# Installs with apt whatever Зельм needs to build, run and test, when it is missing.
# The one list of the project's packages: README commands and .ci/run go through here.
# It ends by checking that every command the build, the tests and the package call is
# there, and names any that is not. With --windows it also readies the Windows build
# (scripts/windows.sh): the cross compiler, Wine, and the source of Debian's Qt. With
# --fresh-root, what scripts/fresh-debian.sh needs to make a fresh Debian root (CI uses it).
set -euo pipefail
windows=false
fresh_root=false
for option in "$@"; do
  case $option in
    --windows) windows=true ;;
    --fresh-root) fresh_root=true ;;
    *) echo "setup: unknown option $option (--windows, --fresh-root)" >&2; exit 1 ;;
  esac
done

packages=(
  # build
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # keeping the windows out of the task bar under X11, before they are mapped
  libxcb1-dev
  # Russian texts of Qt's own dialogs and buttons
  qt6-translations-l10n
  # sans-serif faces with Cyrillic and Arial-like metrics
  fonts-liberation2 fonts-dejavu-core
  # tests: core, headless windows, real X server checks
  googletest libgtest-dev locales xvfb xauth x11-utils xdotool imagemagick
  # window managers that honour the desktop's window hints, for the real X server checks
  # (metacity, GNOME's classic one, wants a session bus of its own)
  openbox metacity dbus
  # what a screen reader is told: the AT-SPI bus and its Python client
  at-spi2-core python3-pyatspi
  # sanitizer and fuzzing builds: clang with libFuzzer and the sanitizer runtimes
  clang libclang-rt-dev
  # start-up benchmark and package check: watching for the first mapped window
  libx11-dev libxdamage-dev
  # batch benchmark (bench/batch.sh): mawk, what zelm-calc is measured against, and GNU
  # time for the peak memory of each
  mawk time
  # Debian package: dependencies from the linked libraries (CPack reads them with file),
  # desktop entry check
  dpkg-dev file desktop-file-utils
  # rendering the icon's PNG sizes (packaging/render-icons.sh)
  librsvg2-bin
)
windows_packages=(
  # the cross compiler (POSIX threads, which std::thread and Qt need) and Wine to test with
  g++-mingw-w64-x86-64-posix wine64
  # Qt for Windows is built from the source package of the installed qt6-base
  dpkg-dev xz-utils perl
  # Windows' faces for the form under Wine (Tahoma for MS Sans Serif)
  fonts-wine
  # the exact source of the build, packed beside the programs for the LGPL's relinking
  git
)
fresh_root_packages=(debootstrap git)
$windows && packages+=("${windows_packages[@]}")
$fresh_root && packages+=("${fresh_root_packages[@]}")

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# apt-get source needs a deb-src entry; a fresh system has none. scripts/deb-src.sh adds
# them in files of our own, in the shape of the machine's own entries, and takes them back
# if apt refuses them.
if $windows; then
  $sudo "$(dirname "$0")/deb-src.sh"
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  echo "setup: installing ${missing[*]}" >&2
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# What scripts/test.sh, the tests and packaging/check-deb.sh run, by stage. A package
# above that stops providing one of them shows here, not halfway through a long test run.
commands=(
  # build
  cmake ninja g++ pkg-config clang++
  # tests
  ctest localedef Xvfb xdotool xprop xwininfo xmessage openbox metacity dbus-run-session od timeout
  # package
  cpack dpkg-deb dpkg-shlibdeps file readelf desktop-file-validate identify apt-get
)
# Windows: the cross compiler, Wine (Debian keeps wine64 out of PATH), Qt's source
$windows && commands+=(x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-objdump wine64 wineserver dpkg-source git)
$fresh_root && commands+=(debootstrap git chroot mount)
export PATH=$PATH:/usr/lib/wine
absent=()
for c in "${commands[@]}"; do
  command -v "$c" >/dev/null || absent+=("$c")
done
if ((${#absent[@]})); then
  echo "setup: commands still missing: ${absent[*]}" >&2
  exit 1
fi
