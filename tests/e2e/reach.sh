#!/usr/bin/env bash
# Every control within reach: with the three rollouts of the bottom panel
# open, in a 1200 x 750 window and in a 640 x 480 one, a click on Reset
# brings the start-up settings back and a click on Quit ends the program
# with status 0, wherever the panel has wrapped or scrolled them to.
source "$(dirname "$0")/lib.sh" "$@"
start_x

# The right panel down to "Lines", in a window of the size reached.
right_panel() { echo $((W - 248)) 0 248 440; }

# The rollouts opened one by one where all show, the pointer moved off
# each header afterwards; each shows its text.
open_rollouts() {
  W=1200 H=750
  for k in 1 2 3; do
    headers() { mapfile -t HEADERS < <(bottom_boxes $HEADER); [ ${#HEADERS[@]} -ge $k ]; }
    wait_for "rollout header $k" headers
    local text=$(count white 0 375 940 375)
    click_box "${HEADERS[k - 1]}"
    xdotool mousemove 400 100
    opened() { [ "$(count white 0 375 940 375)" -gt $((text + 200)) ]; }
    wait_for "rollout $k to open" opened
  done
}

for size in "1200 750" "640 480"; do
  start_app
  read -r W H <<<"$size"
  resized_to $W $H
  settle $(right_panel)
  cp "$WORK/shot.ppm" "$WORK/start-up-here.ppm"
  resized_to 1200 750
  click $STATIC
  click $TWIN
  open_rollouts
  keep "rollouts-open"
  read -r W H <<<"$size"
  resized_to $W $H
  wait_for "Reset and Quit at $size" scroll_to_buttons
  keep "buttons-at-$W-$H"
  click_box "${BUTTONS[-2]}"
  start_up_here() { alike "$WORK/start-up-here.ppm" "$WORK/shot.ppm" $(right_panel); }
  wait_for "the start-up settings after Reset at $size" start_up_here
  wait_for "Quit at $size" scroll_to_buttons
  ended "Quit at $size" click_box "${BUTTONS[-1]}"
  [ "$APP_STATUS" -eq 0 ] || fail "Quit at $size ended the program with status $APP_STATUS"
done
echo "reach: ok"
