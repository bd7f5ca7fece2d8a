#!/usr/bin/env bash
# The program as a person meets it: the Lorenz curve in red and yellow on
# black; axes, box and twin switched on through the panels show in white
# and blue. Then mouse and keys: a drag turns the scene, z with the pointer
# zooms, the space bar steps rho, s re-seeds, and what p prints renders in
# the batch program as the very scene the viewer shows. Last, the maximum
# map replaces the curves and the figures.
source "$(dirname "$0")/lib.sh" "$@"
start_app

red_and_yellow_on_black() {
  [ "$(count red $SCENE)" -gt 2000 ] && [ "$(count yellow $SCENE)" -gt 100 ] &&
    [ "$(count black $SCENE)" -gt 200000 ]
}
wait_for "the red and yellow curve on black" red_and_yellow_on_black
white_before=$(count white $SCENE)
for control in "$STATIC" "$AXES" "$BOX" "$TWIN"; do click $control; done
figures() { [ "$(count white $SCENE)" -gt $((white_before + 3000)) ] && twin_drawn; }
wait_for "white axes and box, and the blue twin" figures
settle
cp "$WORK/shot.ppm" "$WORK/still.ppm"
keep figures

# ---- Left drag in the scene turns it.
xdotool mousemove --sync 400 300 mousedown 1
for k in 1 2 3 4 5 6; do xdotool mousemove --sync $((400 + 8 * k)) $((300 + 3 * k)); done
xdotool mouseup 1
turned() { [ "$(differ "$WORK/still.ppm" "$WORK/shot.ppm" $SCENE)" -gt 1000 ]; }
wait_for "the scene to turn" turned
settle

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

click $MAXMAP
map_only() { [ "$(count red $SCENE)" -lt 50 ] && [ "$(count white $SCENE)" -gt 200 ]; }
wait_for "the maximum map alone" map_only
keep maximum-map
echo "input: ok"
