#!/usr/bin/env bash
# Runs a command on a private Xvfb display: with_xvfb.sh COMMAND [ARGS...]
# The server is tried again, five times in all, if the display it names
# does not answer; what it said comes with the failure.
set -u
dir=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill $xvfb 2>/dev/null; rm -rf "$dir"' EXIT
for try in 1 2 3 4 5; do
  [ "$try" -gt 1 ] && sleep 1
  : >"$dir/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>>"$dir/xvfb.log" &
  xvfb=$!
  for _ in $(seq 600); do
    [ -s "$dir/display" ] && DISPLAY=":$(head -n1 "$dir/display")" xdotool getdisplaygeometry \
      >/dev/null 2>&1 && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$dir/display")"
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  kill "$xvfb" 2>/dev/null
done
xdotool getdisplaygeometry >/dev/null 2>&1 || {
  echo "Xvfb did not start:" >&2
  tail -20 "$dir/xvfb.log" >&2
  exit 1
}
"$@"
