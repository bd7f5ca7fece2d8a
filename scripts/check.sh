#!/usr/bin/env bash
# Code-quality gates: the tree is formatted as .clang-format says,
# clang-tidy (.clang-tidy) finds nothing, cppcheck finds nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh check

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

cmake -S . -B build-check -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DBUILD_TESTING=ON >/dev/null
mapfile -t units < <(git ls-files 'src/*.cpp' 'tests/*.cpp' 'bench/*.cpp')
echo "clang-tidy: ${#units[@]} files"
run-clang-tidy -p build-check -j "$(nproc)" -quiet "${units[@]/#/$PWD/}" >build-check/tidy.log 2>&1 ||
  { grep -E "(warning|error):" build-check/tidy.log | sort -u; exit 1; }

echo "cppcheck"
cppcheck --std=c++17 --enable=warning,style,performance,portability --inline-suppr \
  --error-exitcode=1 --quiet -I src -I tests --suppress=missingIncludeSystem src tests bench
echo "checks: ok"
