#!/usr/bin/env bash
# Usage: scripts/run.sh [--no-start] [arguments for Tessel...]
#
# Installs what is missing, builds the program and its data into build/ (RelWithDebInfo, the one shipped build
# type; scripts/bench.sh measures this same build) and starts
# build/game/Tessel with the arguments given. --no-start (first argument only) stops after the build.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

start=1
if [[ ${1:-} == "--no-start" ]]; then
    start=0
    shift
fi

bash "$root/scripts/setup.sh"

echo "== configure ($build)"
cmake -S "$root" -B "$build" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_SANITIZE=OFF
echo "== build"
# The default target includes the data set (tessel_data), laid out in build/game beside the program.
cmake --build "$build" -j "$(nproc)"

[[ $start -eq 1 ]] || exit 0
echo "== start build/game/Tessel $*"
exec "$build/game/Tessel" "$@"
