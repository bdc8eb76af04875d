#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up, builds and bakes everything, then runs every test. Then builds the
# game and its tests again with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-sanitize/ (with clang, which also gives the fuzz targets) and runs
# the tests there too, on the data the first build baked. Between the two it
# builds, checks, installs and plays the Debian package.
# VORTIGAN_SANITIZE=0 skips the second build.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
# A compiler warning fails the run, in both builds.
VORTIGAN_WERROR=ON
export VORTIGAN_WERROR
"$root/scripts/build.sh"
jobs=$(nproc 2>/dev/null || echo 2)
cd "$root/build"
ctest --output-on-failure -j "$jobs"

# The Debian package, built from a copy of the sources, held to lintian,
# installed and played (scripts/package-test.sh). VORTIGAN_PACKAGE=0 skips it.
if [ "${VORTIGAN_PACKAGE:-1}" != 0 ]; then
    "$root/scripts/package-test.sh"
fi

if [ "${VORTIGAN_SANITIZE:-1}" = 0 ]; then
    exit 0
fi
"$root/scripts/sanitize-build.sh"
cd "$root/build-sanitize"
# The desktop files and the installed copy are checked by the first build;
# they hold no code of their own to sanitise. The replays with every picture,
# sound and tune damaged at once stay with the first build too, to keep the
# run short: each damaged file still meets the sanitizers on its own.
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tests/sanitize/lsan.supp}" \
    ctest --output-on-failure -j "$jobs" \
        -E '^(desktop_entry_valid|metainfo_valid|installed_game_plays|DamagedMedia\..*)$'
