#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Configures and builds the game, its tools, its baked data, its tests and
# its benchmarks in build/, after installing everything they need.
# VORTIGAN_WERROR=ON makes any compiler warning an error, as the tests want.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" test
jobs=$(nproc 2>/dev/null || echo 2)
# The tests and benchmarks are asked for by name: build/ may have been set
# up without them by scripts/play.sh.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORTIGAN_TESTS=ON -DVORTIGAN_BENCH=ON \
    -DVORTIGAN_WERROR="${VORTIGAN_WERROR:-OFF}"
cmake --build "$root/build" -j "$jobs"
