#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Measures the game and prints one table: every figure beside a baseline
# measured in the same run on the same machine, their ratio, and the goal.
#
#   scripts/bench.sh [BUILD_DIR]      (default: build-bench; configured with
#                                       -DVORTIGAN_BENCH=ON, built in Release
#                                       or RelWithDebInfo)
#
# VORTIGAN_BENCH_REPEATS (default 3) sets how often each in-process figure is
# measured; the table shows the median. STARTS (default 7) sets how many
# starts are timed.
#
# Frame cost and simulation are counted in processor time of the game's
# thread, so a busy machine slows both sides alike instead of adding its
# waits to one of them. Start-up is wall time of whole processes (with the
# processor time beside it) and is the figure a busy machine moves most.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build-bench}"
case "$BUILD" in /*) ;; *) BUILD="$PWD/$BUILD" ;; esac
GAME="$BUILD/vortigan"
BENCH="$BUILD/bench/vortigan_bench"
DATA="$BUILD/data"
STARTS="${STARTS:-7}"
export VORTIGAN_BENCH_REPEATS="${VORTIGAN_BENCH_REPEATS:-3}"

if [[ ! -x "$GAME" || ! -x "$BENCH" || ! -d "$DATA/map" ]]; then
    echo "bench: build first:" >&2
    echo "  cmake -S $ROOT -B $BUILD -DVORTIGAN_BENCH=ON -DCMAKE_BUILD_TYPE=Release" >&2
    echo "  make -C $BUILD vortigan vortigan_bench data" >&2
    exit 2
fi
if [[ ! -x /usr/bin/time ]]; then
    echo "bench: /usr/bin/time is needed for the memory figures (apt-get install time)" >&2
    exit 2
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy

# --- In-process figures: frame cost and simulation -----------------------
# The scenes play the baked levels, pictures, fonts and sounds; the music
# would only be decoded and dropped again at every scene, so it stays out.
mkdir -p "$WORK/data"
for part in "$DATA"/*; do
    [[ "$(basename "$part")" == music ]] || ln -s "$part" "$WORK/data/"
done
VORTIGAN_DATA="$WORK/data" "$BENCH" --benchmark_format=csv --benchmark_report_aggregates_only=true \
    > "$WORK/bench.csv" 2> "$WORK/bench.err" || {
    cat "$WORK/bench.err" >&2
    exit 1
}

# --- Start-up: process start to the first presented frame -----------------
# seconds of wall time and of processor time (user + system) for one run of
# a command, printed as "WALL CPU PEAK_KB".
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f "%U %S %M" -o "$WORK/time" "$@" > /dev/null 2>&1 || true
    end=$(date +%s%N)
    awk -v ns=$((end - start)) '{ printf "%.4f %.2f %d\n", ns / 1e9, $1 + $2, $3 }' "$WORK/time"
}

median() {  # of the numbers on stdin
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The first frame is on screen when its screenshot is on disk: seconds from
# just before the process starts to that file's time.
first_frame() {  # PNG START_NS
    if [[ -f "$1" ]]; then
        awk -v m="$(stat -c %.9Y "$1")" -v s="$2" 'BEGIN { printf "%.4f\n", m - s / 1e9 }'
    else
        echo "nan"
    fi
}

mkdir -p "$WORK/user"
: > "$WORK/game-start"
: > "$WORK/bare-start"
: > "$WORK/game-first"
: > "$WORK/bare-first"
for ((i = 0; i < STARTS; ++i)); do
    # Alternated, so both see the machine in the same moods.
    rm -f "$WORK/bare.png" "$WORK/game.png"
    start=$(date +%s%N)
    measure "$BENCH" --bare-start "$WORK/bare.png" >> "$WORK/bare-start"
    first_frame "$WORK/bare.png" "$start" >> "$WORK/bare-first"
    start=$(date +%s%N)
    measure "$GAME" --headless --frames 1 --screenshot "0:$WORK/game.png" --data "$DATA" \
        --user-dir "$WORK/user" >> "$WORK/game-start"
    first_frame "$WORK/game.png" "$start" >> "$WORK/game-first"
done

# --- Memory: peak resident size over full replays --------------------------
: > "$WORK/replay-peaks"
REPLAYS=()
if [[ -d "$ROOT/tests/replays" ]]; then
    while IFS= read -r f; do REPLAYS+=("$f"); done < <(find "$ROOT/tests/replays" -maxdepth 1 -type f -name '*.txt' | sort)
fi
replay_level() {  # "--level N" in the script's comments, else the first number in its name
    local n
    n=$(grep -m1 -oE '^#.*--level[[:space:]]+[0-9]+' "$1" | grep -oE '[0-9]+$' || true)
    if [[ -z "$n" ]]; then
        n=$(basename "$1" | grep -oE '[0-9]+' | head -1 || true)
    fi
    echo "${n#0}"
}
MEMORY_WHAT=""
if ((${#REPLAYS[@]} > 0)); then
    for script in "${REPLAYS[@]}"; do
        level=$(replay_level "$script")
        [[ -z "$level" ]] && level=0
        # Played to its end: the frame its summary names, else well past
        # its last key.
        last=$(grep -m1 -oE '^frame[[:space:]]+[0-9]+' "${script%.txt}.summary" 2>/dev/null |
            grep -oE '[0-9]+$' || true)
        if [[ -z "$last" ]]; then
            last=$(($(grep -oE '^[0-9]+' "$script" | sort -n | tail -1 || echo 0) + 780))
        fi
        frames=$((last + 120))
        measure "$GAME" --headless --fixed-dt 0.0166667 --frames "$frames" --level "$level" \
            --input "$script" --data "$DATA" --user-dir "$WORK/user" |
            awk -v s="$(basename "$script")" '{ print $3, s }' >> "$WORK/replay-peaks"
    done
    MEMORY_WHAT="${#REPLAYS[@]} replays, the largest"
else
    # No replays yet: two minutes of walking, hopping and mega jumps on the
    # first level stand in for one.
    {
        echo "# a long walk through Level 1-1"
        for ((t = 200; t < 7200; t += 240)); do
            echo "$t +RIGHT"
            echo "$((t + 60)) +UP"
            echo "$((t + 70)) -UP"
            echo "$((t + 150)) -RIGHT"
            echo "$((t + 160)) +SPACE"
            echo "$((t + 200)) -SPACE"
        done
    } > "$WORK/walk.txt"
    measure "$GAME" --headless --fixed-dt 0.0166667 --frames 7400 --level 0 \
        --input "$WORK/walk.txt" --data "$DATA" --user-dir "$WORK/user" |
        awk '{ print $3, "walk" }' >> "$WORK/replay-peaks"
    MEMORY_WHAT="2 min scripted play of Level 1-1 (no replays yet)"
fi

# --- The table -------------------------------------------------------------
GAME_FIRST=$(median < "$WORK/game-first")
BARE_FIRST=$(median < "$WORK/bare-first")
GAME_WALL=$(awk '{ print $1 }' "$WORK/game-start" | median)
GAME_CPU=$(awk '{ print $2 }' "$WORK/game-start" | median)
BARE_WALL=$(awk '{ print $1 }' "$WORK/bare-start" | median)
BARE_CPU=$(awk '{ print $2 }' "$WORK/bare-start" | median)
BARE_PEAK=$(awk '{ print $3 }' "$WORK/bare-start" | sort -n | tail -1)
GAME_PEAK=$(sort -n "$WORK/replay-peaks" | tail -1 | awk '{ print $1 }')

awk -F, -v starts="$STARTS" -v repeats="$VORTIGAN_BENCH_REPEATS" \
    -v gfirst="$GAME_FIRST" -v bfirst="$BARE_FIRST" -v gwall="$GAME_WALL" -v gcpu="$GAME_CPU" -v bwall="$BARE_WALL" -v bcpu="$BARE_CPU" \
    -v gpeak="$GAME_PEAK" -v bpeak="$BARE_PEAK" -v memwhat="$MEMORY_WHAT" '
function unq(s) { gsub(/"/, "", s); return s }
function row(figure, value, base, ratio, goal, met) {
    printf "%-38s %14s  %-30s %7s  %-18s %s\n", figure, value, base, ratio, goal, met
}
BEGIN {
    scene[0] = "3-3 small hats"; scene[1] = "3-4 boss ray"; scene[2] = "3-4 Bink speaks"
}
/^name,/ {
    for (i = 1; i <= NF; ++i) col[unq($i)] = i
    next
}
col["name"] {
    # The median of the repetitions, or the one run when there was one.
    name = unq($col["name"])
    if (name ~ /_(mean|stddev|cv)$/) next
    median = sub(/_median$/, "", name)
    if (!median && (name in seen)) next
    seen[name] = 1
    split(name, p, "/")
    if (p[1] == "FrameCost") {
        key = p[2] "/" p[3]
        fgame[key] = $col["game_ms"]; fbare[key] = $col["bare_ms"]
        fratio[key] = $col["ratio"]; fdraws[key] = $col["draws"]
        bdraws[key] = $col["busy_draws"]; bunblended[key] = $col["busy_unblended"]
        bgame[key] = $col["busy_game_ms"]; bblended[key] = $col["busy_blended_ms"]
    } else if (p[1] == "Simulation") {
        sim[p[2] "/" p[3]] = $col["updates_per_s"]
    }
}
END {
    printf "Vortigan benchmarks (median of %d runs each; %d starts)\n\n", repeats, starts
    row("Figure", "Game", "Baseline, same run", "Ratio", "Goal", "Met")
    row("------", "----", "------------------", "-----", "----", "---")
    for (s = 0; s <= 2; ++s) {
        for (z = 0; z < 2; ++z) {
            key = s "/" (z ? 50 : 100)
            if (!(key in fratio)) continue
            r = fratio[key]
            row(sprintf("Frame cost, %s, zoom %s", scene[s], z ? "0.5" : "1"),
                sprintf("%.3f ms", fgame[key]),
                sprintf("%.3f ms bare SDL (%d draws)", fbare[key], fdraws[key]),
                sprintf("%.3f", r), "<= 1.15 x bare", (r <= 1.15) ? "yes" : "NO")
        }
    }
    # The busiest measured frame of all (the most pictures) against a bare
    # loop blending every one of its pictures, as all were drawn before.
    busiest = ""
    for (s = 0; s <= 2; ++s) {
        for (z = 0; z < 2; ++z) {
            key = s "/" (z ? 50 : 100)
            if ((key in bdraws) && (busiest == "" || bdraws[key] > bdraws[busiest])) {
                busiest = key; bscene = scene[s]; bzoom = z ? "0.5" : "1"
            }
        }
    }
    if (busiest != "") {
        r = bblended[busiest] > 0 ? bgame[busiest] / bblended[busiest] : 0
        row(sprintf("Busiest frame, %s, zoom %s", bscene, bzoom),
            sprintf("%.3f ms", bgame[busiest]),
            sprintf("%.3f ms bare SDL, all blended", bblended[busiest]),
            sprintf("%.3f", r), "<= 0.5 x blended", (r > 0 && r <= 0.5) ? "yes" : "NO")
    }
    for (s = 0; s <= 2; ++s) {
        key = s "/1"
        if (!(key in sim)) continue
        u = sim[key]; b = sim[s "/0"]
        row(sprintf("Simulation, %s", scene[s]), sprintf("%.0f /s", u),
            sprintf("%.0f /s hero alone", b), sprintf("%.3f", b > 0 ? u / b : 0),
            ">= 100000 /s", (u >= 100000) ? "yes" : "NO")
    }
    row("Start-up to first frame, wall", sprintf("%.3f s", gfirst),
        sprintf("%.3f s bare SDL start", bfirst), sprintf("%.2f", bfirst > 0 ? gfirst / bfirst : 0),
        "< 0.5 s", (gfirst < 0.5) ? "yes" : "NO")
    row("Whole run of one frame, wall", sprintf("%.3f s", gwall),
        sprintf("%.3f s bare SDL start", bwall), sprintf("%.2f", bwall > 0 ? gwall / bwall : 0),
        "", "")
    row("Whole run of one frame, processor", sprintf("%.2f s", gcpu),
        sprintf("%.2f s bare SDL start", bcpu), sprintf("%.2f", bcpu > 0 ? gcpu / bcpu : 0),
        "< 0.5 s", (gcpu < 0.5) ? "yes" : "NO")
    row("Peak resident size", sprintf("%.1f MB", gpeak / 1024),
        sprintf("%.1f MB bare SDL start", bpeak / 1024), sprintf("%.2f", bpeak > 0 ? gpeak / bpeak : 0),
        "< 150 MB", (gpeak / 1024 < 150) ? "yes" : "NO")
    printf "\nFrame cost: each run sums a scene'\''s frames on both sides; the ratio is the median\n"
    printf "of the runs'\'' ratios, the times the medians of their times. The bare side makes\n"
    printf "the game'\''s own calls, opaque pictures copied as the game copies them.\n"
    if (busiest != "") {
        printf "Busiest frame: %d pictures, %d of them opaque and copied without blending\n", \
            bdraws[busiest], bunblended[busiest]
        printf "by the game; the bare loop blends them all. Medians of the runs'\'' times.\n"
    }
    printf "Memory over: %s.\n", memwhat
    printf "Frame cost and simulation count the game thread'\''s processor time. Start-up runs\n"
    printf "until frame 0'\''s screenshot is written; on a busy machine its wall time includes the\n"
    printf "waits for a processor. The whole run adds the exit (processor: all threads).\n"
}' "$WORK/bench.csv"
