#!/usr/bin/env bash
# Random drags with each button, the wheel or z held, keys (space, s, h,
# i), clicks over both panels (all but Quit) and resizes down to 1 x 1 for
# SOAK_SECONDS (60 unless set). Then, after Reset, the panel shows the
# start-up settings wherever the rollouts left open moved them, the curve
# still flows, no GL error was raised (the build that reports them), and
# the resident memory grew by 10 MiB at most.
source "$(dirname "$0")/lib.sh" "$@"
SOAK_SECONDS=${SOAK_SECONDS:-60}
RANDOM=${SOAK_SEED:-20261206}
echo "soak: ${SOAK_SECONDS}s, seed ${SOAK_SEED:-20261206}"
# Without Mesa's rasterizer threads, whose queue of scenes grows for minutes
# (twin on, thick lines), the resident memory is the program's own.
export LP_NUM_THREADS=0
start_app

rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$APP_PID/status"; }
# rnd VAR LO HI: no $(...) around RANDOM, which bash reseeds in each
# one, so that SOAK_SEED gives the same sequence every time.
rnd() { printf -v "$1" %d $(($2 + RANDOM % ($3 - $2 + 1))); }

# Strokes may leave the window right and below, as a person's do, but not
# left or above: xdotool reads a negative number as an option.
pos() { echo $(($1 < 0 ? 0 : $1)); }
# A stroke with a button held (the wheel's too), or with z held.
drag() {
  local b x y dx dy down=mousedown up=mouseup
  rnd b 1 6; rnd x 10 $((W > 300 ? W - 300 : 10)); rnd y 10 $((H > 100 ? H - 100 : 10))
  [ "$b" -lt 6 ] || b=z down=keydown up=keyup
  xdotool mousemove --sync "$x" "$y" $down "$b"
  for _ in 1 2 3 4; do
    rnd dx -40 40; rnd dy -40 40
    xdotool mousemove "$(pos $((x + dx)))" "$(pos $((y + dy)))"
  done
  xdotool $up "$b"
}
# The space bar, s, the help or the readout.
keys() { local k keys=(space s h i); rnd k 0 3; xdotool key "${keys[k]}"; }

# A point of the right panel or, while Reset and Quit are in sight, of the
# bottom panel but not on Quit (the rollouts move it).
panel_click() {
  local x y
  rnd x $((W > 250 ? W - 250 : 0)) $((W - 1)); rnd y 0 $((H - 1))
  [ $((RANDOM % 2)) -eq 0 ] && { xdotool mousemove --sync "$x" "$y" click 1; return; }
  shot && buttons || return 0
  rnd x 0 $((W > 260 ? W - 260 : 0)); rnd y $((H / 2)) $((H - 1))
  read -r q0 q1 q2 q3 <<<"${BUTTONS[-1]}"
  ((x >= q0 - 8 && x <= q2 + 8 && y >= q1 - 8 && y <= q3 + 8)) && return 0
  xdotool mousemove --sync "$x" "$y" click 1
  # A rollout opening or closing moves Quit: look again once it has stopped.
  [ "$H" -ge 40 ] && [ "$W" -ge 300 ] && settle 0 $((H - 12)) $((W - 250)) 6
  return 0
}

resize() {
  local k sizes=("1200 750" "900 600" "500 300" "1 1" "1100 700" "300 900" "1 750" "1200 1")
  rnd k 0 7 && read -r W H <<<"${sizes[k]}" && xdotool windowsize "$WID" "$W" "$H"
}

# First the heaviest drawing the panels offer (the twin on, "Thicker"
# lines), so that the baseline holds the renderer's pools.
still start-up $START_UP_ROWS
click $TWIN
wait_for "the twin" twin_drawn
changes "the list of line widths" 1045 440 150 50 click $LINES # opens under the field
click 1070 478 # Thicker
list_closed() { alike "$WORK/unchanged.ppm" "$WORK/shot.ppm" 1045 440 150 50; }
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

acts=(drag drag drag keys keys panel_click panel_click panel_click panel_click resize)
while [ $((SECONDS - start)) -lt "$SOAK_SECONDS" ]; do
  alive || fail "tresolva died during the soak (see $WORK/app.log)"
  rnd act 0 9
  ${acts[act]}
done
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
