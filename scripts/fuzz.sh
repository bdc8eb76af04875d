#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fuzzes every reader of outside files for SECONDS each (default 60) under
# AddressSanitizer and UndefinedBehaviorSanitizer, starting from the seed
# inputs under tests/fuzz/<target>/. Needs clang; builds build-sanitize/
# first (scripts/build.sh must have run once for its baked data). New inputs
# collect in build-sanitize/tests/fuzz-corpus/; an input that finds a fault
# is written beside them as <target>-crash-*, and the run fails.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-map data_file bink progress dds picture input_script}
if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ is needed (scripts/setup.sh installs it)" >&2
    exit 1
fi
"$root/scripts/sanitize-build.sh"
out="$root/build-sanitize/tests/fuzz-corpus"
status=0
for t in $targets; do
    mkdir -p "$out/$t"
    echo "== $t: $seconds s"
    if ! SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
        "$root/build-sanitize/tests/${t}_fuzz" -max_total_time="$seconds" -timeout=30 \
            -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$out/$t-" \
            "$out/$t" "$root/tests/fuzz/$t" 2>"$out/$t.log"; then
        status=1
        tail -40 "$out/$t.log"
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$out/$t.log" || true
done
exit $status
