#!/usr/bin/env bash
# Builds and runs the frame-time benchmark on a private Xvfb display, each
# setting in a process of its own, then the batch and settings benchmarks.
#   bench/run.sh [--quick]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build-test -j"$(nproc)" >/dev/null
run() { xvfb-run -a -s "-screen 0 1280x1024x24" build-test/frame_bench "$@"; }
settings=$(run list)
[ "${1:-}" = --quick ] && settings="0 1"
printf "%-34s %12s %12s %18s %11s\n" setting median "" "" "peak RSS"
for k in $settings; do run "$k"; done
echo
run floor
run twin
run integration
echo
build-test/batch_bench
echo
build-test/settings_bench
if compgen -G "build-test/tresolva.cpython-*.so" >/dev/null; then
  echo
  PYTHONPATH=build-test /usr/bin/python3 bench/python_bench.py build-test/tresolva-batch
fi
