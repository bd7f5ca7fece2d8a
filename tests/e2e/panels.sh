#!/usr/bin/env bash
# The control panels driven as a person would: dt typed after Ctrl+A, the
# background (Esc closing its list unchosen), the box, every rollout open,
# Reset (its settings found again below both parameter rollouts and beside
# a scroll bar), and Quit; then Reset and Quit again with every rollout
# open in a 640 x 480 window.
source "$(dirname "$0")/lib.sh" "$@"
start_app
still start-up $START_UP_ROWS

# Static playback holds the picture still, so every change below shows.
click $STATIC

# Ctrl+A selects the field's text, and what is typed after it replaces it.
click $DT
xdotool key ctrl+a type --delay 50 "0.02"
changes "dt 0.02 to redraw the curve" $SCENE xdotool key Return

# Esc closes the list of backgrounds without choosing: a click where its
# first item, "White", lay over the Lines field opens the list of lines.
BACKGROUNDS="1045 420 150 50"
changes "the list of backgrounds" $BACKGROUNDS click $BACKGROUND
xdotool key Escape
changes "the list of lines" 1045 440 150 50 click $LINES
[ "$(count white $SCENE)" -lt 1000 ] || fail "after Esc, a click chose from the list of backgrounds"
xdotool key Escape
changes "the list of backgrounds again" $BACKGROUNDS click $BACKGROUND
click $LINES
wait_for "the white background" white_scene
black_before=$(count black $SCENE)
click $BOX
box_drawn() { [ "$(count black $SCENE)" -gt $((black_before + 1000)) ]; }
wait_for "the black box on white" box_drawn

open_rollouts
[ "$(count bottom $SCENE)" -lt 440 ] || fail "the scene did not shrink above the open rollouts"
changes "the Lorenz parameters" 952 90 248 150 click 1000 80
changes "the Roessler parameters" 952 250 248 150 click 1000 238 # below the open Lorenz rollout

press -2
start_up() { [ "$(count black 0 0 940 400)" -gt 150000 ] && [ "$(count yellow 0 0 940 400)" -gt 50 ]; }
wait_for "the start-up picture after Reset" start_up

# In a window short enough for the right panel to scroll, the start-up rows
# have moved down below both rollouts and, beside the scroll bar, left.
resized_to 1200 714
moved_rows() { start_up_rows && [ "$DY" -gt 0 ] && [ "$DX" -lt 0 ]; }
wait_for "the start-up rows below both rollouts and beside a scroll bar" moved_rows
resized_to 1200 750
ended "Quit" press -1

# In a 640 x 480 window with every rollout open, Reset and Quit are as
# large as ever, below the others or a turn of the wheel away.
start_app
right_panel="392 0 248 440"
resized_to 640 480
still start-up-small $right_panel
resized_to 1200 750
click $STATIC
click $TWIN
open_rollouts
resized_to 640 480
press -2
start_up_small() { alike "$WORK/start-up-small.ppm" "$WORK/shot.ppm" $right_panel; }
wait_for "the start-up settings after Reset at 640 x 480" start_up_small
ended "Quit at 640 x 480" press -1
