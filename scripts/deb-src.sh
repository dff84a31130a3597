#!/usr/bin/env bash
# Makes `apt-get source` work for this release's own packages (scripts/windows-qt.sh needs
# Qt's), when apt has no deb-src entry for them yet:
#     scripts/deb-src.sh [--no-update] [CODENAME]
# CODENAME defaults to VERSION_CODENAME of /etc/os-release. Each enabled `deb` entry of
# apt's sources for CODENAME, CODENAME-updates or CODENAME-security (Debian's own suites,
# never a third party's such as nodesource's) gets a deb-src twin in the same shape and with
# the same options (Signed-By, …), since apt refuses one suite with differing options:
# deb822 stanzas go to zelm-deb-src.sources, one-line entries to zelm-deb-src.list, both in
# apt's sources.list.d. Then `apt-get update` must accept them and fetch the release's
# source index; if it does not, the files are removed again, apt's cause is named in one
# line, and the script fails. apt's directories are apt-config's, so APT_CONFIG can point
# it at a scratch configuration; --no-update (for tests without network) skips the check.
set -euo pipefail
fail() { echo "setup: $*" >&2; exit 1; }

check=true
if [ "${1:-}" = --no-update ]; then
  check=false
  shift
fi
codename=${1:-$(. /etc/os-release && echo "${VERSION_CODENAME:-}")}
[ -n "$codename" ] || fail "cannot tell this Debian release's codename from /etc/os-release"
sourcelist='' sourceparts=''
eval "$(apt-config shell sourcelist Dir::Etc::sourcelist/f sourceparts Dir::Etc::sourceparts/d)"

ours="${sourceparts%/}/zelm-deb-src"

# The suites an entry is mirrored for: this release's own, whatever the mirror.
ours_awk='function debian(suite) { return suite == codename || suite == codename "-updates" || suite == codename "-security" }'

# One-line entries: the `deb` line again as `deb-src`, its [options] and all.
one_line_entries() {
  local list
  for list in "$sourcelist" "${sourceparts%/}"/*.list; do
    if [ -f "$list" ] && [ "$list" != "$ours.list" ]; then cat "$list"; fi
  done |
    awk -v codename="$codename" "$ours_awk"'
      { sub(/#.*/, "") }
      $1 == "deb" {
        line = $0
        sub(/^[ \t]*deb/, "deb-src", line)
        # The suite is the second word after the [options], which may hold spaces.
        plain = $0
        gsub(/\[[^]]*\]/, "", plain)
        sub(/^[ \t]+/, "", plain)
        split(plain, word, /[ \t]+/)
        if (debian(word[3])) print line
      }'
}

# deb822 stanzas: each field again, but Types deb-src, only Debian's suites, no Enabled.
deb822_entries() {
  local sources
  for sources in "${sourceparts%/}"/*.sources; do
    if [ -f "$sources" ] && [ "$sources" != "$ours.sources" ]; then cat "$sources" && echo; fi
  done |
    awk -v codename="$codename" "$ours_awk"'
      # One stanza at a time; a line that starts with a blank continues the field above it.
      function flush(   i, kept, n, suite, out) {
        if (nfields && tolower(value["types"]) ~ /(^|[ \t])deb([ \t]|$)/ && tolower(value["enabled"]) != "no") {
          n = split(value["suites"], suite, /[ \t]+/)
          for (i = 1; i <= n; i++)
            if (debian(suite[i])) kept = kept (kept == "" ? "" : " ") suite[i]
          if (kept != "") {
            out = "Types: deb-src\n"
            for (i = 1; i <= nfields; i++) {
              if (key[i] == "suites") out = out "Suites: " kept "\n"
              else if (key[i] != "types" && key[i] != "enabled") out = out text[i] "\n"
            }
            printf "%s%s", (stanzas++ ? "\n" : ""), out
          }
        }
        nfields = 0
        delete value
      }
      /^#/ { next }
      /^[ \t]*$/ { flush(); next }
      /^[ \t]/ { text[nfields] = text[nfields] "\n" $0; value[key[nfields]] = value[key[nfields]] " " $0; next }
      {
        key[++nfields] = tolower(substr($0, 1, index($0, ":") - 1))
        text[nfields] = $0
        value[key[nfields]] = substr($0, index($0, ":") + 1)
        sub(/^[ \t]+/, "", value[key[nfields]])
      }
      END { flush() }'
}

# The release's source index: whether an entry of the machine's own asks for it (those are
# taken as they are; ours are written afresh), and whether it has been fetched (apt names
# the file by the compression it keeps, so any suffix will do).
asked_for_elsewhere() {
  apt-get indextargets --no-release-info --format '$(SOURCESENTRY)' 'Created-By: Sources' \
    "Release: $codename" 2>/dev/null | grep -qv "^$ours\."
}
fetched() {
  local file
  file=$(apt-get indextargets --no-release-info --format '$(FILENAME)' 'Created-By: Sources' \
    "Release: $codename" 2>/dev/null | head -n 1)
  [ -n "$file" ] && compgen -G "${file%_Sources*}_Sources*" >/dev/null
}

! fetched || exit 0
shopt -s nullglob
written=()
if ! asked_for_elsewhere; then
  # (what an earlier setup.sh wrote without the options of its entries broke apt)
  rm -f "$ours.list" "$ours.sources"
  one_line=$(one_line_entries)
  deb822=$(deb822_entries)
  [ -n "$one_line$deb822" ] ||
    fail "apt has no entry for $codename, $codename-updates or $codename-security to take Debian's sources from; add a deb-src entry by hand"
  echo "setup: adding deb-src entries of $codename for the source of Qt" >&2
  if [ -n "$one_line" ]; then
    printf '%s\n' "$one_line" >"$ours.list"
    written+=("$ours.list")
  fi
  if [ -n "$deb822" ]; then
    printf '%s\n' "$deb822" >"$ours.sources"
    written+=("$ours.sources")
  fi
fi

$check || exit 0
# apt's verdict: the entries must parse beside the others, and the release's source index
# must then be there.
log=$(DEBIAN_FRONTEND=noninteractive apt-get update -q 2>&1) && status=0 || status=$?
if ((status != 0)) || ! fetched; then
  ((${#written[@]} == 0)) || rm -f "${written[@]}"
  cause=$(grep -m 1 '^E:' <<<"$log" || grep -m 1 '^W:' <<<"$log" || grep -m 1 '^Err' <<<"$log" || true)
  fail "apt refused the deb-src entries ${written[*]:-there}${written[*]:+, now removed}: ${cause:-no source index of $codename was fetched}"
fi
