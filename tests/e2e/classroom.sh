#!/usr/bin/env bash
# What a class sees besides the curve: h and F1 show and hide the help; i
# shows the numbers behind the picture, whose slope of ln d is the fit this
# test makes of the same run exported; Ctrl+S keeps the scene as the screen
# shows it, with settings that render it again, or says on screen why not
# and leaves no file; the wheel zooms by a tenth a notch; a run that leaves
# the finite numbers says so; slow frames are named.
source "$(dirname "$0")/lib.sh" "$@"
mkdir -p "$WORK/config"
export XDG_CONFIG_HOME="$WORK/config"
unset XDG_PICTURES_DIR
pictures() { printf 'XDG_PICTURES_DIR="%s"\n' "$1" >"$WORK/config/user-dirs.dirs"; }
pictures "$WORK/pictures/tresolva" # missing: made by the first picture kept
start_app

xdotool mousemove 400 300 key h
within "h to show the help" shows_text "h or F1"
xdotool key F1
within "F1 to hide the help" eval '! shows_text "h or F1"'

# ---- The readout of a still picture with the twin.
# The twin, carried apart by the sliding start, is saturated from tmin
# on; s re-seeds both 1e-9 apart and opens the window at 0.
click $STATIC
click $TWIN
wait_for "the twin" twin_drawn
xdotool mousemove 400 300 key i
within "the readout to say ln d had saturated" shows_text "no slope of ln d: it had reached 0"
xdotool key s
within "the readout's slope of ln d" shows_text "slope of ln d = "
printed view.toml
env -u DISPLAY "$BATCH" export -s "$WORK/view.toml" -o "$WORK/run.csv" || fail "export ended with $?"
# Least squares of ln d against t over the rows up to the first ln d >= 0.
fitted=$(awk -F, 'NR == 1 || closed || $8 ~ /inf|nan/ { next }
  { if (n == 0) t0 = $1; t = $1 - t0; n++; st += t; sl += $8; stt += t * t; stl += t * $8
    closed = $8 >= 0 }
  END { printf "%.4f", (n * stl - st * sl) / (n * stt - st * st) }' "$WORK/run.csv")
# A frame cut short by the key p shows fewer steps; the whole ones after it, the run's.
rows=$(($(wc -l <"$WORK/run.csv") - 1))
slope() { overlay | sed -n 's/^slope of ln d = \([-0-9.]*\),.*/\1/p'; }
readout_is_the_run() {
  awk -v a="$fitted" -v b="$(slope)" 'BEGIN { exit !(a - b < 0.00051 && b - a < 0.00051) }' &&
    overlay | grep -q "^$rows steps drawn"
}
within "the readout's slope and steps to be the exported run's ($fitted, $rows steps)" readout_is_the_run

# ---- Ctrl+S keeps the scene: the screen's pixels, and settings that
# render the same pixels.
xdotool key i
within "the readout to go" eval '[ -z "$(overlay)" ]'
xdotool key ctrl+s
within "the notice of the saved picture" shows_text "saved to $WORK/pictures/tresolva/tresolva-"
png=$(ls "$WORK"/pictures/tresolva/*.png)
toml=${png%.png}.toml
within "the notice to pass" eval '[ -z "$(overlay)" ]'
read -r sw sh < <(identify -format "%w %h" "$png")
convert "$png" "ppm:$WORK/kept.ppm"
same_as_kept() { [ "$(differ "$WORK/kept.ppm" "$WORK/shot.ppm" 0 0 "$sw" "$sh")" -eq 0 ]; }
wait_for "the screen to show the kept picture" same_as_kept
again=$(sed -n "s|^#   tresolva-batch render -s $(basename "$toml") \(--size ${sw}x$sh --pixel-widths\) -o .*|\1|p" "$toml")
[ -n "$again" ] || fail "no settings beside $png that say how to draw it again"
renders_as "$toml" "$WORK/kept.ppm" "$sw" "$sh" $again
# A folder that cannot be made, and a full disk: a line on the screen, no file.
not_kept() { # WHY FOLDER
  pictures "$2"
  xdotool key ctrl+s
  within "the line saying why nothing was kept ($1)" shows_text "not saved: .*$1"
  [ -z "$(find "$2" -type f 2>/dev/null)" ] || fail "a failed save left $(find "$2" -type f)"
}
not_kept "Not a directory" "$WORK/run.csv/pictures"
mkdir "$WORK/full"
if mount -t tmpfs -o size=12k tmpfs "$WORK/full" 2>/dev/null; then
  trap 'kill "$APP_PID" 2>/dev/null; umount "$WORK/full"; rm -rf "$WORK"' EXIT
  not_kept "No space left" "$WORK/full"
else
  echo "SKIP: the full-disk check needs to mount a tmpfs (run as root)"
fi

# ---- The wheel: a tenth of zoom a notch, up (1.1), then down four (0.7).
point 400 300 && xdotool click 4 click 5 click 5 click 5 click 5
printed wheel.toml
grep -qx "zoom = 0.7" "$WORK/wheel.toml" || fail "the wheel left $(grep '^zoom' "$WORK/wheel.toml"), not 0.7"

# ---- dt 0.5 leaves the finite numbers; Reset brings the run back.
enter $DT 0.5
within "the line saying the run left the finite numbers" shows_text "left the finite numbers at t = "
press -2
within "Reset to clear the line" eval '! shows_text "left the finite"'

# ---- Frames over half a second are named (Static: 2e6 steps a frame).
# (i first: a key pressed while a panel's control still holds the pointer
# or the Enter typed into it, on a slow frame, goes to that control.)
xdotool mousemove 400 300 key i
within "the readout" shows_text "steps drawn"
click $STATIC
enter $TMAX 10000
within "the readout to name the slow frames" shows_text "Each frame takes"
