#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless:
# the unit tests, the real-GL pixel test and the end-to-end tests that drive
# the real program under Xvfb; then the unit tests, the batch program's
# checks and the first meeting with the viewer (mouse and keys) again in a
# build with AddressSanitizer and UndefinedBehaviorSanitizer
# (the tests that end the program through Quit are left out there: the
# leak check at exit counts what the toolkit and Mesa still hold). The web
# page is built with emscripten and tested in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build-test -j"$jobs"
ctest --test-dir build-test --output-on-failure -j2

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DTRESOLVA_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs" --target unit_tests tresolva tresolva-batch pixels
ASAN_OPTIONS=abort_on_error=0:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2 -E '^(pixels_gl|web_page|e2e_(panels|longframes|soak|hidpi))$'
