#!/usr/bin/env bash
# Start-up: the Lorenz curve flows in red and yellow on black, with the
# panels along the right and bottom edges, and the program keeps running.
# Then box, axes, tracer and twin switched on through the panels: the white
# figures, the divergence graph and the tracer dot show over the curve; the
# maximum map replaces them all.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_app

red_and_yellow_on_black() {
  [ "$(count red $SCENE)" -gt 2000 ] && [ "$(count yellow $SCENE)" -gt 100 ] &&
    [ "$(count black $SCENE)" -gt 200000 ]
}
wait_for "the red and yellow curve on black" red_and_yellow_on_black

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
white_before=$(count white $SCENE)

click $AXES
click $BOX
click $TRACER
click $TWIN
figures() {
  [ "$(count white $SCENE)" -gt $((white_before + 3000)) ] && [ "$(count blue $SCENE)" -gt 500 ]
}
wait_for "white box, axes, marker graph and tracer, and the blue twin" figures
keep overlays

# The maximum map replaces the curve and the figures by white points.
click $MAXMAP
map_only() { [ "$(count red $SCENE)" -lt 50 ] && [ "$(count white $SCENE)" -gt 200 ]; }
wait_for "the maximum map alone" map_only
keep maximum-map
echo "startup: ok"
