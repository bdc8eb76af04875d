#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what building and checking the Debian package needs on Debian 12,
# beyond what scripts/setup.sh installs: the packaging tools, then whatever
# debian/control's Build-Depends still lacks. Nothing when all is present.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

PACKAGING_PACKAGES="debhelper dpkg-dev fakeroot lintian"

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

missing=""
for p in $PACKAGING_PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
updated=0
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $SUDO apt-get update
    updated=1
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi

if ! (cd "$root" && dpkg-checkbuilddeps >/dev/null 2>&1); then
    echo "Installing the package's Build-Depends"
    if [ "$updated" = 0 ]; then
        $SUDO apt-get update
    fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get build-dep -y --no-install-recommends "$root"
fi
