# Helpers for the end-to-end tests: a private Xvfb, the real program, input
# through xdotool, screenshots, and polling with a generous deadline.
#   source lib.sh TRESOLVA PIXELS [TRESOLVA-BATCH]
set -u
APP=$1
PIXELS=$2
BATCH=${3:-}
WORK=$(mktemp -d)
DEADLINE=${E2E_DEADLINE:-60}   # seconds any one expectation may take
APP_PID=""
XVFB_PID=""

cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/shot.ppm" ] && cp "$WORK/shot.ppm" "${E2E_KEEP:-/tmp}/e2e-failure-$(basename "$0" .sh).ppm"
  exit 1
}

# A private Xvfb on a display it picks; tried again if the server it
# names does not answer (a display number just freed can be taken back).
# It keeps running as it was when its last client leaves, so that the
# program can be started again.
start_x() {
  local try end
  for try in 1 2 3 4 5; do
    [ "$try" -gt 1 ] && sleep 1
    : >"$WORK/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" \
      2>>"$WORK/xvfb.log" &
    XVFB_PID=$!
    end=$((SECONDS + DEADLINE))
    while [ ! -s "$WORK/display" ] && kill -0 "$XVFB_PID" 2>/dev/null && [ $SECONDS -lt $end ]; do
      sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$WORK/display")"
    until xdotool getdisplaygeometry >/dev/null 2>&1 || ! kill -0 "$XVFB_PID" 2>/dev/null ||
      [ $SECONDS -ge $end ]; do sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    kill "$XVFB_PID" 2>/dev/null
  done
  fail "Xvfb did not start: $(tail -5 "$WORK/xvfb.log")"
}

# Starts the program and waits for its window to be mapped.
start_app() {
  "$APP" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  local end=$((SECONDS + DEADLINE))
  WID=""
  while [ -z "$WID" ]; do
    [ $SECONDS -lt $end ] || fail "no Tresolva window"
    kill -0 "$APP_PID" 2>/dev/null || fail "tresolva exited: $(cat "$WORK/app.log")"
    WID=$(xdotool search --onlyvisible --name '^Tresolva$' 2>/dev/null | head -n1)
    sleep 0.2
  done
  # The toolkit leaves the position to the server, which puts the window at
  # (-1, -1); at the origin, window and screen pixels agree.
  xdotool windowmove "$WID" 0 0
  local end2=$((SECONDS + DEADLINE))
  until xdotool getwindowgeometry "$WID" | grep -q "Position: 0,0"; do
    [ $SECONDS -lt $end2 ] || fail "window did not move to the origin"
    sleep 0.1
  done
}

alive() { kill -0 "$APP_PID" 2>/dev/null; }

# A screenshot of the window into $WORK/shot.ppm (or the file given).
shot() {
  local out=${1:-$WORK/shot.ppm}
  xwd -silent -id "$WID" | convert xwd:- "ppm:$out"
}

# Pixel counts of the last screenshot in a rectangle: count CLASS X Y W H
count() {
  "$PIXELS" "$WORK/shot.ppm" "$2" "$3" "$4" "$5" | tr ' ' '\n' | sed -n "s/^$1=//p"
}

# Polls COMMAND (a shell function) with fresh screenshots, POLL seconds
# apart (0.3 unless set), until it succeeds or the deadline passes.
# SHOT_BEGUN is when the screenshot that showed it was begun (microseconds).
wait_for() {
  local what=$1
  shift
  local end=$((SECONDS + DEADLINE))
  while :; do
    alive || { wait "$APP_PID"; fail "tresolva ended with status $? while waiting for: $what; $(tail -3 "$WORK/app.log")"; }
    SHOT_BEGUN=${EPOCHREALTIME/./}
    shot
    "$@" && return 0
    [ $SECONDS -lt $end ] || fail "timed out waiting for: $what"
    sleep "${POLL:-0.3}"
  done
}

# Waits for the program to end (COMMAND, if given, ends it) and takes its
# exit status into APP_STATUS: ended WHAT [COMMAND...]
ended() {
  local what=$1 end=$((SECONDS + DEADLINE))
  "${@:2}"
  while alive; do
    [ $SECONDS -lt $end ] || fail "$what did not end the program"
    sleep 0.02
  done
  wait "$APP_PID"
  APP_STATUS=$?
  APP_PID=""
}

# Pixels of a rectangle that differ between two screenshots: differ A B X Y W H
differ() { "$PIXELS" --diff "$1" "$2" "$3" "$4" "$5" "$6"; }

# Whether a rectangle shows the same thing in two screenshots, up to the
# rasteriser's rounding of anti-aliased fringes: alike A B X Y W H
alike() { "$PIXELS" --alike "$1" "$2" "$3" "$4" "$5" "$6"; }

