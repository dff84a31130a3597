# Sourced by the scripts that need an X server of their own (the desktop and Wine tests,
# bench/startup.sh, packaging/check-deb.sh, scripts/fresh-debian.sh, tools/wine):
# start_xvfb DIR [OPTION...] starts a private Xvfb with the options given, exports DISPLAY,
# QT_QPA_PLATFORM=xcb and XDG_RUNTIME_DIR (under DIR), and sets xvfb_pid for the caller to
# end. Display numbers are tried from a high, random start: a server started with
# -displayfd takes no lock file, and low numbers are where other sessions and tests put
# theirs. -noreset: a server that resets when its last client leaves refuses the next
# program for a moment, which back-to-back runs would hit.
start_xvfb() {
  local dir=$1 first=$((200 + RANDOM % 500)) n
  shift
  for ((n = first; n < first + 50; n++)); do
    rm -f "$dir/display"
    exec {fd}>"$dir/display"
    Xvfb ":$n" -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp -noreset "$@" >"$dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec {fd}>&-
    # The number is written once the server accepts clients; a server that finds the
    # display taken exits instead.
    while kill -0 "$xvfb_pid" 2>/dev/null && [ ! -s "$dir/display" ]; do
      sleep 0.05
    done
    if [ -s "$dir/display" ]; then
      export DISPLAY=":$n" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$dir/runtime
      mkdir -p -m 700 "$XDG_RUNTIME_DIR"
      return 0
    fi
  done
  xvfb_pid=
  echo "no display free for Xvfb: $(cat "$dir/xvfb.log")" >&2
  return 1
}
