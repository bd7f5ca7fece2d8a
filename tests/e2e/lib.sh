# The end-to-end tests' harness: source lib.sh TRESOLVA PIXELS [TRESOLVA-BATCH]
set -u
APP=$1 PIXELS=$2 BATCH=${3:-}
# -noreset keeps the display up when the program ends, to start it again.
[ -n "${E2E_XVFB:-}" ] ||
  E2E_XVFB=1 exec xvfb-run -a -n $((100 + $$ % 800)) -s "${E2E_SCREEN:--screen 0 1280x1024x24 -dpi 96} -noreset" \
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
# Retries COMMAND every POLL seconds (0.1 unless set): within WHY COMMAND...
within() {
  local why=$1 end=$((SECONDS + DEADLINE))
  until "${@:2}"; do [ $SECONDS -lt $end ] || fail "$why"; sleep "${POLL:-0.1}"; done
}
alive() { kill -0 "$APP_PID" 2>/dev/null; }

# Starts the program, moves its window to the origin (the server puts it at
# -1, -1), where window and screen pixels agree, takes its size into W and
# H, and waits for the first picture.
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
  wait_for "the first picture" eval '[ "$(count red $SCENE)" -gt 2000 ]'
}
geometry() { xdotool getwindowgeometry "$WID" | grep -q "$1"; }

# A screenshot of the window into $WORK/shot.ppm (or the file given).
shot() { xwd -silent -id "$WID" | convert xwd:- "ppm:${1:-$WORK/shot.ppm}"; }
# Pixel counts of the last screenshot in a rectangle: count CLASS X Y W H
count() { "$PIXELS" "$WORK/shot.ppm" "${@:2}" | tr ' ' '\n' | sed -n "s/^$1=//p"; }
differ() { "$PIXELS" --diff "$@"; } # A B X Y W H: how many pixels differ
alike() { "$PIXELS" --alike "$@"; } # A B X Y W H: the same up to anti-aliased fringes

# Retries COMMAND on fresh screenshots POLL seconds apart (0.3 unless set),
# and keeps in SHOT_BEGUN when the one that showed it was begun (in us).
wait_for() {
  local what=$1
  shows() {
    alive || { wait "$APP_PID"; fail "tresolva ended with status $? while waiting for: $what; $(tail -3 "$WORK/app.log")"; }
    SHOT_BEGUN=${EPOCHREALTIME/./}
    shot && "$@"
  }
  POLL=${POLL:-0.3} within "timed out waiting for: $what" shows "${@:2}"
}

# Runs COMMAND and waits for it to end the program with status 0: ended WHAT COMMAND...
ended() {
  "${@:2}"
  POLL=0.02 within "$1 did not end the program" eval '! alive'
  wait "$APP_PID" || fail "$1 ended the program with status $?"
  APP_PID=""
}

# Waits until X Y W H (the whole window if not given) is the same in two
# screenshots 0.4 s apart: a still picture, or a panel done changing. The
# same frame gives the same bytes, so this compares exactly.
settle() {
  local rect=(${*:-0 0 100000 100000})
  shot
  unchanged() {
    cp "$WORK/shot.ppm" "$WORK/settle.ppm" && sleep 0.4 && shot
    [ "$(differ "$WORK/settle.ppm" "$WORK/shot.ppm" "${rect[@]}")" -eq 0 ]
  }
  POLL=0 within "the picture never settled" unchanged
}
still() { settle "${@:2}" && cp "$WORK/shot.ppm" "$WORK/$1.ppm"; } # NAME [X Y W H]
# Runs COMMAND on a still rectangle, kept as $WORK/unchanged.ppm, and waits
# for over 1000 of its pixels to change: changes WHAT X Y W H COMMAND...
changes() {
  local rect=("${@:2:4}")
  still unchanged "${rect[@]}"
  "${@:6}"
  changed() { [ "$(differ "$WORK/unchanged.ppm" "$WORK/shot.ppm" "${rect[@]}")" -gt 1000 ]; }
  wait_for "$1" changed
}

# Resizes the window (W and H) and waits for a frame with the bottom panel
# along its bottom edge: resized_to W H
resized_to() {
  W=$1 H=$2
  xdotool windowsize "$WID" "$1" "$2"
  within "the window did not take $1 x $2" geometry "Geometry: $1x$2"
  drawn_to_size() { [ "$(count panel 2 $((H - 4)) 1 3)" -eq 3 ]; } # above its border
  wait_for "a frame at $1 x $2" drawn_to_size
}

# xdotool's --sync waits 15 s for a motion to where the pointer already is.
point() { xdotool getmouselocation | grep -q "^x:$1 y:$2 " || xdotool mousemove --sync "$1" "$2"; }
click() { point "$1" "$2" && xdotool click 1; }
enter() { click $1 $2 && xdotool type "$3" && xdotool key Return; } # X Y TEXT into a field

