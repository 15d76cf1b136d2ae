#!/usr/bin/env bash
# Builds Korvex (Release), writes the demo installation once, and starts the editor on FILE
# or on a demo ship, with the demo's Wine prefix as the game's registry.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEX_BENCH=OFF > /dev/null
cmake --build build/run -j "$(nproc)"

demo="$PWD/build/demo"
if [ ! -f "$demo/.complete" ] && [ -x build/run/tools/korvex-demo ]; then
    build/run/tools/korvex-demo "$demo"
    touch "$demo/.complete"
fi

file="${1:-$demo/prefix/drive_c/Games/Vantaris/ships/fighter.shp}"
if [ -x build/run/app/korvex ]; then
    export WINEPREFIX="$demo/prefix"
    if [ -z "${DISPLAY:-}" ]; then
        exec xvfb-run -a -s '-screen 0 1280x1024x24' build/run/app/korvex "$file"
    fi
    exec build/run/app/korvex "$file"
fi
exec build/run/tools/korvex-shp info "$file"
