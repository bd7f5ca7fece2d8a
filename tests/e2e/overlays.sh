#!/usr/bin/env bash
# Box, axes, tracer and twin switched on through the panels: the white
# figures, the divergence graph and the tracer dot show over the curve.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_app

TWIN="964 207"; AXES="222 734"; BOX="282 734"; TRACER="418 734"; MAXMAP="490 734"
SCENE="0 0 940 700"

curve_drawn() { [ "$(count red $SCENE)" -gt 2000 ]; }
wait_for "the first picture" curve_drawn
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
echo "overlays: ok"
