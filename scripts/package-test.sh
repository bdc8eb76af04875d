#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package from a copy of the sources outside the tree,
# holds it to lintian, installs it, plays level 1-1's replay with the
# installed /usr/games/vortigan as a player would start it (a user other than
# root, from an empty folder, found on the PATH a login gives), and removes
# the package again.
#
# VORTIGAN_PACKAGE_DIR=DIR builds in DIR (kept) instead of a scratch folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
started=$(date +%s)

"$root/scripts/package-setup.sh"

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

if [ -n "${VORTIGAN_PACKAGE_DIR:-}" ]; then
    work=$VORTIGAN_PACKAGE_DIR
    rm -rf "$work"
    mkdir -p "$work"
else
    work=$(mktemp -d /tmp/vortigan-package.XXXXXX)
fi
player=""
cleanup() {
    if [ -n "$player" ]; then
        userdel -r "$player" >/dev/null 2>&1 || true
    fi
    if dpkg-query -W -f='${Status}\n' vortigan vortigan-data 2>/dev/null | grep -q "install ok installed"; then
        $SUDO apt-get remove -y --purge vortigan vortigan-data >/dev/null || true
    fi
    if [ -z "${VORTIGAN_PACKAGE_DIR:-}" ]; then
        rm -rf "$work"
    fi
}
trap cleanup EXIT

# The sources as a clone has them, without any build folder.
src=$work/vortigan
mkdir -p "$src"
tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./out -cf - . | tar -C "$src" -xf -

echo "Building the package in $work"
jobs=$(nproc 2>/dev/null || echo 2)
if ! (cd "$src" && DEB_BUILD_OPTIONS="parallel=$jobs" \
      dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1); then
    tail -n 60 "$work/build.log"
    echo "package-test: dpkg-buildpackage failed; the log is $work/build.log" >&2
    exit 1
fi
version=$(cd "$src" && dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
deb=$work/vortigan_${version}_${arch}.deb
data=$work/vortigan-data_${version}_all.deb
changes=$work/vortigan_${version}_${arch}.changes
built=$(date +%s)

# Every tag is shown; an error or a warning fails.
lintian --display-info --pedantic "$changes" "$deb" "$data" >"$work/lintian.txt" \
    2>"$work/lintian.err" || true
sort -u "$work/lintian.txt"
grep -v "running with root privileges" "$work/lintian.err" >&2 || true
if grep -q '^[EW]: ' "$work/lintian.txt"; then
    echo "package-test: lintian found errors or warnings" >&2
    exit 1
fi

$SUDO apt-get install -y "$deb" "$data" >"$work/install.log" 2>&1 || {
    cat "$work/install.log"
    exit 1
}
for f in /usr/games/vortigan /usr/share/games/vortigan/map/stage1-1.map \
    /usr/share/applications/io.github.vortigan.vortigan.desktop \
    /usr/share/metainfo/io.github.vortigan.vortigan.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/io.github.vortigan.vortigan.svg \
    /usr/share/icons/hicolor/256x256/apps/io.github.vortigan.vortigan.png \
    /usr/share/man/man6/vortigan.6.gz; do
    if [ ! -f "$f" ]; then
        echo "package-test: the package lacks $f" >&2
        exit 1
    fi
done

# The player: the one running this, or a throwaway user when that is root.
home=$work/home
if [ "$(id -u)" -eq 0 ]; then
    player=vortigan-test-$$
    useradd --home-dir "$home" --create-home --shell /bin/sh "$player"
    as_player() { runuser -l "$player" -c "$1"; }
else
    mkdir -p "$home"
    as_player() { env -i HOME="$home" sh -lc "$1"; }
fi
play=$work/play
mkdir -p "$play/empty"
cp "$root/tests/replays/level00.txt" "$play/level00.txt"
chmod -R a+rwX "$play"
chmod a+x "$work"

# The run stops on the frame after the one the level ended on in the replay
# test; the menu entry's command must be found on the player's PATH.
summary=$root/tests/replays/level00.summary
frames=$(($(sed -n 's/^frame //p' "$summary") + 1))
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/io.github.vortigan.vortigan.desktop)
as_player "cd '$play/empty' && command -v $exec_line && \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $exec_line --headless \
    --fixed-dt 0.0166667 --level 0 --frames $frames --input '$play/level00.txt' \
    --trace '$play/trace.csv'" >"$play/run.log" 2>&1 || {
    cat "$play/run.log"
    echo "package-test: the installed game failed" >&2
    exit 1
}
head -n 1 "$play/run.log"
if [ -n "$(ls -A "$play/empty")" ]; then
    echo "package-test: the game left files in the folder it was started from" >&2
    exit 1
fi

# Where the level was left (another level, or the good ending): frame,
# score and lives as the replay's summary has them.
awk -F, 'NR > 1 && $2 == 101 { print "lost on frame " $1; exit }
         NR > 1 && ($3 != 0 || $2 == 102) {
             print "frame " $1; print "score " $10; print "lives " $9; exit }' \
    "$play/trace.csv" >"$play/summary"
if ! cmp -s "$play/summary" "$summary"; then
    echo "package-test: level 1-1 ended otherwise than recorded:" >&2
    cat "$play/summary" >&2
    exit 1
fi
echo "Level 1-1 played through by the installed game: $(paste -sd' ' "$play/summary")"

$SUDO apt-get remove -y --purge vortigan vortigan-data >/dev/null
if [ -e /usr/games/vortigan ] || [ -e /usr/share/games/vortigan ]; then
    echo "package-test: /usr/games/vortigan is still there after removing the package" >&2
    exit 1
fi
finished=$(date +%s)
echo "package-test: built in $((built - started)) s, checked in $((finished - built)) s"
