#!/usr/bin/env bash
# Installs what is missing, builds the viewer (optimised, with debug info)
# and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tresolva
exec build/tresolva "$@"
