#!/usr/bin/env bash
# scripts/deb-src.sh on the two shapes apt's sources take, each with a third party's entry
# beside Debian's, read back by apt itself in a scratch configuration (no network):
#   - written: apt parses the machine's entries and ours together (it refuses a deb-src
#     whose options differ from its deb's, as the one-line file an earlier setup.sh left
#     did), and ours give Debian's suites a source index and nobody else's;
#   - refused: when `apt-get update` fails, our files are gone and one line names the cause.
# Usage: deb_src_test.sh PATH_TO_deb-src.sh
set -euo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

keyring=/usr/share/keyrings/debian-archive-keyring.gpg
# shape | file of ours | the machine's file | its content | Debian suites that must get a source index
cases=(
  "one-line|zelm-deb-src.list|sources.list|deb http://deb.debian.org/debian bookworm main contrib
# deb http://deb.debian.org/debian bookworm-backports main
deb [ arch=amd64 signed-by=$keyring ] http://deb.debian.org/debian-security bookworm-security main
deb [signed-by=/usr/share/keyrings/nodesource.gpg] https://deb.nodesource.com/node_20.x nodistro main|bookworm bookworm-security"
  "deb822 with Signed-By|zelm-deb-src.sources|sources.list.d/debian.sources|Types: deb
# http://snapshot.debian.org/archive/debian/20250520T000000Z
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: $keyring

Types: deb
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: $keyring

Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Enabled: no
Signed-By: $keyring

Types: deb
URIs: https://deb.nodesource.com/node_20.x
Suites: nodistro
Components: main
Signed-By: /usr/share/keyrings/nodesource.gpg|bookworm bookworm-updates bookworm-security"
)

# A scratch apt: its own sources, lists and cache, nothing of this machine's /etc/apt.
scratch() {
  rm -rf "$work/apt" && mkdir -p "$work/apt/etc/"{sources.list.d,apt.conf.d,preferences.d,trusted.gpg.d} "$work/apt/lists/partial" \
    "$work/apt/cache/archives/partial"
  cat >"$work/apt/apt.conf" <<CONF
Dir::Etc "$work/apt/etc";
Dir::State::lists "$work/apt/lists";
Dir::Cache "$work/apt/cache";
APT::Sandbox::User "$(id -un)";
Debug::NoLocking "true";
CONF
  export APT_CONFIG=$work/apt/apt.conf
}

for case in "${cases[@]}"; do
  IFS='|' read -r -d '' shape ours file content suites <<<"$case" || true
  suites=${suites%$'\n'}

  scratch
  printf '%s\n' "$content" >"$work/apt/etc/$file"
  # as an earlier setup.sh left it, breaking apt where the entries carry Signed-By
  echo "deb-src http://deb.debian.org/debian bookworm main" >"$work/apt/etc/sources.list.d/zelm-deb-src.list"
  bash "$script" --no-update bookworm 2>"$work/err" || fail "$shape: deb-src.sh failed: $(cat "$work/err")"
  written=$(cd "$work/apt/etc/sources.list.d" && echo zelm-*)
  [ "$written" = "$ours" ] || fail "$shape: wrote $written, not $ours"
  if ! targets=$(apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE)' 'Created-By: Sources' 2>&1); then
    fail "$shape: apt refuses the sources: $targets"
  else
    got=$(awk '{ print $2 }' <<<"$targets" | sort -u | xargs)
    want=$(xargs -n1 <<<"$suites" | sort | xargs)
    [ "$got" = "$want" ] || fail "$shape: source indexes of «$got», not «$want»"
  fi

  # Refused: the same entries on a mirror that is not there, so that `apt-get update` fails.
  scratch
  sed 's#https\?://[^ ]*#file:/nonexistent#' <<<"$content" >"$work/apt/etc/$file"
  echo "deb-src file:/nonexistent bookworm main" >"$work/apt/etc/sources.list.d/zelm-deb-src.list"
  if bash "$script" bookworm 2>"$work/err"; then
    fail "$shape: deb-src.sh passed though apt-get update failed"
  fi
  ! ls "$work/apt/etc/sources.list.d" | grep -q '^zelm-' ||
    fail "$shape: refused entries were left: $(ls "$work/apt/etc/sources.list.d")"
  refusal=$(grep -c 'apt refused' "$work/err" || true)
  cause=$(grep 'apt refused' "$work/err" | grep -E ': (E|W|Err):' || true)
  [ "$refusal" = 1 ] && [ -n "$cause" ] || fail "$shape: no one line naming apt's cause: $(cat "$work/err")"
done

((failures == 0)) && echo "deb-src entries written and refused as apt wants, in both shapes"
