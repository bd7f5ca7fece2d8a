#!/usr/bin/env bash
# On a screen of 192 dots an inch the panels' text is twice as tall as at
# the scale of 96 (asked for here with TRESOLVA_SCALE=1 on the same
# screen), the panels twice as wide, and Reset and Quit still work.
E2E_SCREEN="-screen 0 2560x1600x24 -dpi 192"
source "$(dirname "$0")/lib.sh" "$@"

# Rows of the Reset button that hold its text, and the right panel's width.
measure() {
  wait_for "Reset and Quit at $W x $H" buttons
  read -r x0 y0 x1 y1 <<<"${BUTTONS[-2]}"
  TEXT=0
  for y in $(seq "$y0" "$y1"); do [ "$(count white "$x0" "$y" $((x1 - x0)) 1)" -eq 0 ] || TEXT=$((TEXT + 1)); done
  PANEL=$(count panel 0 $((H / 3)) "$W" 1)
}
TRESOLVA_SCALE=1 start_app
measure
text1=$TEXT panel1=$PANEL
ended "Quit at scale 1" press -1
start_app
[ "$W" -ge 2000 ] || fail "the window did not grow with the screen's density: $W x $H"
measure
echo "capitals and panel at 96 and 192 dpi: $text1 and $TEXT rows, $panel1 and $PANEL pixels"
[ $((TEXT * 10)) -ge $((text1 * 18)) ] || fail "the text grew from $text1 to $TEXT rows only"
[ $((PANEL * 10)) -ge $((panel1 * 18)) ] || fail "the right panel grew from $panel1 to $PANEL pixels only"
ended "Quit at 192 dpi" press -1
