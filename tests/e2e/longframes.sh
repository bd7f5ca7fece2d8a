#!/usr/bin/env bash
# At the panels' limits (Static, tmax 10000, dt 0.0001: 1e8 steps, tens of
# seconds a frame) the program still answers at once: a background chosen
# shows on the scene, a typed character shows in its field, Reset brings
# back the start-up panel, and Quit and closing the window end it. The
# delays printed are the measurement, a fraction of a second each; one that
# waited for the long frame to end fails.
source "$(dirname "$0")/lib.sh" "$@"
TMIN_FIELD="1008 277 84 17"; SEGMENT_RADIO="965 170 16 16"; LINES_FIELD="1045 417 120 17"

act() { T0=${EPOCHREALTIME/./}; "$@"; } # COMMAND..., timed from now
# Prints how soon WHAT followed the last act, seen at DONE (us), and fails if
# only as the long frame under way ended (over 10 s on any machine): soon WHAT DONE
soon() {
  local took=$((($2 - T0) / 1000))
  echo "$1: within $took ms"
  [ "$took" -lt 5000 ] || fail "$1 only as the long frame ended"
}
# Waits, shooting without pause, for COMMAND to show the act: answer WHAT COMMAND
answer() { POLL=0 wait_for "$1" "${@:2}" && soon "$1" "$SHOT_BEGUN"; }
gone() { act ended "$@" && soon "$1 to end the program" "${EPOCHREALTIME/./}"; }

# From the start-up settings to 1e8 steps a frame, Static chosen last:
# once Segment shows unchosen, every input before has been taken. The
# frames that take the click end 0.1 s in; once the panel has held still
# for a while, a long frame is under way.
static_chosen() { [ "$(differ "$WORK/start-up.ppm" "$WORK/shot.ppm" $SEGMENT_RADIO)" -gt 20 ]; }
slow_down() {
  enter $TMAX 10000
  enter $DT 0.0001
  click $STATIC
  wait_for "Static chosen after tmax and dt" static_chosen
  settle $RIGHT_PANEL
}

start_app
still start-up $RIGHT_PANEL
slow_down

# White chosen from the list of backgrounds shows on the scene, and the
# list closes: the first item of the open list lies over the Lines field.
changes "the list of backgrounds" 1045 420 150 50 click $BACKGROUND
act click $LINES
answer "the white background after a click on White" white_scene
list_closed() { alike "$WORK/start-up.ppm" "$WORK/shot.ppm" $LINES_FIELD; }
answer "the list of backgrounds closed after the click" list_closed

# The field is selected on activation: the text shows highlighted.
shot "$WORK/before.ppm"
click $TMIN
typed() { [ "$(differ "$WORK/before.ppm" "$WORK/shot.ppm" $TMIN_FIELD)" -gt 10 ]; }
wait_for "the tmin field to take the edit" typed
settle $TMIN_FIELD
for c in 7 5; do
  shot "$WORK/before.ppm"
  act xdotool type $c
  answer "the character $c typed into the tmin field" typed
done
xdotool key Escape

point $RESET
act xdotool click 1
start_up_panel() { alike "$WORK/start-up.ppm" "$WORK/shot.ppm" $RIGHT_PANEL; }
answer "the start-up panel after a click on Reset" start_up_panel

slow_down
point $QUIT
gone "a click on Quit" xdotool click 1
start_app
slow_down
gone "closing the window" "$(dirname "$PIXELS")/closewindow" "$WID"
