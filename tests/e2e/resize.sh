#!/usr/bin/env bash
# The window shrunk to 1 x 1, to less than the panels, and back to
# 1200 x 750: the program keeps running, raises no GL error, and the scene
# comes back in the area the panels leave uncovered.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_app
wait_for "the first picture" curve_drawn

for size in "1 1" "200 100" "600 300" "1 750" "1200 1" "1200 750"; do
  resized_to $size
  # Where the scene is big enough to see, it goes on flowing at that size.
  read -r w h <<<"$size"
  if [ "$w" -ge 300 ] && [ "$h" -ge 300 ]; then
    shot "$WORK/before.ppm"
    drew_again() { [ "$(differ "$WORK/before.ppm" "$WORK/shot.ppm" 0 0 "$w" "$h")" -gt 0 ]; }
    wait_for "frames at $size" drew_again
  fi
  alive || fail "tresolva died at $size"
done

wait_for "the curve back in the uncovered area" curve_drawn
[ "$(count panel 1190 20 6 700)" -gt 3000 ] || fail "no right panel after the resizes"
if grep -q "GL error" "$WORK/app.log"; then fail "GL errors: $(sort -u "$WORK/app.log" | head)"; fi
echo "resize: ok"
