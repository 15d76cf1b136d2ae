# Run by Blender (blender -b --python blender.py -- IN.glb OUT.glb [change]): imports IN with
# the glTF add-on's defaults, optionally makes the changes a modder would, and exports OUT with
# the defaults again.
#   change: the fighter's cockpit scaled by 2, the fuselage's first face deleted, a cube in the
#   turret's own material added to it, and the first engine flame moved 5 units along x.
import sys

import numpy

if not hasattr(numpy, "bool"):  # the add-on still names it; numpy 2 took it away
    numpy.bool = bool

import bmesh
import bpy
from mathutils import Matrix

arguments = sys.argv[sys.argv.index("--") + 1:]
source, destination = arguments[0], arguments[1]
bpy.ops.wm.read_factory_settings(use_empty=True)
bpy.ops.import_scene.gltf(filepath=source)

if "change" in arguments[2:]:
    objects = bpy.data.objects
    objects["Cockpit"].scale = [s * 2 for s in objects["Cockpit"].scale]

    fuselage = bmesh.new()
    fuselage.from_mesh(objects["Fuselage"].data)
    fuselage.faces.ensure_lookup_table()
    bmesh.ops.delete(fuselage, geom=[fuselage.faces[0]], context="FACES")
    fuselage.to_mesh(objects["Fuselage"].data)

    turret = bmesh.new()
    turret.from_mesh(objects["Turret"].data)
    cube = bmesh.ops.create_cube(turret, size=4.0, matrix=Matrix.Translation((0.0, 0.0, -10.0)))
    for face in {f for v in cube["verts"] for f in v.link_faces}:
        face.material_index = 0
    turret.to_mesh(objects["Turret"].data)

    flame = sorted(o.name for o in objects if o.name.startswith("Engine Flame"))[0]
    objects[flame].location.x += 5.0

bpy.ops.export_scene.gltf(filepath=destination)
