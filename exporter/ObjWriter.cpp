#include "exporter/ObjWriter.h"

#include "exporter/ExportScene.h"
#include "exporter/GltfWriter.h"
#include "exporter/OutputFiles.h"

#include <charconv>

namespace exporter {

namespace {

// Numbers in the shortest form that reads back to the same float, whatever the locale.
void put(std::string& out, float v)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof(text), v).ptr;
    out.append(text, end);
}

void putLine(std::string& out, const char* tag, std::initializer_list<float> values)
{
    out += tag;
    for (const float v : values) {
        out += ' ';
        put(out, v);
    }
    out += '\n';
}

Vec3f plus(const Vec3f& a, const Vec3f& b)
{
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

class ObjText
{
public:
    explicit ObjText(const ExportScene& scene) : m_scene(scene) {}

    std::string build(const std::string& mtlName)
    {
        m_out += "# Korvex ship export\n# ";
        m_out += AxesNote;
        m_out += "\nmtllib " + mtlName + "\n";
        for (const ComponentNode& component : m_scene.components)
            addComponent(component);
        return std::move(m_out);
    }

private:
    // Every corner gets its own position, texture coordinate and normal: corners of one
    // position differ in texture coordinates from face to face anyway.
    void addComponent(const ComponentNode& component)
    {
        m_out += "o " + objObjectName(component.name) + "\n";
        for (const Primitive& primitive : component.primitives) {
            m_out += "usemtl " + objMaterialName(m_scene.materials[primitive.material].name) + "\n";
            const std::size_t firstPosition = m_positions + 1, firstCorner = m_corners + 1;
            for (const Corner& c : primitive.corners) {
                const Vec3f p = plus(c.position, component.translation);
                putLine(m_out, "v", {p[0], p[1], p[2]});
                // OBJ counts v from the bottom of the picture, the view from its first row.
                putLine(m_out, "vt", {c.uv[0], 1.0f - c.uv[1]});
                putLine(m_out, "vn", {c.normal[0], c.normal[1], c.normal[2]});
            }
            for (std::size_t k = 0; k < primitive.corners.size(); ++k) {
                const std::string v = std::to_string(firstPosition + k);
                const std::string t = std::to_string(firstCorner + k);
                m_out +=
                    (k % 3 == 0 ? "f " : " ") + v + '/' + t + '/' + t + (k % 3 == 2 ? "\n" : "");
            }
            m_positions += primitive.corners.size();
            m_corners += primitive.corners.size();
        }
        for (const AttachmentNode& a : component.attachments) {
            const Vec3f p = plus(a.translation, component.translation);
            m_out += "# attachment " + objObjectName(a.name) + ": kind " + std::to_string(a.kind);
            if (!a.model.empty())
                m_out += ", model " + objObjectName(toUtf8(a.model));
            putLine(m_out, ", at", {p[0], p[1], p[2]});
        }
        for (const BoxNode& box : component.boxes)
            addBox(component, box);
    }

    void addBox(const ComponentNode& component, const BoxNode& box)
    {
        m_out += "o " + objObjectName(box.objectName) + "\n";
        for (const Material& material : m_scene.materials)
            if (material.translucent)
                m_out += "usemtl " + objMaterialName(material.name) + "\n";
        const std::size_t first = m_positions + 1;
        for (const Vec3f& corner : box.corners) {
            const Vec3f p = plus(corner, component.translation);
            putLine(m_out, "v", {p[0], p[1], p[2]});
        }
        for (std::size_t t = 0; t < BoxTriangles.size(); t += 3)
            m_out += "f " + std::to_string(first + BoxTriangles[t]) + ' ' +
                     std::to_string(first + BoxTriangles[t + 1]) + ' ' +
                     std::to_string(first + BoxTriangles[t + 2]) + '\n';
        m_positions += box.corners.size();
    }

    const ExportScene& m_scene;
    std::string m_out;
    std::size_t m_positions = 0; // v lines written: face corners and box corners
    std::size_t m_corners = 0;   // vt and vn lines written: face corners only
};

std::string mtlText(const ExportScene& scene, const std::string& stem)
{
    std::string out = "# Korvex ship export\n";
    for (const Material& material : scene.materials) {
        out += "newmtl " + objMaterialName(material.name) + "\n";
        out += "Ka 0 0 0\nKd 1 1 1\nKs 0 0 0\nillum 1\n";
        out += material.translucent ? "d 0.25\n" : "d 1\n";
        if (material.picture) {
            const std::string picture = pictureFileName(stem, scene.pictures[*material.picture]);
            out += "map_Kd " + picture + "\n";
            if (material.cutout)
                out += "map_d " + picture + "\n";
        }
        out += "\n";
    }
    return out;
}

} // namespace

// Names on one line without blanks, which the formats end names at.
std::string objMaterialName(const std::string& name)
{
    std::string out;
    for (const char c : name)
        out.push_back(static_cast<unsigned char>(c) <= ' ' || c == '#' ? '_' : c);
    return out.empty() ? std::string("_") : out;
}

// Object names run to the end of their line.
std::string objObjectName(const std::string& name)
{
    std::string out;
    for (const char c : name)
        out.push_back(static_cast<unsigned char>(c) < ' ' ? '_' : c);
    return out;
}

std::optional<std::vector<std::string>> writeObj(const ExportScene& scene,
                                                 const std::filesystem::path& directory,
                                                 const std::string& objName,
                                                 const std::string& stem)
{
    std::vector<std::string> written;
    const std::string mtlName = stem + ".mtl";
    if (!writeFile(directory / objName, ObjText(scene).build(mtlName)))
        return std::nullopt;
    written.push_back(objName);
    if (!writeFile(directory / mtlName, mtlText(scene, stem)))
        return std::nullopt;
    written.push_back(mtlName);
    if (!writePictures(scene, directory, stem, written))
        return std::nullopt;
    return written;
}

} // namespace exporter
