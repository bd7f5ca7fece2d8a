#!/usr/bin/env bash
# The program as a person meets it: axes, box and twin switched on through
# the panels show in white and blue; drags and z reach the scene; and
# what p then prints renders in the batch program as the very scene shown.
source "$(dirname "$0")/lib.sh" "$@"
start_app

white_before=$(count white $SCENE)
for control in "$STATIC" "$AXES" "$BOX" "$TWIN"; do click $control; done
figures() { [ "$(count white $SCENE)" -gt $((white_before + 3000)) ] && twin_drawn; }
wait_for "white axes and box, and the blue twin" figures

drag() { # BUTTON X Y DX DY STEPS
  xdotool mousemove --sync $2 $3 mousedown $1
  for k in $(seq $6); do xdotool mousemove --sync $(($2 + $4 * k)) $(($3 + $5 * k)); done
  xdotool mouseup $1
}
changes "a left drag to turn the scene" $SCENE drag 1 400 300 8 3 6

# z held while the pointer moves up enlarges the picture. Each stroke
# starts with z released, so the zoom counts from its start, and adds 2 to
# the zoom once the handler is in (a frame with z held installs it).
width() { echo $(($(count right $SCENE) - $(count left $SCENE))); }
settle $SCENE
width_before=$(width)
zoom_stroke() {
  xdotool keyup z mousemove --sync 450 650 keydown z
  for y in $(seq 640 -10 150); do xdotool mousemove 450 "$y"; done
  [ "$(width)" -gt $((width_before * 12 / 10)) ]
}
wait_for "the picture to grow while z is held" zoom_stroke
xdotool keyup z

changes "a right drag to pan the scene" $SCENE drag 3 500 300 9 -4 4

# The scene is what the panels leave: the bottom one is its colour between
# two border rows.
still viewer
printed view.toml
scene_h=$((750 - $(count panel 2 0 1 750) - 2))
renders_as "$WORK/view.toml" "$WORK/viewer.ppm" 950 "$scene_h" --size "950x$scene_h"
