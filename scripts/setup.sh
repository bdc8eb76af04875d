#!/bin/sh
# Installs what building, playing and testing Vortigan needs on Debian 12,
# and nothing when everything is already there.
set -eu

PACKAGES="build-essential cmake pkg-config
libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev
fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
librsvg2-dev libcairo2-dev libmp3lame-dev libmpg123-dev
libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-dev
desktop-file-utils appstream"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
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
