#!/usr/bin/env bash
# At the panels' limits (Static, tmax 10000, dt 0.0001: 1e8 steps, tens of
# seconds a frame) the program still answers at once: a background chosen
# shows on the scene, a typed character
# shows in its field, Reset brings back the start-up panel, Quit ends it
# with status 0, and closing the window ends it. The delays seen are
# printed: they are the measurement, a fraction of a second each. The
# deadline only catches a program that no longer answers at all.
source "$(dirname "$0")/lib.sh" "$@"
CLOSE=$(dirname "$PIXELS")/closewindow
RIGHT_PANEL="952 0 248 440"; TMIN_FIELD="1008 277 84 17"; SEGMENT_RADIO="965 170 16 16"
LINES_FIELD="1045 417 120 17"

us() { echo "${EPOCHREALTIME/./}"; }
span() { local d=$(($2 - $1)); printf "%d.%03d s" $((d / 1000000)) $((d % 1000000 / 1000)); }
# Waits for COMMAND after the time T0 (from us), shooting without pause,
# and prints when the first screenshot that showed it was begun:
# answer WHAT T0 COMMAND
answer() {
  local what=$1 t0=$2
  shift 2
  POLL=0 wait_for "$what" "$@"
  echo "$what: within $(span "$t0" "$SHOT_BEGUN")"
  TOOK=$((SHOT_BEGUN - t0))
}
gone() {
  local t0=$(us)
  ended "$@"
  echo "$1: ended within $(span "$t0" "$(us)")"
}

# Typed into a field; Enter commits it.
enter() { click $1 $2 && xdotool type "$3" && xdotool key Return; }

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
wait_for "the first picture" curve_drawn
settle $RIGHT_PANEL
cp "$WORK/shot.ppm" "$WORK/start-up.ppm"
slow_down

# White chosen from the list of backgrounds shows on the scene, and the
# list closes, at once, not as the long frame drawn after the choice ends
# (over 10 s on any machine): the first item of the open list lies over
# the Lines field.
click_until_changed "the list of backgrounds" $BACKGROUND 1045 420 150 50
t0=$(us)
click $LINES
white_scene() { [ "$(count white $SCENE)" -gt 300000 ]; }
answer "the white background after a click on White" "$t0" white_scene
[ "$TOOK" -lt 5000000 ] || fail "White showed only as the long frame ended"
list_closed() { alike "$WORK/start-up.ppm" "$WORK/shot.ppm" $LINES_FIELD; }
answer "the list of backgrounds closed after the click" "$t0" list_closed
[ "$TOOK" -lt 5000000 ] || fail "the list closed only as the long frame ended"
keep white-in-a-long-frame

# The field is selected on activation: the text shows highlighted.
shot "$WORK/before.ppm"
click $TMIN
typed() { [ "$(differ "$WORK/before.ppm" "$WORK/shot.ppm" $TMIN_FIELD)" -gt 10 ]; }
wait_for "the tmin field to take the edit" typed
settle $TMIN_FIELD
for c in 7 5; do
  shot "$WORK/before.ppm"
  t0=$(us)
  xdotool type $c
  answer "the character $c typed into the tmin field" "$t0" typed
done
xdotool key Escape

point $RESET
t0=$(us)
xdotool click 1
start_up_panel() { alike "$WORK/start-up.ppm" "$WORK/shot.ppm" $RIGHT_PANEL; }
answer "the start-up panel after a click on Reset" "$t0" start_up_panel

slow_down
point $QUIT
gone "a click on Quit" xdotool click 1
[ "$APP_STATUS" -eq 0 ] || fail "Quit ended the program with status $APP_STATUS"

start_app
wait_for "the first picture again" curve_drawn
slow_down
gone "closing the window" "$CLOSE" "$WID"
echo "longframes: ok"