# Resizes the window and waits until it has the size: resized_to W H
resized_to() {
  xdotool windowsize "$WID" "$1" "$2"
  local end=$((SECONDS + DEADLINE))
  until xdotool getwindowgeometry "$WID" | grep -q "Geometry: $1x$2"; do
    [ $SECONDS -lt $end ] || fail "the window did not take $1 x $2"
    sleep 0.1
  done
}

# A click of the left button at window pixel (X, Y).
click() {
  xdotool mousemove --sync "$1" "$2" click 1
}

# Clicks at (X, Y) and waits for the rectangle R to change:
#   click_until_changed WHAT X Y R
click_until_changed() {
  local what=$1 x=$2 y=$3
  shift 3
  shot "$WORK/unclicked.ppm"
  click "$x" "$y"
  changed() { [ "$(differ "$WORK/unclicked.ppm" "$WORK/shot.ppm" "$@")" -gt 500 ]; }
  wait_for "$what" changed "$@"
}

# Waits until the rectangle X Y W H (the whole window when none is given)
# is the same in two screenshots 0.4 s apart, so that a frame came between
# them: a still picture, or a panel that has finished changing. The same
# frame drawn at the same place gives the same bytes, so this compares
# exactly. The last screenshot stays in $WORK/shot.ppm.
settle() {
  local end=$((SECONDS + DEADLINE)) rect=("$@")
  [ ${#rect[@]} -eq 4 ] || rect=(0 0 100000 100000)
  shot "$WORK/settle.ppm"
  while :; do
    sleep 0.4
    shot
    [ "$(differ "$WORK/settle.ppm" "$WORK/shot.ppm" "${rect[@]}")" -eq 0 ] && return 0
    [ $SECONDS -lt $end ] || fail "the picture never settled"
    cp "$WORK/shot.ppm" "$WORK/settle.ppm"
  done
}

# Where the controls sit in the 1200 x 750 window with every rollout closed.
ROESSLER="975 50"; STATIC="975 138"; TWIN="964 207"; TMIN="1035 285"; TMAX="1035 305"
DT="1035 325"; BACKGROUND="1090 405"; LINES="1090 425"
INFO="100 734"; AXES="222 734"; BOX="282 734"; TRACER="418 734"; MAXMAP="490 734"
RESET="607 734"; QUIT="660 734"
# The scene of the 1200 x 750 window, clear of both panels.
SCENE="0 0 940 700"
curve_drawn() { [ "$(count red $SCENE)" -gt 2000 ]; }
twin_drawn() { [ "$(count blue $SCENE)" -gt 500 ]; }

# The right panel's controls from the twin's row down to "Lines", as
# $WORK/start-up.ppm shows them (a screenshot with every rollout closed):
# rollouts opened above them move them down, a scroll bar sideways.
# start_up_rows finds them in the last screenshot, DX and DY apart.
START_UP_ROWS="952 198 220 236"
start_up_rows() {
  local at
  at=$("$PIXELS" --find "$WORK/start-up.ppm" "$WORK/shot.ppm" $START_UP_ROWS)
  [ "$at" != none ] && read -r DX DY <<<"$at"
}

# The patches of colour R G B in the bottom panel of the W x H window, as
# the last screenshot shows it (half the window at most, left of the right
# panel, which is 262 pixels wide at most): bottom_boxes R G B
bottom_boxes() {
  local ph=$(count panel 2 0 1 "$H")
  [ "$ph" -le $((H / 2)) ] || ph=$((H / 2))
  "$PIXELS" --boxes "$WORK/shot.ppm" 0 $((H - ph)) $((W - 262)) "$ph" "$@"
}
BUTTON="51 86 129"; HEADER="49 77 111" # a button and a rollout's header, the pointer off them
# Reset and Quit, the bottom panel's last two buttons, into BUTTONS.
buttons() { mapfile -t BUTTONS < <(bottom_boxes $BUTTON); [ ${#BUTTONS[@]} -ge 2 ]; }
# The same, or else the wheel turned once down over the bottom panel.
scroll_to_buttons() { buttons || { xdotool mousemove 100 $((H - 20)) click 5; return 1; }; }
# A click in the middle of a box "X0 Y0 X1 Y1".
click_box() { read -r x0 y0 x1 y1 <<<"$1"; click $(((x0 + x1) / 2)) $(((y0 + y1) / 2)); }

# Keeps the last screenshot for a person to look at: keep NAME
keep() {
  [ -n "${E2E_SHOTS:-}" ] && mkdir -p "$E2E_SHOTS" && convert "$WORK/shot.ppm" "$E2E_SHOTS/$1.png"
  return 0
}
