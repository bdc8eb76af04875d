#!/bin/sh
# Sets up, builds and bakes everything, then starts the game. Options are
# passed on to the game (try --windowed).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
exec "$root/build/vortigan" --data "$root/build/data" "$@"
