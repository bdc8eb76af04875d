#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The full soak: an hour of game time (or SECONDS) of random play across the
# intro, the menus, all twelve levels and the endings, headless at 60 frames a
# second, in the sanitizer build. Builds build-sanitize/ first
# (scripts/build.sh must have run once for its baked data).
#
#   scripts/soak.sh [SECONDS] [SEED]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-3600}
seed=${2:-1}
"$root/scripts/sanitize-build.sh"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tests/sanitize/lsan.supp}" \
    "$root/build-sanitize/tests/vortigan_soak" --data "$root/build/data" \
        --game-seconds "$seconds" --seed "$seed"
