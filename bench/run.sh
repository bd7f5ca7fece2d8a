#!/usr/bin/env bash
# Builds and runs the frame-time benchmark on a private Xvfb display.
#   bench/run.sh [--quick]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build-test -j"$(nproc)" --target frame_bench
tests/support/with_xvfb.sh build-test/frame_bench "$@"
