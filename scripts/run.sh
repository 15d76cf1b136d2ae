#!/usr/bin/env bash
# Builds Korvex (Release), writes the demo game installation once (again after the generator
# changes), and starts the editor on FILE or on the demo fighter, with the demo's Wine prefix
# as the game's registry.
#   scripts/run.sh [FILE]
set -euo pipefail
# A file named relative to where the script was started from.
file="${1:+$(realpath -m -- "$1")}"
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEX_BENCH=OFF > /dev/null
cmake --build build/run -j "$(nproc)" --target korvex korvex-demo

demo="$PWD/build/demo"
if [ ! -f "$demo/.complete" ] || [ build/run/tools/korvex-demo -nt "$demo/.complete" ]; then
    build/run/tools/korvex-demo "$demo"
    touch "$demo/.complete"
fi

file="${file:-$demo/prefix/drive_c/Games/Vantaris/ships/fighter.shp}"
export WINEPREFIX="$demo/prefix"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running the editor on a virtual one (xvfb-run)." >&2
    exec xvfb-run -a -s '-screen 0 1280x1024x24' build/run/app/korvex "$file"
fi
exec build/run/app/korvex "$file"
