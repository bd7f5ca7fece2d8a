#!/usr/bin/env bash
# The control panels driven as a person would: the attractor, dt typed
# after Ctrl+A, the background (Esc closing its list unchosen), the box,
# every rollout open, Reset (its settings found again below both parameter
# rollouts and beside a scroll bar), and Quit with status 0; then Reset
# and Quit again with every rollout open in a 640 x 480 window.
source "$(dirname "$0")/lib.sh" "$@"
start_app

LORENZ_ROLLOUT="1000 80"
ROESSLER_ROLLOUT="1000 238" # below the open Lorenz rollout

scene_count() { count "$1" $SCENE; }
wait_for "the first picture" curve_drawn
settle $START_UP_ROWS
cp "$WORK/shot.ppm" "$WORK/start-up.ppm"

# Static playback holds the picture still, so every change below shows.
click $STATIC
settle
lorenz_top=$(count top $SCENE)
cp "$WORK/shot.ppm" "$WORK/lorenz.ppm"

click $ROESSLER
roessler() { [ "$(count top $SCENE)" -gt $((lorenz_top + 100)) ]; }
wait_for "the Roessler attractor, lower and flatter than Lorenz" roessler
keep roessler

# Ctrl+A selects the field's text, and what is typed after it replaces it.
click $DT
xdotool key ctrl+a
xdotool type --delay 50 "0.02"
settle
cp "$WORK/shot.ppm" "$WORK/typing.ppm"
xdotool key Return
dt_taken() { [ "$(differ "$WORK/typing.ppm" "$WORK/shot.ppm" $SCENE)" -gt 1000 ]; }
wait_for "dt 0.02 to redraw the curve" dt_taken

# Esc closes the list of backgrounds without choosing: a click where its
# first item, "White", lay over the Lines field opens the list of lines.
click_until_changed "the list of backgrounds" $BACKGROUND 1045 420 150 50
xdotool key Escape
click_until_changed "the list of lines" $LINES 1045 440 150 50
[ "$(scene_count white)" -lt 1000 ] || fail "after Esc, a click chose from the list of backgrounds"
xdotool key Escape
click_until_changed "the list of backgrounds again" $BACKGROUND 1045 420 150 50
click $LINES
white_scene() { [ "$(scene_count white)" -gt 300000 ]; }
wait_for "the white background" white_scene
black_before=$(scene_count black)

click $BOX
box_drawn() { [ "$(scene_count black)" -gt $((black_before + 1000)) ]; }
wait_for "the black box on white" box_drawn
keep white-box

open_rollouts
bottom_of_curve=$(count bottom $SCENE)
[ "$bottom_of_curve" -lt 440 ] || fail "the scene did not shrink above the open rollouts"
keep rollouts-open
click_until_changed "the Lorenz parameters" $LORENZ_ROLLOUT 952 90 248 150
click_until_changed "the Roessler parameters" $ROESSLER_ROLLOUT 952 250 248 150

press -2
start_up() { [ "$(count black 0 0 940 400)" -gt 150000 ] && [ "$(count yellow 0 0 940 400)" -gt 50 ]; }
wait_for "the start-up picture after Reset" start_up
keep reset

# The start-up settings below both rollouts, in a window short enough for
# the right panel to scroll: the rows moved down and, beside the scroll
# bar, left.
resized_to 1200 714
moved_rows() { start_up_rows && [ "$DY" -gt 0 ] && [ "$DX" -lt 0 ]; }
wait_for "the start-up rows below both rollouts and beside a scroll bar" moved_rows
keep rows-beside-scroll-bar
resized_to 1200 750
ended "Quit" press -1
[ "$APP_STATUS" -eq 0 ] || fail "Quit ended the program with status $APP_STATUS"

# In a 640 x 480 window with every rollout open, Reset and Quit are as
# large as ever, below the others or a turn of the wheel away.
start_app
right_panel="392 0 248 440"
resized_to 640 480
settle $right_panel
cp "$WORK/shot.ppm" "$WORK/start-up-small.ppm"
resized_to 1200 750
click $STATIC
click $TWIN
open_rollouts
resized_to 640 480
press -2
start_up_small() { alike "$WORK/start-up-small.ppm" "$WORK/shot.ppm" $right_panel; }
wait_for "the start-up settings after Reset at 640 x 480" start_up_small
ended "Quit at 640 x 480" press -1
[ "$APP_STATUS" -eq 0 ] || fail "Quit at 640 x 480 ended the program with status $APP_STATUS"
echo "panels: ok"
