#!/usr/bin/env bash
# Usage: scripts/test.sh
#
# Installs what is missing, builds everything into build-test/ (Debug, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test; then replays whole online games in the shipped build type
# (build/) and runs the file readers under libFuzzer (build-fuzz/). Exits non-zero when any of them fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-test"
jobs=$(nproc)

bash "$root/scripts/setup.sh"

echo "== layers"
bash "$root/scripts/check-layers.sh" "$root"

echo "== configure ($build)"
cmake -S "$root" -B "$build" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=ON
echo "== build"
cmake --build "$build" -j "$jobs"

echo "== test"
status=0
# --no-tests=error: a build that lost its tests must not pass.
ctest --test-dir "$build" -j "$jobs" --timeout 600 --output-on-failure --no-tests=error || status=$?

# Whole online games replay the same frames in the build type that ships too (the optimiser must not change them).
ship="$root/build"
echo "== shipped build ($ship)"
cmake -S "$root" -B "$ship" -G Ninja --log-level=WARNING -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$ship" -j "$jobs" --target test_app tessel_data
ctest --test-dir "$ship" -R '^OnlineGameTest\.WholeGamesOfOneSeed$' --output-on-failure --no-tests=error || status=$?

# The file readers under libFuzzer (clang), each for a short, bounded time.
fuzz="$root/build-fuzz"
echo "== fuzz ($fuzz)"
cmake -S "$root/tests/fuzz" -B "$fuzz" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build "$fuzz" -j "$jobs"
ctest --test-dir "$fuzz" -j "$jobs" --output-on-failure --no-tests=error || status=$?
exit "$status"
