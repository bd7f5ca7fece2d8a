#!/usr/bin/env bash
# Makes docs/screenshot.png: the viewer under Xvfb a few seconds after
# start, with the twin trajectory on, re-seeded by s, and the readout.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build-test -j"$(nproc)" --target tresolva pixels
set +e +o pipefail # the helpers poll commands that fail until they succeed
source tests/e2e/lib.sh build-test/tresolva build-test/tests/pixels
start_app
wait_for "the curve" curve_drawn
click $TWIN
wait_for "the twin" twin_drawn
xdotool mousemove 400 300 key s key i
within "the readout's estimate and frame rate" eval 'shows_text "slope of ln d = " && shows_text "frames a second"'
wait_for "the readout on the screen" true
mkdir -p docs
convert "$WORK/shot.ppm" docs/screenshot.png
echo "wrote docs/screenshot.png"
