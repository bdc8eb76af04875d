#!/bin/sh
# Configures and builds the game, its tools, its baked data and its tests in build/.
# VORTIGAN_WERROR=ON makes any compiler warning an error, as the tests want.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORTIGAN_WERROR="${VORTIGAN_WERROR:-OFF}"
cmake --build "$root/build" -j "$jobs"
