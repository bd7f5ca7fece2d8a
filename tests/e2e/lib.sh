# Helpers for the end-to-end tests: a private Xvfb, the real program, input
# through xdotool, screenshots, and polling with a generous deadline.
#   source lib.sh TRESOLVA PIXELS [TRESOLVA-BATCH]
set -u
APP=$1
PIXELS=$2
BATCH=${3:-}
# On a private Xvfb display of its own, which keeps running as it was when
# its last client leaves, so that the program can be started again.
# E2E_SCREEN may ask for another screen (its size and resolution).
[ -n "${E2E_XVFB:-}" ] ||
  E2E_XVFB=1 exec xvfb-run -a -s "${E2E_SCREEN:--screen 0 1280x1024x24 -dpi 96} -noreset" \
    bash "$0" "$@"
WORK=$(mktemp -d)
DEADLINE=${E2E_DEADLINE:-60}   # seconds any one expectation may take
APP_PID=""

trap '[ -z "$APP_PID" ] || kill "$APP_PID" 2>/dev/null; rm -rf "$WORK"' EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/shot.ppm" ] && cp "$WORK/shot.ppm" "${E2E_KEEP:-/tmp}/e2e-failure-$(basename "$0" .sh).ppm"
  exit 1
}

# Runs COMMAND every POLL seconds (0.1 unless set) until it succeeds;
# fails with WHY once the deadline has passed: within WHY COMMAND...
within() {
  local why=$1 end=$((SECONDS + DEADLINE))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || fail "$why"
    sleep "${POLL:-0.1}"
  done
}

