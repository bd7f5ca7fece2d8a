#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless:
# the unit tests; the end-to-end tests (the real-GL pixel test, the real
# program under Xvfb, the batch program, the package); the web page built
# with emscripten in headless Chromium; the Python module against the batch
# program; then the unit tests, the batch program's checks and the first
# meeting with the viewer (mouse and keys) again in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer (the tests that end the
# program through Quit are left out there: the leak check at exit counts
# what the toolkit and Mesa still hold). Prints how long each stage took.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

times=()
stage() {
  local name=$1 began=$SECONDS
  shift
  "$@"
  times+=("$(printf '%-20s %5d s' "$name" $((SECONDS - began)))")
}
report() {
  echo "stage times (the sanitizers' build runs beside the page and Python stages):"
  printf '  %s\n' "${times[@]}"
}
trap report EXIT
tests() { ctest --test-dir build-test --output-on-failure -j2 "$@"; }

stage packages scripts/deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DTRESOLVA_SANITIZE=ON >/dev/null
stage build cmake --build build-test -j"$jobs"
stage "unit tests" tests -LE 'e2e|page|python'
stage end-to-end tests -L e2e
# The sanitizers' build goes on beside the page's and the module's tests,
# which mostly wait on the browser and the batch program: on a busy
# machine that is minutes. (Not beside the end-to-end tests: one of them
# times how soon the viewer answers.)
setsid cmake --build build-asan -j"$jobs" --target unit_tests tresolva tresolva-batch pixels \
  >build-asan/build.log 2>&1 &
sanitized=$!
trap 'kill -- -$sanitized 2>/dev/null || true; report' EXIT # the build's compilers too
stage page tests -L page
stage Python tests -L python
built() { wait $sanitized || { tail -40 build-asan/build.log; return 1; }; }
stage "sanitizers: build" built
export ASAN_OPTIONS=abort_on_error=0:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
stage "sanitizers: tests" ctest --test-dir build-asan --output-on-failure -j2 \
  -E '^(pixels_gl|web_page|package|e2e_(panels|longframes|soak|hidpi))$'
