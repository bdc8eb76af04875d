#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what building and playing needs (no test tools), builds the game
# and bakes its data in build/, then starts it. Options are passed on to the
# game (try --windowed).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
"$root/scripts/setup.sh" play
jobs=$(nproc 2>/dev/null || echo 2)
if [ -f "$build/CMakeCache.txt" ]; then
    # A folder set up before (by the tests, say) keeps its options; only the
    # game's own targets are built below either way.
    cmake -S "$root" -B "$build"
else
    # Without the tests and benchmarks, so neither GoogleTest nor Google
    # Benchmark is needed.
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVORTIGAN_TESTS=OFF -DVORTIGAN_BENCH=OFF
fi
# The game, its data, and what `cmake --install` adds (icons, manual page).
cmake --build "$build" -j "$jobs" --target vortigan data icons manpage
exec "$build/vortigan" --data "$build/data" "$@"
