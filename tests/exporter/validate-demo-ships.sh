#!/usr/bin/env bash
# Writes the demo installation, exports each of its ships as .glb and .gltf (textures and
# boxes included) and runs the Khronos glTF validator on the results.
#   validate-demo-ships.sh KORVEX_DEMO KORVEX_SHP VALIDATOR_NODE_MODULES SCRATCH
set -euo pipefail
demo_tool=$1 shp_tool=$2 modules=$3 scratch=$4
here="$(cd "$(dirname "$0")" && pwd)"

if [ ! -d "$modules/gltf-validator" ]; then
    echo "gltf-validator is not installed in $modules (scripts/test.sh installs it)" >&2
    exit 1
fi
rm -rf "$scratch"
mkdir -p "$scratch/out"
"$demo_tool" "$scratch/demo" > /dev/null
tcache="$(find "$scratch/demo" -name tcachehw.dat)"
ships=("$scratch"/demo/prefix/drive_c/Games/Vantaris/ships/*.shp)
[ ${#ships[@]} -gt 0 ]
files=()
for ship in "${ships[@]}"; do
    name="$(basename "$ship" .shp)"
    for extension in glb gltf; do
        "$shp_tool" export "$ship" -o "$scratch/out/$name.$extension" --textures "$tcache" \
            --boxes --keep-dest 2> /dev/null
        files+=("$scratch/out/$name.$extension")
    done
done
NODE_PATH="$modules" node "$here/validate-gltf.js" "${files[@]}"
