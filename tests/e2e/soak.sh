#!/usr/bin/env bash
# Soak: random drags with each button and wheel turns, random keys (space,
# s, z held and released, the help and the readout shown and hidden),
# random clicks over both panels (all but Quit) and window resizes down to
# 1 x 1, for SOAK_SECONDS (60 unless set; longer by hand:
# SOAK_SECONDS=900 tests/e2e/soak.sh TRESOLVA PIXELS). Then Reset: the
# panel shows the start-up settings, wherever the rollouts left open have
# moved them; the program still runs and draws, raised no GL error (given
# the build that reports them), and its resident memory is within 10 MiB
# of what it was after the first five seconds.
source "$(dirname "$0")/lib.sh" "$@"
SOAK_SECONDS=${SOAK_SECONDS:-60}
RANDOM=${SOAK_SEED:-20261206}
echo "soak: ${SOAK_SECONDS}s, seed ${SOAK_SEED:-20261206}"
# Mesa's rasterizer threads keep a queue of scenes whose memory grows for
# minutes with some settings (twin on with thick lines); without them the
# resident memory is the program's own, which is what this test watches.
export LP_NUM_THREADS=0
start_app

rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$APP_PID/status"; }
rnd() { echo $(($1 + RANDOM % ($2 - $1 + 1))); }

# Strokes may leave the window past its right and bottom edges, as a
# person's do (xdotool reads a negative number as an option).
pos() { echo $(($1 < 0 ? 0 : $1)); }
drag() {
  local b=$(rnd 1 5) x=$(rnd 10 $((W > 300 ? W - 300 : 10))) y=$(rnd 10 $((H > 100 ? H - 100 : 10)))
  xdotool mousemove --sync "$x" "$y" mousedown "$b"
  for _ in 1 2 3 4; do xdotool mousemove "$(pos $((x + $(rnd -40 40))))" "$(pos $((y + $(rnd -40 40))))"; done
  xdotool mouseup "$b"
}

keys() {
  local x=$(rnd 0 $((W - 1))) y=$(rnd 0 $((H - 1)))
  case $(rnd 0 4) in
  0) xdotool key space ;;
  1) xdotool key s ;;
  3) xdotool key h ;;
  4) xdotool key i ;;
  2) xdotool mousemove --sync "$x" "$y" keydown z
     for _ in 1 2 3; do xdotool mousemove "$x" "$(pos $((y + $(rnd -30 30))))"; done
     xdotool keyup z ;;
  esac
}

# A point of the right panel, or of the bottom panel anywhere but on Quit
# (the rollouts move it as they open): none while Reset and Quit are not
# both in sight.
panel_click() {
  local x y
  if [ $((RANDOM % 2)) -eq 0 ]; then
    x=$(rnd $((W > 250 ? W - 250 : 0)) $((W - 1))); y=$(rnd 0 $((H - 1)))
  else
    shot
    buttons || return 0
    x=$(rnd 0 $((W > 260 ? W - 260 : 0))); y=$(rnd $((H / 2)) $((H - 1)))
    read -r q0 q1 q2 q3 <<<"${BUTTONS[-1]}"
    [ "$x" -ge $((q0 - 8)) ] && [ "$x" -le $((q2 + 8)) ] && [ "$y" -ge $((q1 - 8)) ] &&
      [ "$y" -le $((q3 + 8)) ] && return 0
  fi
  xdotool mousemove --sync "$x" "$y" click 1
  # A rollout that opens or closes moves Quit: find it afresh only once the
  # bottom rows of the panel have stopped moving.
  [ "$y" -ge $((H / 2)) ] && [ "$H" -ge 40 ] && [ "$W" -ge 300 ] &&
    settle 0 $((H - 12)) $((W - 250)) 6
  return 0
}

resize() {
  local sizes=("1200 750" "900 600" "500 300" "1 1" "1100 700" "300 900" "1 750" "1200 1")
  read -r W H <<<"${sizes[$(rnd 0 7)]}"
  xdotool windowsize "$WID" "$W" "$H"
}

# First the heaviest drawing the panels offer (the twin on, "Thicker"
# lines), so that the baseline holds the renderer's pools.
wait_for "the first picture" curve_drawn
settle $START_UP_ROWS
cp "$WORK/shot.ppm" "$WORK/start-up.ppm"
click $TWIN
wait_for "the twin" twin_drawn
cp "$WORK/shot.ppm" "$WORK/closed.ppm"
click_until_changed "the list of line widths" $LINES 1045 440 150 50 # opens under the field
click 1070 478 # Thicker
list_closed() { alike "$WORK/closed.ppm" "$WORK/shot.ppm" 1045 440 150 50; }
wait_for "Thicker to be chosen" list_closed
# Mesa's pools grow over the first frames of it: drag on until the
# resident memory holds still for two seconds, then five more seconds.
steady() {
  local was=$(rss_kib) mark=$SECONDS
  while [ $((SECONDS - mark)) -lt 2 ]; do drag; done
  [ $(($(rss_kib) - was)) -lt 512 ]
}
POLL=0 within "the resident memory never held still" steady
start=$SECONDS
while [ $((SECONDS - start)) -lt 5 ]; do drag; done
baseline=$(rss_kib)

while [ $((SECONDS - start)) -lt "$SOAK_SECONDS" ]; do
  alive || fail "tresolva died during the soak (see $WORK/app.log)"
  case $(rnd 0 9) in
  0|1|2) drag ;;
  3|4) keys ;;
  5|6|7|8) panel_click ;;
  9) resize ;;
  esac
  [ -n "${SOAK_TRACE:-}" ] && echo "$((SECONDS - start))s $(rss_kib) KiB ${W}x${H}"
done
alive || fail "tresolva died during the soak"
if grep -q "GL error" "$WORK/app.log"; then fail "GL errors: $(sort -u "$WORK/app.log" | head)"; fi

# Back to full size and the start-up settings, then it must still flow.
resized_to 1200 750
xdotool key Escape
press -2
wait_for "the start-up settings in the panel after Reset" start_up_rows

shot "$WORK/after-reset.ppm"
flowing() { [ "$(differ "$WORK/after-reset.ppm" "$WORK/shot.ppm" 0 0 900 600)" -gt 500 ]; }
wait_for "the curve to flow after the soak" flowing
end_rss=$(rss_kib)
echo "resident memory: ${baseline} KiB after 5 s, ${end_rss} KiB at the end"
[ $((end_rss - baseline)) -le 10240 ] || fail "resident memory grew by $(((end_rss - baseline) / 1024)) MiB"
echo "soak: ok"
