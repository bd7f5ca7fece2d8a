#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless:
# the unit tests and the end-to-end tests that drive the real program
# under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure -j2
