#!/usr/bin/env bash
# Start-up: the Lorenz curve flows in red and yellow on black, with the
# panels along the right and bottom edges, and the program keeps running.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_app

curve_drawn() {
  [ "$(count red 0 0 900 650)" -gt 2000 ] && [ "$(count yellow 0 0 900 650)" -gt 100 ] &&
    [ "$(count black 0 0 900 650)" -gt 200000 ]
}
wait_for "the red and yellow curve on black" curve_drawn

# Right edge and bottom edge are panel background, full height and width;
# the panels take their size over the first frames.
panels() {
  [ "$(count panel 1190 20 6 700)" -gt 3000 ] && [ "$(count panel 20 744 700 3)" -gt 1900 ]
}
wait_for "the panels along the right and bottom edges" panels

# The curve flows: the scene changes from one screenshot to the next.
shot "$WORK/a.ppm"
flows() { ! cmp -s "$WORK/a.ppm" "$WORK/shot.ppm"; }
wait_for "the curve to move" flows

alive || fail "tresolva is no longer running"
echo "startup: ok"