# The 1200 x 750 window with every rollout closed: its controls, and the
# scene clear of both panels.
STATIC="975 138"; TWIN="964 207"; TMIN="1035 285"; TMAX="1035 305"
DT="1035 325"; BACKGROUND="1090 405"; LINES="1090 425"
AXES="222 734"; BOX="282 734"; RESET="607 734"; QUIT="660 734"
RIGHT_PANEL="952 0 248 440"; SCENE="0 0 940 700"
twin_drawn() { [ "$(count blue $SCENE)" -gt 500 ]; }
white_scene() { [ "$(count white $SCENE)" -gt 300000 ]; }

# The right panel's rows from the twin's down to "Lines" in
# $WORK/start-up.ppm: start_up_rows finds them in the last screenshot,
# DX and DY away (rollouts opened above move them down, a scroll bar left).
START_UP_ROWS="952 198 220 236"
start_up_rows() {
  read -r DX DY < <("$PIXELS" --find "$WORK/start-up.ppm" "$WORK/shot.ppm" $START_UP_ROWS) &&
    [ "$DX" != none ]
}

# The bottom panel, "X Y W H" in the last screenshot: half the window at
# most, left of the right panel (262 pixels wide at most).
bottom_panel() {
  local ph=$(count panel 2 0 1 "$H")
  [ "$ph" -le $((H / 2)) ] || ph=$((H / 2))
  echo 0 $((H - ph)) $((W - 262)) "$ph"
}
bottom_boxes() { "$PIXELS" --boxes "$WORK/shot.ppm" $(bottom_panel) "$@"; } # R G B
BUTTON="51 86 129"; HEADER="49 77 111" # a button and a rollout's header, the pointer off them
# Reset and Quit, the last two buttons, into BUTTONS: boxes wider than
# high, for a check box under the pointer (after the wheel) takes a
# button's colour too.
buttons() {
  mapfile -t BUTTONS < <(bottom_boxes $BUTTON | awk '2 * ($3 - $1) > 3 * ($4 - $2)')
  [ ${#BUTTONS[@]} -ge 2 ]
}
scroll_to_buttons() { buttons || { xdotool mousemove 100 $((H - 20)) click 5; return 1; }; }
click_box() { read -r x0 y0 x1 y1 <<<"$1"; click $(((x0 + x1) / 2)) $(((y0 + y1) / 2)); }
# A click on Reset (press -2) or Quit (press -1), scrolled into sight.
press() { wait_for "Reset and Quit" scroll_to_buttons && click_box "${BUTTONS[$1]}"; }

# Opens the bottom panel's three rollouts, which all show at 1200 x 750, each
# once the panel holds still (an opened one widens a frame after its text shows).
open_rollouts() {
  for k in 0 1 2; do
    settle $(bottom_panel)
    mapfile -t HEADERS < <(bottom_boxes $HEADER)
    [ ${#HEADERS[@]} -gt $k ] || fail "no header for rollout $((k + 1))"
    local text=$(count white $(bottom_panel))
    click_box "${HEADERS[k]}"
    xdotool mousemove 400 100 # off the header, whose colour changes under the pointer
    opened() { [ "$(count white $(bottom_panel))" -gt $((text + 200)) ]; }
    wait_for "rollout $((k + 1)) to open" opened
  done
}

# The text shown over the scene (help, readout, notices), as the program
# publishes it on its window.
overlay() { xprop -id "$WID" TRESOLVA_TEXT 2>/dev/null | sed -n 's/^TRESOLVA_TEXT(UTF8_STRING) = "//p' | sed 's/\\n/\n/g; s/"$//'; }
shows_text() { overlay | grep -q "$1"; }

# Fails unless the batch program renders SETTINGS as the top left W x H of
# the screenshot SHOT, pixel for pixel: renders_as SETTINGS SHOT W H ARGS...
renders_as() {
  env -u DISPLAY "$BATCH" render -s "$1" "${@:5}" -o "$WORK/render.png" || fail "tresolva-batch render failed"
  convert "$WORK/render.png" "ppm:$WORK/render.ppm"
  local n=$(differ "$2" "$WORK/render.ppm" 0 0 "$3" "$4")
  [ "$n" -eq 0 ] || { cp "$WORK/render.png" "$1" "${E2E_KEEP:-/tmp}/"; fail "$(basename "$1") renders $n pixels otherwise (kept: render.png)"; }
}
# The view as p prints it, into $WORK/NAME: printed NAME
printed() {
  local before=$(grep -c "^pan_y" "$WORK/app.log")
  xdotool key p
  within "the settings on standard output" eval '[ "$(grep -c "^pan_y" "$WORK/app.log")" -gt "$before" ]'
  awk '/^# Tresolva settings/ { text = "" } { text = text $0 "\n" } END { printf "%s", text }' "$WORK/app.log" >"$WORK/$1"
}
