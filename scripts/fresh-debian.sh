#!/usr/bin/env bash
# Runs commands in a fresh minimal Debian 13 or 12, the way a new user's machine starts out:
#     scripts/fresh-debian.sh [--suite trixie|bookworm] [--window] COMMAND [[--window] COMMAND...]
# e.g. scripts/fresh-debian.sh --suite bookworm --window ./scripts/start.sh ./scripts/test.sh
#
# Makes a root with `debootstrap --variant=minbase SUITE` (default trixie, Debian 13) from
# the Debian mirror this machine's apt already uses, and gives it the apt sources of
# Debian's official image instead of debootstrap's one-line sources.list: a deb822
# debian.sources with Signed-By, for SUITE, SUITE-updates and SUITE-security, and no
# package lists yet. It mounts /dev, /proc and /sys into it, clones the repository's
# committed HEAD into /root/zelm, and runs
# each COMMAND there in turn with bash, as root, in a clean environment, timing each. A
# COMMAND after --window gets an X server (an Xvfb of this machine, its socket mounted
# into the root, named by DISPLAY) and passes once a window of zelm shows; it is then
# ended. Any other COMMAND passes when it exits with 0. The root is removed at the end.
#
# It downloads and installs every package of scripts/setup.sh, so CI (.ci/run) only builds
# and runs the default suite this way. Needs root and, on this machine only, debootstrap,
# git, Xvfb and xdotool: scripts/setup.sh --fresh-root. ZELM_FRESH_DIR names where the root is made
# (default: a new folder under /var/tmp); ZELM_WINDOW_SECONDS bounds the wait for a window
# (default 3600).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "fresh-debian: $*" >&2; exit 1; }

suite=trixie
if [ "${1:-}" = --suite ]; then
  suite=${2:-}
  shift 2 || true
fi
# The keyring each release's official image names in Signed-By.
case $suite in
  trixie) keyring=/usr/share/keyrings/debian-archive-keyring.pgp ;;
  bookworm) keyring=/usr/share/keyrings/debian-archive-keyring.gpg ;;
  *) fail "suite ${suite:-(none)} is not trixie or bookworm" ;;
esac
(($#)) || fail "usage: $0 [--suite trixie|bookworm] [--window] COMMAND [[--window] COMMAND...]"
[ "$(id -u)" -eq 0 ] || fail "needs root (debootstrap, chroot and mounts)"
command -v debootstrap >/dev/null || fail "debootstrap is missing: scripts/setup.sh --fresh-root"

# The first Debian archive (not the security one) that apt here reads, in either format.
mirror=$(
  {
    grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{ for (i = 2; i <= NF; i++) print $i }'
    grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
      sed 's/\[[^]]*\]//' | awk '{ print $2 }'
  } 2>/dev/null | grep -E '/debian/?$' | head -n 1 || true
)
[ -n "$mirror" ] || fail "no Debian mirror found in /etc/apt/sources.list or sources.list.d"

work=$(mktemp -d "${ZELM_FRESH_DIR:-/var/tmp}/zelm-fresh.XXXXXX")
root=$work/root
xvfb_pid=
running=

unmount_all() {
  # Deepest first; the bound /dev and /sys are slaves, so nothing reaches this machine's.
  local m
  for m in $(awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r); do
    umount -l "$m" || true
  done
}
cleanup() {
  [ -n "$running" ] && kill -- "-$running" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  unmount_all
  # Never remove through a mount point that is still there: /dev of this machine would go.
  if awk -v r="$root" 'index($2, r) == 1 { found = 1 } END { exit !found }' /proc/self/mounts; then
    echo "fresh-debian: mounts remain under $root; left in place" >&2
  else
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "fresh-debian: debootstrap minbase $suite from $mirror into $root" >&2
SECONDS=0
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
  fail "debootstrap failed: $(tail -n 5 "$work/debootstrap.log")"
echo "fresh-debian: root made in ${SECONDS} s" >&2
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The official image's sources (security from Debian's own security mirror).
[ -f "$root$keyring" ] || fail "$suite's root has no $keyring"
rm -f "$root/etc/apt/sources.list"
cat >"$root/etc/apt/sources.list.d/debian.sources" <<SOURCES
Types: deb
URIs: $mirror
Suites: $suite $suite-updates
Components: main
Signed-By: $keyring

Types: deb
URIs: http://deb.debian.org/debian-security
Suites: $suite-security
Components: main
Signed-By: $keyring
SOURCES
rm -rf "$root/var/lib/apt/lists/"*

mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys"
# The X servers' sockets are shared, so that a program in the root reaches this machine's.
mkdir -p -m 1777 /tmp/.X11-unix "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"

# The committed state only: what a user cloning the repository gets.
git clone --quiet "$repo" "$root/root/zelm"
echo "fresh-debian: cloned $(git -C "$root/root/zelm" log -1 --format='%h %s')" >&2

# Runs one command in the root, in a session of its own so that it can be ended whole.
in_root() {
  setsid chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" \
    bash -c "cd /root/zelm && $command" &
  running=$!
}

window=false
for command in "$@"; do
  if [ "$command" = --window ]; then
    window=true
    continue
  fi
  SECONDS=0
  if $window; then
    if [ -z "$xvfb_pid" ]; then
      source "$repo/scripts/xvfb.sh"
      start_xvfb "$work"
    fi
    in_root DISPLAY="$DISPLAY"
    # The window is looked for from this machine, on the same display.
    shown=
    while ((SECONDS < ${ZELM_WINDOW_SECONDS:-3600})) && kill -0 "$running" 2>/dev/null; do
      shown=$(xdotool search --onlyvisible --classname '^zelm$' 2>/dev/null | head -n 1) && [ -n "$shown" ] && break
      sleep 1
    done
    taken=$SECONDS
    [ -n "$shown" ] && name=$(xprop -id "$shown" _NET_WM_NAME 2>/dev/null || true)
    kill -- "-$running" 2>/dev/null || true
    wait "$running" 2>/dev/null || true
    running=
    [ -n "$shown" ] || fail "$command: no window of zelm after $taken s"
    echo "fresh-debian: $command: zelm showed its window after $taken s ($name)" >&2
  else
    in_root
    status=0
    wait "$running" || status=$?
    running=
    ((status == 0)) || fail "$command: exit status $status after ${SECONDS} s"
    echo "fresh-debian: $command: passed in ${SECONDS} s" >&2
  fi
  window=false
done
