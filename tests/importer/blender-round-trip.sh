#!/usr/bin/env bash
# The demo ships through Blender and back: exported as .glb, imported into Blender and exported
# again with its defaults, then imported into the ship: byte for byte what the ship was. Then
# the fighter with a modder's changes made in Blender (see blender.py): exactly those come back.
#   blender-round-trip.sh KORVEX_DEMO KORVEX_SHP SCRATCH
# Exits 77 (skipped) when Blender is not installed.
set -euo pipefail
demo_tool=$1 shp_tool=$2 scratch=$3
here="$(cd "$(dirname "$0")" && pwd)"

if ! command -v blender > /dev/null; then
    echo "blender is not installed: the round trip through Blender is skipped"
    exit 77
fi
rm -rf "$scratch"
mkdir -p "$scratch/out"
"$demo_tool" "$scratch/demo" > /dev/null
through_blender() {
    blender -b --factory-startup --python "$here/blender.py" -- "$@" > "$scratch/blender.log" 2>&1 ||
        { cat "$scratch/blender.log"; exit 1; }
}

for ship in "$scratch"/demo/prefix/drive_c/Games/Vantaris/ships/*.shp; do
    name="$(basename "$ship" .shp)"
    out="$scratch/out/$name"
    "$shp_tool" unpack "$ship" "$out.shp"
    "$shp_tool" export "$out.shp" -o "$out.glb" > /dev/null
    through_blender "$out.glb" "$out-blender.glb"
    "$shp_tool" import "$out.shp" "$out-blender.glb" -o "$out-back.shp" > "$out.report"
    if ! cmp "$out.shp" "$out-back.shp"; then
        cat "$out.report"
        echo "$name: not the same bytes after Blender" >&2
        exit 1
    fi
    echo "$name: byte for byte through Blender"
done

out="$scratch/out/fighter"
through_blender "$out.glb" "$out-changed.glb" change
"$shp_tool" import "$out.shp" "$out-changed.glb" -o "$out-changed.shp" > "$out-changed.report"
cat "$out-changed.report"
expect() {
    grep -qxF -- "$1" "$out-changed.report" || { echo "missing from the report: $1" >&2; exit 1; }
}
expect '"Fuselage": vertices 262 -> 262, faces 436 -> 435'
expect '"Cockpit": vertices 110 -> 110, faces 217 -> 217'
expect '  the node'"'"'s rotation and scale applied to the vertices'
expect '"Turret": vertices 126 -> 134, faces 240 -> 252'
# The flame moved by hand; the cockpit's light moved with the cockpit's scale.
grep -q '^  attachments moved: Engine Flame [0-9]*$' "$out-changed.report" ||
    { echo "no engine flame moved" >&2; exit 1; }
expect '  attachments moved: Blinking Light 0'
[ "$(grep -c '^  attachments' "$out-changed.report")" -eq 2 ] ||
    { echo "other attachments changed" >&2; exit 1; }
! grep -q 'normals turned' "$out-changed.report" ||
    { echo "a scale turned normals" >&2; exit 1; }
