#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what Vortigan needs on Debian 12, and nothing when it is all there.
#
#   scripts/setup.sh [--list | --dry-run] [play | test]
#
# play: what building and playing the game needs: the compiler, CMake,
#       SDL2, the fonts, and the libraries the data bake draws and encodes
#       with. scripts/play.sh asks for this.
# test: that and the tests' tools: GoogleTest, Google Benchmark, clang with
#       its sanitizer runtime, the desktop files' validators and man. The
#       default; scripts/build.sh (and so scripts/test.sh) asks for it.
# --list prints the set's packages, one a line; --dry-run prints what would
# be installed and installs nothing.
set -eu

PLAY_PACKAGES="build-essential cmake pkg-config
libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev libmpg123-dev
fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
librsvg2-dev libcairo2-dev libmp3lame-dev"
TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-dev
desktop-file-utils appstream man-db"

action=install
set_name="test"
for arg in "$@"; do
    case "$arg" in
        --list) action=list ;;
        --dry-run) action=dry-run ;;
        play | test) set_name=$arg ;;
        *)
            echo "usage: scripts/setup.sh [--list | --dry-run] [play | test]" >&2
            exit 2
            ;;
    esac
done

if [ "$set_name" = play ]; then
    packages=$PLAY_PACKAGES
else
    packages="$PLAY_PACKAGES $TEST_PACKAGES"
fi

if [ "$action" = list ]; then
    # shellcheck disable=SC2086
    printf '%s\n' $packages
    exit 0
fi

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    [ "$action" = dry-run ] && echo "Nothing to install."
    exit 0
fi

if [ "$action" = dry-run ]; then
    echo "Would install:$missing"
    exit 0
fi
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
$SUDO apt-get update
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
