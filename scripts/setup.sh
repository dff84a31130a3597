#!/usr/bin/env bash
# Installs with apt whatever Зельм needs to build, run and test, when it is missing.
# The one list of the project's packages: README commands and .ci/run go through here.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # Russian texts of Qt's own dialogs and buttons
  qt6-translations-l10n
  # sans-serif faces with Cyrillic and Arial-like metrics
  fonts-liberation2 fonts-dejavu-core
  # tests: core, headless windows, real X server checks
  googletest libgtest-dev locales xvfb xauth x11-utils xdotool imagemagick
  # sanitizer and fuzzing builds: clang with libFuzzer and the sanitizer runtimes
  clang libclang-rt-14-dev
  # start-up benchmark and package check: watching for the first mapped window
  libx11-dev
  # Debian package: dependencies from the linked libraries, desktop entry check
  dpkg-dev desktop-file-utils
  # rendering the icon's PNG sizes (packaging/render-icons.sh)
  librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
