#!/usr/bin/env bash
# The control panels driven as a person would: the attractor, a rollout,
# a typed dt, the background, the box, Reset, and Quit with status 0.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_app

# Where the controls sit (window pixels) with every rollout closed.
ROESSLER="975 50"; STATIC="975 138"; DT="1035 325"; BACKGROUND="1090 405"
INFO="100 734"; BOX="282 734"; RESET="607 734"; QUIT="660 734"
SCENE="0 0 940 700"

scene_count() { count "$1" $SCENE; }
curve_drawn() { [ "$(scene_count red)" -gt 2000 ]; }
wait_for "the first picture" curve_drawn

# Static playback holds the picture still, so every change below shows.
click $STATIC
settle
lorenz_top=$(count top $SCENE)
cp "$WORK/shot.ppm" "$WORK/lorenz.ppm"

click $ROESSLER
roessler() { [ "$(count top $SCENE)" -gt $((lorenz_top + 100)) ]; }
wait_for "the Roessler attractor, lower and flatter than Lorenz" roessler
keep roessler

click $DT
xdotool type --delay 50 "0.02"
settle
cp "$WORK/shot.ppm" "$WORK/typing.ppm"
xdotool key Return
dt_taken() { [ "$(differ "$WORK/typing.ppm" "$WORK/shot.ppm" $SCENE)" -gt 1000 ]; }
wait_for "dt 0.02 to redraw the curve" dt_taken

click $BACKGROUND
settle
click 1090 425 # "White", the first item of the list under the field
white_scene() { [ "$(scene_count white)" -gt 300000 ]; }
wait_for "the white background" white_scene
black_before=$(scene_count black)

click $BOX
box_drawn() { [ "$(scene_count black)" -gt $((black_before + 1000)) ]; }
wait_for "the black box on white" box_drawn
keep white-box

click $INFO
info_open() { [ "$(count panel 700 480 200 5)" -gt 900 ] && [ "$(count bottom $SCENE)" -lt 470 ]; }
wait_for "the Info rollout to open and the scene to shrink above it" info_open
keep info-open
# The header rose with the panel's top edge.
panel_h=$(count panel 930 0 1 750)
click 100 $((750 - panel_h + 12))
info_closed() { [ "$(count panel 700 480 200 5)" -eq 0 ]; }
wait_for "the Info rollout to close" info_closed

click $RESET
start_up() { [ "$(scene_count black)" -gt 200000 ] && [ "$(scene_count yellow)" -gt 100 ]; }
wait_for "the start-up picture after Reset" start_up
keep reset

click $QUIT
end=$((SECONDS + DEADLINE))
while alive; do
  [ $SECONDS -lt $end ] || fail "Quit did not end the program"
  sleep 0.1
done
wait "$APP_PID"
rc=$?
APP_PID=""
[ $rc -eq 0 ] || fail "Quit ended the program with status $rc"
echo "panels: ok"
