#include "importer/ShipImport.h"

#include <algorithm>

namespace importer {

std::vector<std::string> reportLines(const ImportPlan& plan)
{
    std::vector<std::string> lines;
    const auto number = [](std::size_t n) { return std::to_string(n); };
    for (const ComponentReport& r : plan.report) {
        std::string line = "\"" + r.name + "\": ";
        if (r.added)
            line += "added, ";
        line += r.geometryReplaced ? "vertices " + number(r.verticesBefore) + " -> " +
                                         number(r.verticesAfter) + ", faces " +
                                         number(r.facesBefore) + " -> " + number(r.facesAfter)
                                   : "geometry kept as it was (" + number(r.verticesAfter) +
                                         " vertices, " + number(r.facesAfter) + " faces)";
        lines.push_back(line);
        const auto say = [&lines](bool when, const std::string& text) {
            if (when)
                lines.push_back("  " + text);
        };
        const auto count = [&](std::size_t n, const std::string& text) {
            say(n > 0, number(n) + " " + text);
        };
        const auto names = [](const std::vector<std::string>& list) {
            std::string out;
            for (const std::string& name : list)
                out += (out.empty() ? "" : ", ") + name;
            return out;
        };
        say(r.noGeometryBlocks, "has no face or vertex block: its geometry was left as it was");
        say(r.originMoved, "origin moved");
        say(r.transformed, "the node's rotation and scale applied to the vertices");
        say(!r.attachmentsMoved.empty(), "attachments moved: " + names(r.attachmentsMoved));
        say(!r.attachmentsAdded.empty(), "attachments added: " + names(r.attachmentsAdded));
        say(!r.texturesAdded.empty(), "texture names added: " + names(r.texturesAdded));
        count(r.verticesMoved, "vertices moved, each keeping the rest of its record");
        count(r.polygonsTriangulated, "polygons cut into triangles");
        count(r.brokenFacesDropped, "faces that pointed past their vertices dropped");
        count(r.normalsTurned, "face normals turned with the node");
        count(r.newFaces, "guessed: new faces with a normal from their winding and zero unknown "
                          "bytes");
        count(r.selectorFromReplaced, "guessed: cull selectors taken from the face replaced");
        count(r.newFaces - std::min(r.newFaces, r.selectorFromReplaced),
              "guessed: cull selectors 0 (back faces culled)");
        count(r.vertexBytesFromNearest,
              "guessed: new vertices with bytes 12-31 from the nearest vertex");
        count(r.vertexBytesZero, "guessed: new vertices with bytes 12-31 zero");
        count(r.madeOneSided, "guessed: two-sided faces made one-sided (the block has a cull "
                              "selector)");
        count(r.madeTwoSided, "guessed: one-sided faces made two-sided (the block has no cull "
                              "selector)");
        count(r.untextured, "guessed: untextured faces given a texture index past the names");
        count(r.degenerateDropped,
              "guessed: point faces dropped, which would have read as a dummy triangle");
        count(r.templateOrientations,
              "guessed: new attachments kept their kind's template orientation");
    }
    for (const MeshMatch& m : plan.matches) {
        if (m.action == MeshAction::Skip)
            lines.push_back("\"" + m.name + "\": skipped, names no component");
        else if (m.byBaseName)
            lines.push_back("\"" + m.name + "\": taken for the component of its name without "
                            "Blender's suffix");
    }
    return lines;
}

} // namespace importer
