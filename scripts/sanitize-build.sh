#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the game, its tests, the soak and the fuzz targets with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/, on the
# data that scripts/build.sh baked in build/ (run that first). Clang gives the
# libFuzzer targets too; without clang the sanitizer build uses the default
# compiler and has no fuzz targets.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
out="$root/build-sanitize"
if [ ! -d "$root/build/data" ]; then
    echo "sanitize-build: no baked data in build/data; run scripts/build.sh first" >&2
    exit 1
fi

set -- -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORTIGAN_SANITIZE=ON -DVORTIGAN_BENCH=OFF \
    -DVORTIGAN_PREBAKED_DATA="$root/build/data" -DVORTIGAN_WERROR="${VORTIGAN_WERROR:-OFF}"
targets="vortigan vortigan_tests vortigan_soak vortigan_bake vortigan_levelcheck vortigan_level_run_tests vortigan_level_measure_tests manpage"
if command -v clang++ >/dev/null 2>&1; then
    set -- "$@" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVORTIGAN_FUZZ=ON
    targets="$targets map_fuzz data_file_fuzz bink_fuzz progress_fuzz dds_fuzz picture_fuzz input_script_fuzz"
fi
cmake -S "$root" -B "$out" "$@"
# Only what the tests run: the data is the first build's, so nothing is baked.
# shellcheck disable=SC2086
cmake --build "$out" -j "$jobs" --target $targets
