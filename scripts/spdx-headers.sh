#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts the two lines that name a code file's copyright and licence at its top
# (after a script's #! line), in every code file that lacks them, or in the
# files named on the command line. The licence_headers test names the files
# that lack them.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Each tag is spelt in two pieces here so that REUSE's own reading of this
# file does not take them for this file's tags.
COPYRIGHT="SPDX-FileCopyrightText"": 2026 The Vortigan developers"
LICENCE="SPDX-License-Identifier"": GPL-3.0-or-later"

list_code_files() {
    for f in CMakeLists.txt .ci/run debian/rules; do
        [ -f "$f" ] && echo "$f"
    done
    find app bench math objects platform scripts tests tools world -type f \
        \( -name '*.cpp' -o -name '*.h' -o -name '*.cmake' -o -name CMakeLists.txt \
        -o -name '*.sh' \) | sort
}

add_header() {
    f=$1
    if head -n 4 "$f" | grep -q "SPDX-License-Identifier[:]"; then
        return
    fi
    case "$f" in
    *.cpp | *.h) mark="//" ;;
    *) mark="#" ;;
    esac
    tmp=$f.spdx.tmp
    {
        if head -n 1 "$f" | grep -q '^#!'; then
            head -n 1 "$f"
            printf '%s %s\n%s %s\n\n' "$mark" "$COPYRIGHT" "$mark" "$LICENCE"
            tail -n +2 "$f"
        else
            printf '%s %s\n%s %s\n\n' "$mark" "$COPYRIGHT" "$mark" "$LICENCE"
            cat "$f"
        fi
    } >"$tmp"
    # A new file in its place, with its mode (a script stays executable): a
    # shell running a script reads it as it goes, this one included.
    chmod --reference="$f" "$tmp"
    mv "$tmp" "$f"
    echo "$f"
}

if [ $# -gt 0 ]; then
    for f in "$@"; do
        add_header "$f"
    done
else
    list_code_files | while read -r f; do
        add_header "$f"
    done
fi
