#!/bin/sh
# Sets up, builds and bakes everything, then runs every test.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
jobs=$(nproc 2>/dev/null || echo 2)
cd "$root/build"
ctest --output-on-failure -j "$jobs"
