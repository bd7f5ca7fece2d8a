#!/usr/bin/env bash
# Mouse and keys on the real program: a drag in the scene turns it, a drag
# from a panel does not, z with the pointer zooms, the space bar steps rho,
# and what p prints renders in the batch program as the very scene the
# viewer shows.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_app


wait_for "the first picture" curve_drawn
click $STATIC
click $TWIN
wait_for "the twin" twin_drawn
settle
cp "$WORK/shot.ppm" "$WORK/still.ppm"

# ---- Left drag in the scene turns it.
xdotool mousemove --sync 400 300 mousedown 1
for k in 1 2 3 4 5 6; do xdotool mousemove --sync $((400 + 8 * k)) $((300 + 3 * k)); done
xdotool mouseup 1
turned() { [ "$(differ "$WORK/still.ppm" "$WORK/shot.ppm" $SCENE)" -gt 1000 ]; }
wait_for "the scene to turn" turned
settle
cp "$WORK/shot.ppm" "$WORK/turned.ppm"
keep turned

# ---- A drag that starts on the right panel leaves the scene alone.
xdotool mousemove --sync 1100 650 mousedown 1
for k in 1 2 3 4 5 6; do xdotool mousemove --sync $((1100 - 100 * k)) $((650 - 50 * k)); done
xdotool mouseup 1
settle
alike "$WORK/turned.ppm" "$WORK/shot.ppm" $SCENE || fail "a panel drag turned the scene"

# ---- z held while the pointer moves up enlarges the picture. Each stroke
# starts with z released, so the zoom counts from its start, and adds 2 to
# the zoom once the handler is in (a frame with z held installs it).
width_before=$(( $(count right $SCENE) - $(count left $SCENE) ))
enlarged() { [ $(( $(count right $SCENE) - $(count left $SCENE) )) -gt $((width_before * 12 / 10)) ]; }
zoom_stroke() {
  xdotool keyup z mousemove --sync 450 650 keydown z
  for y in $(seq 640 -10 150); do xdotool mousemove 450 "$y"; done
  enlarged
}
wait_for "the picture to grow while z is held" zoom_stroke
xdotool keyup z
keep zoomed

# ---- The space bar steps rho: the still curve changes.
settle $SCENE
cp "$WORK/shot.ppm" "$WORK/unstepped.ppm"
xdotool mousemove --sync 450 300 key space
stepped() { [ "$(differ "$WORK/unstepped.ppm" "$WORK/shot.ppm" $SCENE)" -gt 1000 ]; }
wait_for "the space bar to step rho" stepped

# ---- p prints the view, and the batch program renders the very scene:
# twin on, turned, zoomed, rho stepped, panned, then both curves re-seeded
# by s from where they ended. The scene is what the panels leave: the
# bottom one is its colour between two border rows.
xdotool mousemove --sync 500 300 mousedown 3
for k in 1 2 3 4; do xdotool mousemove --sync $((500 + 9 * k)) $((300 - 4 * k)); done
xdotool mouseup 3
settle
cp "$WORK/shot.ppm" "$WORK/unstepped.ppm"
xdotool key s
wait_for "s to re-seed the curves" stepped
settle
cp "$WORK/shot.ppm" "$WORK/viewer.ppm"
xdotool key p
printed() { grep -q "^pan_y" "$WORK/app.log"; }
wait_for "the settings on standard output" printed
sed -n '/^# Tresolva settings/,$p' "$WORK/app.log" >"$WORK/view.toml"
scene_h=$((750 - $(count panel 2 0 1 750) - 2))
env -u DISPLAY "$BATCH" render -s "$WORK/view.toml" --size "950x$scene_h" -o "$WORK/render.png" ||
  fail "tresolva-batch render failed"
convert "$WORK/render.png" "ppm:$WORK/render.ppm"
differing=$(differ "$WORK/viewer.ppm" "$WORK/render.ppm" 0 0 950 "$scene_h")
[ "$differing" -eq 0 ] || {
  cp "$WORK/render.png" "$WORK/view.toml" "${E2E_KEEP:-/tmp}/"
  fail "the rendered scene differs from the viewer's in $differing pixels (kept: render.png, view.toml)"
}
echo "input: ok"