# Starts the program and waits for its window to be mapped, at the
# origin: the toolkit leaves the position to the server, which puts it at
# (-1, -1), and at the origin window and screen pixels agree.
start_app() {
  "$APP" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  mapped() {
    alive || fail "tresolva exited: $(cat "$WORK/app.log")"
    WID=$(xdotool search --onlyvisible --name '^Tresolva$' 2>/dev/null | head -n1)
    [ -n "$WID" ]
  }
  within "no Tresolva window" mapped
  xdotool windowmove "$WID" 0 0
  within "the window did not move to the origin" geometry "Position: 0,0"
  read -r W H < <(xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
}
geometry() { xdotool getwindowgeometry "$WID" | grep -q "$1"; }

alive() { kill -0 "$APP_PID" 2>/dev/null; }

# A screenshot of the window into $WORK/shot.ppm (or the file given).
shot() { xwd -silent -id "$WID" | convert xwd:- "ppm:${1:-$WORK/shot.ppm}"; }

# Pixel counts of the last screenshot in a rectangle: count CLASS X Y W H
count() { "$PIXELS" "$WORK/shot.ppm" "${@:2}" | tr ' ' '\n' | sed -n "s/^$1=//p"; }

# Polls COMMAND (a shell function) with fresh screenshots, POLL seconds
# apart (0.3 unless set), until it succeeds or the deadline passes.
# SHOT_BEGUN is when the screenshot that showed it was begun (microseconds).
wait_for() {
  local what=$1
  shift
  shows() {
    alive || { wait "$APP_PID"; fail "tresolva ended with status $? while waiting for: $what; $(tail -3 "$WORK/app.log")"; }
    SHOT_BEGUN=${EPOCHREALTIME/./}
    shot
    "$@"
  }
  POLL=${POLL:-0.3} within "timed out waiting for: $what" shows "$@"
}

# Waits for the program to end (COMMAND, if given, ends it) and takes its
# exit status into APP_STATUS: ended WHAT [COMMAND...]
ended() {
  "${@:2}"
  POLL=0.02 within "$1 did not end the program" eval '! alive'
  wait "$APP_PID"
  APP_STATUS=$?
  APP_PID=""
}

# Pixels of a rectangle that differ between two screenshots: differ A B X Y W H
differ() { "$PIXELS" --diff "$@"; }

# Whether a rectangle shows the same thing in two screenshots, up to the
# rasteriser's rounding of anti-aliased fringes: alike A B X Y W H
alike() { "$PIXELS" --alike "$@"; }

# Resizes the window, takes the size into W and H, and waits until the
# window has it and a frame at that size has its bottom panel along the
# bottom edge: resized_to W H
resized_to() {
  W=$1 H=$2
  xdotool windowsize "$WID" "$1" "$2"
  within "the window did not take $1 x $2" geometry "Geometry: $1x$2"
  drawn_to_size() { [ "$(count panel 2 $((H - 4)) 1 3)" -eq 3 ]; } # above its border
  wait_for "a frame at $1 x $2" drawn_to_size
}

# Moves the pointer to window pixel (X, Y) and waits until it is there
# (xdotool's own wait, asked to move where the pointer already is, waits
# 15 s for a motion that never comes): point X Y
point() { xdotool getmouselocation | grep -q "^x:$1 y:$2 " || xdotool mousemove --sync "$1" "$2"; }
# A click of the left button at window pixel (X, Y).
click() { point "$1" "$2" && xdotool click 1; }

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
  local rect=("$@")
  [ ${#rect[@]} -eq 4 ] || rect=(0 0 100000 100000)
  shot
  still() {
    cp "$WORK/shot.ppm" "$WORK/settle.ppm"
    sleep 0.4
    shot
    [ "$(differ "$WORK/settle.ppm" "$WORK/shot.ppm" "${rect[@]}")" -eq 0 ]
  }
  POLL=0 within "the picture never settled" still
}

# Where the controls sit in the 1200 x 750 window with every rollout closed.
ROESSLER="975 50"; STATIC="975 138"; TWIN="964 207"; TMIN="1035 285"; TMAX="1035 305"
DT="1035 325"; BACKGROUND="1090 405"; LINES="1090 425"
AXES="222 734"; BOX="282 734"; MAXMAP="490 734"; RESET="607 734"; QUIT="660 734"
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

# The bottom panel of the W x H window as the last screenshot shows it,
# "X Y W H": half the window at most, left of the right panel (262 pixels
# wide at most). bottom_boxes R G B: the patches of that colour in it.
bottom_panel() {
  local ph=$(count panel 2 0 1 "$H")
  [ "$ph" -le $((H / 2)) ] || ph=$((H / 2))
  echo 0 $((H - ph)) $((W - 262)) "$ph"
}
bottom_boxes() { "$PIXELS" --boxes "$WORK/shot.ppm" $(bottom_panel) "$@"; }
BUTTON="51 86 129"; HEADER="49 77 111" # a button and a rollout's header, the pointer off them
# Reset and Quit, the bottom panel's last two buttons, into BUTTONS: boxes
# wider than high, for a check box under the pointer (after the wheel)
# takes a button's colour too.
buttons() {
  mapfile -t BUTTONS < <(bottom_boxes $BUTTON | awk '2 * ($3 - $1) > 3 * ($4 - $2)')
  [ ${#BUTTONS[@]} -ge 2 ]
}
# The same, or else the wheel turned once down over the bottom panel.
scroll_to_buttons() { buttons || { xdotool mousemove 100 $((H - 20)) click 5; return 1; }; }
# A click in the middle of a box "X0 Y0 X1 Y1".
click_box() { read -r x0 y0 x1 y1 <<<"$1"; click $(((x0 + x1) / 2)) $(((y0 + y1) / 2)); }
# A click on Reset (press -2) or Quit (press -1), scrolled into sight.
press() { wait_for "Reset and Quit" scroll_to_buttons && click_box "${BUTTONS[$1]}"; }

# Opens the bottom panel's three rollouts in a 1200 x 750 window, where all
# show, the pointer moved off each header once clicked.
open_rollouts() {
  for k in 1 2 3; do
    headers() { mapfile -t HEADERS < <(bottom_boxes $HEADER); [ ${#HEADERS[@]} -ge $k ]; }
    wait_for "rollout header $k" headers
    local text=$(count white $(bottom_panel))
    click_box "${HEADERS[k - 1]}"
    xdotool mousemove 400 100
    opened() { [ "$(count white $(bottom_panel))" -gt $((text + 200)) ]; }
    wait_for "rollout $k to open" opened
  done
}

# The text the program shows over its scene (help, readout, notices), as
# it publishes it on its window.
overlay() { xprop -id "$WID" TRESOLVA_TEXT 2>/dev/null | sed -n 's/^TRESOLVA_TEXT(UTF8_STRING) = "//p' | sed 's/\\n/\n/g; s/"$//'; }
shows_text() { overlay | grep -q "$1"; }

# Keeps the last screenshot for a person to look at: keep NAME
keep() { [ -z "${E2E_SHOTS:-}" ] || { mkdir -p "$E2E_SHOTS" && convert "$WORK/shot.ppm" "$E2E_SHOTS/$1.png"; }; }
