#include "importer/ShipImport.h"

#include "exporter/ExportScene.h"
#include "exporter/ObjWriter.h"
#include "importer/GltfReader.h"
#include "importer/Matching.h"
#include "importer/Messages.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

namespace importer {

namespace lay = shipfile::layout;
namespace msg = importer::messages;
using exporter::ComponentNode;
using shipfile::Bytes;
using shipfile::ShipBlock;
using shipfile::ShipFile;
using shipfile::Vec3;
using namespace importer::matching;

namespace {

std::vector<std::uint8_t> copyOf(Bytes bytes)
{
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> copyOf(const ShipBlock* block)
{
    return block ? std::vector<std::uint8_t>(block->records().begin(), block->records().end())
                 : std::vector<std::uint8_t>{};
}

bool isDummy(Bytes face)
{
    return shipfile::readU32(face, lay::face::VertexA) == 0u &&
           shipfile::readU32(face, lay::face::VertexB) == 0u &&
           shipfile::readU32(face, lay::face::VertexC) == 0u;
}

// The blocks an import reads and replaces, as the lookup finds them.
struct Geometry
{
    const ShipBlock* attachments = nullptr;
    const ShipBlock* faces = nullptr;
    const ShipBlock* vertices = nullptr;
    const ShipBlock* names = nullptr;
};
Geometry geometryOf(const ShipFile& ship, int n)
{
    const shipfile::ComponentParts parts = shipfile::componentParts(ship, n);
    return {parts.attachments, parts.faces, parts.vertices, parts.textureNames};
}

class Planner
{
public:
    Planner(const ShipFile& ship, const Model& model, const ImportOptions& options)
        : m_ship(ship), m_model(model), m_options(options)
    {
    }

    ImportPlan plan(const std::vector<MeshAction>* actions)
    {
        const int count = shipfile::componentCount(m_ship);
        if (!m_ship.componentBlock())
            return refuse(std::string(msg::NoComponents));
        bool keepDest = false;
        for (int n = 0; n < count; ++n)
            for (const Node& node : m_model.nodes)
                keepDest = keepDest || (shipfile::isDestComponent(m_ship, n) &&
                                        exporter::toUtf8(shipfile::componentName(m_ship, n)) ==
                                            node.name);
        m_scene = exporter::buildScene(m_ship, {{}, false, keepDest});
        indexScene();
        matchNodes();
        if (actions)
            for (std::size_t i = 0; i < m_plan.matches.size() && i < actions->size(); ++i)
                if ((*actions)[i] != MeshAction::Replace || m_plan.matches[i].component >= 0)
                    m_plan.matches[i].action = (*actions)[i];
        for (const MeshMatch& match : m_plan.matches) {
            if (match.action == MeshAction::Replace)
                replace(match);
            else if (match.action == MeshAction::Add)
                add(match);
            if (m_plan.refused())
                break;
        }
        if (m_plan.refused()) {
            m_plan.changes.clear();
            m_plan.report.clear();
        }
        return std::move(m_plan);
    }

private:
    ImportPlan refuse(std::string detail)
    {
        m_plan.refusal = std::move(detail);
        return std::move(m_plan);
    }

    bool obj() const { return m_model.format == ModelFormat::Obj; }

    // A component node's name as the model's format writes it.
    std::string writtenName(const std::string& name) const
    {
        return obj() ? exporter::objObjectName(name) : name;
    }
    std::string writtenMaterial(const std::string& name) const
    {
        return obj() ? exporter::objMaterialName(name) : name;
    }

    void indexScene()
    {
        for (const ComponentNode& c : m_scene.components) {
            m_componentByName.emplace(writtenName(c.name), &c);
            for (const exporter::AttachmentNode& a : c.attachments)
                m_attachmentByName.emplace(a.name, std::make_pair(&c, a.index));
        }
        for (const exporter::Material& material : m_scene.materials)
            m_exportMaterials.insert(writtenMaterial(material.name));
    }

    void matchNodes()
    {
        std::set<const ComponentNode*> claimed;
        const auto claim = [&](const std::string& name) -> const ComponentNode* {
            const auto found = m_componentByName.find(name);
            if (found == m_componentByName.end() || claimed.count(found->second))
                return nullptr;
            claimed.insert(found->second);
            return found->second;
        };
        // Exact names first, so a copy named "Hull.001" never takes Hull from "Hull" itself.
        std::vector<const ComponentNode*> exact(m_model.nodes.size(), nullptr);
        for (std::size_t i = 0; i < m_model.nodes.size(); ++i)
            if (!isBoxName(m_model.nodes[i].name))
                exact[i] = claim(m_model.nodes[i].name);
        for (std::size_t i = 0; i < m_model.nodes.size(); ++i) {
            const Node& node = m_model.nodes[i];
            if (isBoxName(node.name))
                continue;
            MeshMatch match{i, node.name, MeshAction::Skip, -1, false};
            const ComponentNode* component = exact[i];
            if (!component && node.mesh >= 0) {
                component = claim(baseName(node.name));
                match.byBaseName = component != nullptr;
            }
            if (component) {
                match.action = MeshAction::Replace;
                match.component = static_cast<int>(component->index);
            } else if (node.mesh < 0) {
                continue; // an empty: an attachment, or nothing of the ship's
            } else if (m_options.addNew) {
                match.action = MeshAction::Add;
            }
            m_plan.matches.push_back(match);
        }
    }

    const ComponentNode* sceneComponent(int n) const
    {
        for (const ComponentNode& c : m_scene.components)
            if (c.index == static_cast<std::size_t>(n))
                return &c;
        return nullptr;
    }

    // The model's material name as the export named it, Blender's suffix undone.
    std::string materialName(std::size_t material) const
    {
        if (material >= m_model.materials.size())
            return writtenMaterial(std::string(exporter::PlainMaterialName));
        const std::string& name = m_model.materials[material];
        if (m_exportMaterials.count(name))
            return name;
        const std::string base = baseName(name);
        return m_exportMaterials.count(base) ? base : name;
    }

    bool tooMany(const std::string& mesh, std::size_t records)
    {
        if (records <= ShipBlock::MaxCount)
            return false;
        m_plan.refusal = fill(msg::TooManyRecords, {mesh, std::to_string(records)});
        return true;
    }

    struct Frame
    {
        Matrix world = Identity;
        bool transformed = false; // rotation or scale to apply to the vertices
        Vec3f offset{};           // OBJ: the export's origin, added to every position
    };

    // Turns a model point in the mesh's frame into a ship point in the component's frame.
    Vec3 toShip(const Frame& frame, const Vec3f& p) const
    {
        Vec3f local = p;
        if (obj())
            for (std::size_t i = 0; i < 3; ++i)
                local[i] = p[i] - frame.offset[i];
        if (frame.transformed) {
            Matrix linear = frame.world;
            linear[12] = linear[13] = linear[14] = 0;
            local = transformPoint(linear, local);
        }
        return toShipAxes(local);
    }

    struct Built
    {
        std::vector<std::uint8_t> faces, vertices, names;
        std::size_t faceCount = 0, vertexCount = 0, nameCount = 0;
        bool namesBlockNeeded = false;
    };

    // The component's new face, vertex and texture-name records from the mesh's triangles;
    // what matches the ship keeps its bytes. False when nothing changed.
    bool buildGeometry(const ComponentNode* exported, const Mesh& mesh, const Frame& frame,
                       const Geometry& g, ComponentReport& report, Built& out)
    {
        const std::uint32_t faceSize = g.faces ? g.faces->recordSize : lay::face::RecordSize;
        const std::uint32_t vertexSize =
            g.vertices ? g.vertices->recordSize : lay::vertex::RecordSize;
        const std::uint32_t nameSize = g.names ? g.names->recordSize : 32;
        const std::size_t faceCount = g.faces ? g.faces->count() : 0;
        const std::size_t vertexCount = g.vertices ? shipfile::vertexPositionCount(*g.vertices) : 0;
        const bool twoSidedBlock = faceSize != lay::face::RecordSize;
        constexpr std::size_t NoDummy = SIZE_MAX;
        const std::size_t dummy =
            faceCount > 0 && isDummy(g.faces->record(faceCount - 1)) ? faceCount - 1 : NoDummy;

        // The export's view of each face it wrote: corners as the model holds them.
        struct Original
        {
            std::array<Vec3f, 3> positions;
            std::array<Uv, 3> uvs;
            std::string material;
            bool taken = false;
            bool replaced = false;
        };
        std::map<std::size_t, Original> originals;
        if (exported)
            for (const exporter::Primitive& p : exported->primitives)
                for (std::size_t k = 0; k < p.faces.size(); ++k) {
                    Original o;
                    for (std::size_t c = 0; c < 3; ++c) {
                        o.positions[c] = p.corners[3 * k + c].position;
                        if (obj())
                            for (std::size_t i = 0; i < 3; ++i)
                                o.positions[c][i] = o.positions[c][i] + frame.offset[i];
                        o.uvs[c] = p.corners[3 * k + c].uv;
                    }
                    o.material = writtenMaterial(m_scene.materials[p.material].name);
                    originals.emplace(p.faces[k], o);
                }
        std::map<TriangleKey, std::vector<std::size_t>> byCorners;
        for (const auto& [record, o] : originals)
            if (record != dummy)
                byCorners[keyOf(o.positions)].push_back(record);

        const auto matches = [&](const Original& o, const Triangle& t, const std::string& material) {
            if (o.material != material)
                return false;
            for (std::size_t r = 0; r < 3; ++r) {
                bool all = true;
                for (std::size_t c = 0; c < 3 && all; ++c)
                    all = keyOf(t.positions[c]) == keyOf(o.positions[(c + r) % 3]) &&
                          uvClose(t.uvs[c], o.uvs[(c + r) % 3]);
                if (all)
                    return true;
            }
            return false;
        };

        std::vector<const Triangle*> fresh;
        bool dummySeen = false;
        for (const Triangle& t : mesh.triangles) {
            const std::string material = materialName(t.material);
            bool found = false;
            if (const auto candidates = byCorners.find(keyOf(t.positions));
                candidates != byCorners.end())
                for (const std::size_t record : candidates->second) {
                    Original& o = originals.at(record);
                    if (!o.taken && matches(o, t, material)) {
                        o.taken = found = true;
                        break;
                    }
                }
            if (!found && dummy != NoDummy && !dummySeen && originals.count(dummy) &&
                matches(originals.at(dummy), t, material))
                dummySeen = found = true;
            if (!found)
                fresh.push_back(&t);
        }
        bool unchanged = fresh.empty();
        for (const auto& [record, o] : originals)
            unchanged = unchanged && (o.taken || record == dummy);
        report.polygonsTriangulated = mesh.polygonsTriangulated;
        if (unchanged)
            return false;
        if (exported && g.faces && g.vertices && reshape(*exported, mesh, frame, g, dummy, report, out))
            return true;

        // Vertices: every original record stays where it was; new positions are added once.
        out.vertices = copyOf(g.vertices);
        out.vertexCount = g.vertices ? g.vertices->count() : 0;
        std::unordered_map<std::string, std::uint32_t> vertexAt;
        const auto keyText = [](const PositionKey& k) {
            return std::string(reinterpret_cast<const char*>(k.data()), sizeof k);
        };
        std::vector<Vec3> originalShip;
        for (std::size_t v = 0; v < vertexCount; ++v) {
            const Vec3 p = *shipfile::readVec3(g.vertices->record(v), lay::vertex::Position);
            originalShip.push_back(p);
            Vec3f written = {-p.x, -p.y, p.z};
            if (obj())
                for (std::size_t i = 0; i < 3; ++i)
                    written[i] = written[i] + frame.offset[i];
            vertexAt.try_emplace(keyText(keyOf(written)), static_cast<std::uint32_t>(v));
        }
        const auto vertexFor = [&](const Vec3f& modelPoint) {
            const auto [slot, added] = vertexAt.try_emplace(
                keyText(keyOf(modelPoint)), static_cast<std::uint32_t>(out.vertexCount));
            if (!added)
                return slot->second;
            const Vec3 p = toShip(Frame{Identity, false, frame.offset}, modelPoint);
            std::vector<std::uint8_t> record(vertexSize, 0);
            std::size_t nearest = vertexCount;
            double best = INFINITY;
            for (std::size_t v = 0; v < originalShip.size(); ++v) {
                const Vec3& q = originalShip[v];
                const double d = (double{q.x} - p.x) * (q.x - p.x) +
                                 (double{q.y} - p.y) * (q.y - p.y) +
                                 (double{q.z} - p.z) * (q.z - p.z);
                if (d < best)
                    best = d, nearest = v;
            }
            if (nearest < vertexCount) {
                const Bytes source = g.vertices->record(nearest);
                std::copy(source.begin(), source.end(), record.begin());
                ++report.vertexBytesFromNearest;
            } else {
                ++report.vertexBytesZero;
            }
            shipfile::writeVec3(record, lay::vertex::Position, p);
            out.vertices.insert(out.vertices.end(), record.begin(), record.end());
            ++out.vertexCount;
            return slot->second;
        };

        // Texture names: the section's own, then any new ones.
        out.names = copyOf(g.names);
        out.nameCount = g.names ? g.names->count() : 0;
        const auto textureFor = [&](const std::string& material, bool& twoSided,
                                    std::optional<std::uint32_t>& index) {
            std::string name = material;
            const std::string suffix = writtenMaterial(std::string(exporter::TwoSidedSuffix));
            twoSided = name.size() > suffix.size() && name.ends_with(suffix);
            if (twoSided)
                name.resize(name.size() - suffix.size());
            index.reset();
            if (name == writtenMaterial(std::string(exporter::PlainMaterialName)))
                return true;
            for (std::size_t i = 0; i < out.nameCount; ++i) {
                const Bytes record(out.names.data() + i * nameSize, nameSize);
                const std::string texture = shipfile::readString(record, lay::texture::Name);
                if (shipfile::equalsIgnoringCase(writtenMaterial(exporter::toUtf8(texture)), name)) {
                    index = static_cast<std::uint32_t>(i);
                    return true;
                }
            }
            const std::string bytes = fromUtf8(name);
            if (bytes.size() + 1 > nameSize) {
                m_plan.refusal = fill(msg::NameTooLong, {name});
                return false;
            }
            std::vector<std::uint8_t> record(nameSize, 0);
            std::copy(bytes.begin(), bytes.end(), record.begin());
            out.names.insert(out.names.end(), record.begin(), record.end());
            index = static_cast<std::uint32_t>(out.nameCount++);
            out.namesBlockNeeded = true;
            report.texturesAdded.push_back(bytes);
            return true;
        };

        // New faces, each in the slot of the face it replaces (the same corners) or at the end.
        struct NewFace
        {
            std::vector<std::uint8_t> record;
            bool untextured = false;
        };
        std::map<std::size_t, NewFace> inSlot;
        std::vector<NewFace> atEnd;
        for (const Triangle* t : fresh) {
            std::optional<std::size_t> replaced;
            if (const auto candidates = byCorners.find(keyOf(t->positions));
                candidates != byCorners.end())
                for (const std::size_t record : candidates->second) {
                    Original& o = originals.at(record);
                    if (!o.taken && !o.replaced) {
                        o.replaced = true;
                        replaced = record;
                        break;
                    }
                }
            std::uint32_t selector = 0;
            if (replaced && !twoSidedBlock) {
                selector = shipfile::readU32(g.faces->record(*replaced), lay::face::CullSelector)
                               .value_or(0);
                ++report.selectorFromReplaced;
            }
            bool twoSided = false;
            std::optional<std::uint32_t> texture;
            if (!textureFor(materialName(t->material), twoSided, texture))
                return false;
            report.madeOneSided += twoSided && !twoSidedBlock;
            report.madeTwoSided += !twoSided && twoSidedBlock;

            std::array<std::uint32_t, 3> v{};
            std::array<Vec3, 3> ship{};
            for (std::size_t c = 0; c < 3; ++c) {
                v[c] = vertexFor(t->positions[c]);
                ship[c] = toShip(Frame{Identity, false, frame.offset}, t->positions[c]);
            }
            std::array<std::size_t, 3> order = {0, 1, 2};
            // A face shown from its back went out turned over; it comes back as it was.
            if (selector == lay::face::CullFront)
                std::swap(order[1], order[2]);
            NewFace face{std::vector<std::uint8_t>(faceSize, 0), !texture.has_value()};
            shipfile::writeU32(face.record, lay::face::TextureIndex, texture.value_or(0));
            for (std::size_t c = 0; c < 3; ++c) {
                shipfile::writeU32(face.record, lay::face::VertexA + 4 * c, v[order[c]]);
                shipfile::writeF32(face.record, lay::face::U + 4 * c, t->uvs[order[c]][0]);
                shipfile::writeF32(face.record, lay::face::V + 4 * c, t->uvs[order[c]][1]);
            }
            shipfile::writeVec3(face.record, lay::face::Normal,
                                unitNormal(ship[0], ship[1], ship[2]));
            if (!twoSidedBlock)
                shipfile::writeU32(face.record, lay::face::CullSelector, selector);
            ++report.newFaces;
            if (replaced)
                inSlot.emplace(*replaced, std::move(face));
            else
                atEnd.push_back(std::move(face));
        }

        std::vector<NewFace> faces;
        for (std::size_t f = 0; f < faceCount; ++f) {
            if (f == dummy)
                continue;
            const auto original = originals.find(f);
            if (original == originals.end()) {
                ++report.brokenFacesDropped;
            } else if (original->second.taken) {
                const Bytes record = g.faces->record(f);
                faces.push_back({std::vector<std::uint8_t>(record.begin(), record.end()), false});
            } else if (const auto slot = inSlot.find(f); slot != inSlot.end()) {
                faces.push_back(std::move(slot->second));
            }
        }
        for (NewFace& face : atEnd)
            faces.push_back(std::move(face));
        // Faces without a texture point past the names, which are complete by now.
        for (NewFace& face : faces)
            if (face.untextured) {
                shipfile::writeU32(face.record, lay::face::TextureIndex,
                                   static_cast<std::uint32_t>(out.nameCount));
                ++report.untextured;
            }
        // Only the last face says whether the component has a dummy triangle.
        while (dummy == NoDummy && !faces.empty() && isDummy(faces.back().record)) {
            faces.pop_back();
            ++report.degenerateDropped;
        }
        if (dummy != NoDummy) {
            const Bytes record = g.faces->record(dummy);
            faces.push_back({std::vector<std::uint8_t>(record.begin(), record.end()), false});
        }
        for (const NewFace& face : faces)
            out.faces.insert(out.faces.end(), face.record.begin(), face.record.end());
        out.faceCount = faces.size();
        return true;
    }

    Frame frameOf(std::size_t node, const ComponentNode* exported) const
    {
        Frame frame;
        if (obj()) {
            if (exported)
                frame.offset = exported->translation;
            return frame;
        }
        frame.world = worldTransform(m_model, node);
        frame.transformed = !isPureTranslation(frame.world);
        return frame;
    }

    // Turns every vertex and face normal by the node's rotation and scale.
    static void transform(const Frame& frame, std::uint32_t vertexSize, std::vector<std::uint8_t>& vertices,
                          std::uint32_t faceSize, std::vector<std::uint8_t>& faces,
                          ComponentReport& report)
    {
        Matrix linear = frame.world;
        linear[12] = linear[13] = linear[14] = 0;
        Matrix normals = inverse(linear); // its transpose turns normals
        const auto turn = [](const Matrix& m, const Vec3& p, bool transposed) {
            const Vec3f e = {-p.x, -p.y, p.z};
            Vec3f out{};
            for (std::size_t r = 0; r < 3; ++r) {
                double sum = 0;
                for (std::size_t c = 0; c < 3; ++c)
                    sum += (transposed ? m[r * 4 + c] : m[c * 4 + r]) * e[c];
                out[r] = static_cast<float>(sum);
            }
            return toShipAxes(out);
        };
        for (std::size_t at = 0; vertexSize >= 12 && at + vertexSize <= vertices.size();
             at += vertexSize) {
            shipfile::MutableBytes record(vertices.data() + at, vertexSize);
            const Vec3 p = *shipfile::readVec3(record, lay::vertex::Position);
            shipfile::writeVec3(record, lay::vertex::Position, turn(linear, p, false));
        }
        for (std::size_t at = 0; faceSize > 0 && at + faceSize <= faces.size(); at += faceSize) {
            shipfile::MutableBytes record(faces.data() + at, faceSize);
            if (const auto n = shipfile::readVec3(record, lay::face::Normal)) {
                const Vec3 turned = turn(normals, *n, true);
                const double length = std::sqrt(double{turned.x} * turned.x +
                                                double{turned.y} * turned.y +
                                                double{turned.z} * turned.z);
                const Vec3 unit = {static_cast<float>(turned.x / length),
                                   static_cast<float>(turned.y / length),
                                   static_cast<float>(turned.z / length)};
                const double wasLength =
                    std::sqrt(double{n->x} * n->x + double{n->y} * n->y + double{n->z} * n->z);
                // A scale alone leaves the normal pointing where it did: its bytes stay.
                const bool turnedAway = !(wasLength > 1e-20) ||
                                        std::fabs(unit.x - n->x / wasLength) > 1e-6 ||
                                        std::fabs(unit.y - n->y / wasLength) > 1e-6 ||
                                        std::fabs(unit.z - n->z / wasLength) > 1e-6;
                if (length > 1e-20 && turnedAway) {
                    shipfile::writeVec3(record, lay::face::Normal, unit);
                    ++report.normalsTurned;
                }
            }
        }
    }

    // The same triangles, material by material in the export's order, with the same texture
    // coordinates, their corners moved: each vertex keeps its own record and takes its new
    // place. False, changing nothing, when the model is not such a reshape.
    bool reshape(const ComponentNode& exported, const Mesh& mesh, const Frame& frame,
                 const Geometry& g, std::size_t dummy, ComponentReport& report, Built& out)
    {
        const auto isPoint = [](const std::array<Vec3f, 3>& p) {
            return keyOf(p[0]) == keyOf(p[1]) && keyOf(p[1]) == keyOf(p[2]);
        };
        std::map<std::string, std::vector<const Triangle*>> model;
        for (const Triangle& t : mesh.triangles)
            if (!isPoint(t.positions))
                model[materialName(t.material)].push_back(&t);
        struct Written
        {
            const exporter::Primitive* primitive;
            std::size_t k;
        };
        std::map<std::string, std::vector<Written>> written;
        for (const exporter::Primitive& p : exported.primitives)
            for (std::size_t k = 0; k < p.faces.size(); ++k)
                if (p.faces[k] != dummy &&
                    !isPoint({p.corners[3 * k].position, p.corners[3 * k + 1].position,
                              p.corners[3 * k + 2].position}))
                    written[writtenMaterial(m_scene.materials[p.material].name)].push_back({&p, k});
        if (model.size() != written.size())
            return false;

        std::map<std::uint32_t, Vec3f> moved; // vertex record -> its place in the model
        for (const auto& [material, faces] : written) {
            const auto found = model.find(material);
            if (found == model.end() || found->second.size() != faces.size())
                return false;
            for (std::size_t i = 0; i < faces.size(); ++i) {
                const exporter::Primitive& p = *faces[i].primitive;
                const std::size_t k = faces[i].k;
                const Triangle& t = *found->second[i];
                const Bytes record = g.faces->record(p.faces[k]);
                std::array<std::uint32_t, 3> index{};
                for (std::size_t c = 0; c < 3; ++c)
                    index[c] = *shipfile::readU32(record, lay::face::VertexA + 4 * c);
                // The export turned faces shown from their back over.
                if (g.faces->recordSize == lay::face::RecordSize &&
                    shipfile::readU32(record, lay::face::CullSelector) == lay::face::CullFront)
                    std::swap(index[1], index[2]);
                bool aligned = false;
                for (std::size_t r = 0; r < 3 && !aligned; ++r) {
                    aligned = true;
                    for (std::size_t c = 0; c < 3 && aligned; ++c) {
                        const std::size_t at = (c + r) % 3;
                        const auto known = moved.find(index[at]);
                        aligned = uvClose(t.uvs[c], p.corners[3 * k + at].uv) &&
                                  (known == moved.end() ||
                                   keyOf(known->second) == keyOf(t.positions[c]));
                        for (std::size_t d = 0; d < c && aligned; ++d)
                            aligned = index[(d + r) % 3] != index[at] ||
                                      keyOf(t.positions[d]) == keyOf(t.positions[c]);
                    }
                    if (aligned)
                        for (std::size_t c = 0; c < 3; ++c)
                            moved.emplace(index[(c + r) % 3], t.positions[c]);
                }
                if (!aligned)
                    return false;
            }
        }

        out.vertices = copyOf(g.vertices);
        out.vertexCount = g.vertices->count();
        out.faces = copyOf(g.faces);
        out.faceCount = g.faces->count();
        out.names = copyOf(g.names);
        out.nameCount = g.names ? g.names->count() : 0;
        const std::size_t usable = shipfile::vertexPositionCount(*g.vertices);
        const std::uint32_t vertexSize = g.vertices->recordSize;
        const auto place = [&](Bytes vertices, std::uint32_t v) {
            return *shipfile::readVec3(vertices.subspan(std::size_t{v} * vertexSize, vertexSize),
                                       lay::vertex::Position);
        };
        const Bytes originalVertices(g.vertices->records().data(), g.vertices->records().size());
        for (const auto& [v, position] : moved) {
            if (v >= usable)
                continue;
            const Vec3 now = toShip(Frame{Identity, false, frame.offset}, position);
            const Vec3 was = place(out.vertices, v);
            if (keyOf(Vec3f{now.x, now.y, now.z}) == keyOf(Vec3f{was.x, was.y, was.z}))
                continue;
            shipfile::writeVec3(shipfile::MutableBytes(out.vertices.data() + std::size_t{v} * vertexSize,
                                                       vertexSize),
                                lay::vertex::Position, now);
            ++report.verticesMoved;
        }
        // A face that turned gets the normal of its new winding, on the side its old one was.
        const std::uint32_t faceSize = g.faces->recordSize;
        for (std::size_t f = 0; f < out.faceCount; ++f) {
            const shipfile::MutableBytes record(out.faces.data() + f * faceSize, faceSize);
            std::array<std::uint32_t, 3> index{};
            for (std::size_t c = 0; c < 3; ++c)
                index[c] = shipfile::readU32(record, lay::face::VertexA + 4 * c).value_or(UINT32_MAX);
            const auto stored = shipfile::readVec3(record, lay::face::Normal);
            if (!stored || index[0] >= usable || index[1] >= usable || index[2] >= usable)
                continue;
            const Vec3 before = unitNormal(place(originalVertices, index[0]),
                                           place(originalVertices, index[1]),
                                           place(originalVertices, index[2]));
            Vec3 after = unitNormal(place(out.vertices, index[0]), place(out.vertices, index[1]),
                                    place(out.vertices, index[2]));
            if (std::fabs(before.x - after.x) <= 1e-6f && std::fabs(before.y - after.y) <= 1e-6f &&
                std::fabs(before.z - after.z) <= 1e-6f)
                continue;
            if (stored->x * before.x + stored->y * before.y + stored->z * before.z < 0)
                after = {-after.x, -after.y, -after.z};
            shipfile::writeVec3(record, lay::face::Normal, after);
            ++report.normalsTurned;
        }
        return true;
    }

    // The component's boxes turned and scaled with it: each box's edges (its rows times its
    // half-extents) taken through the transform give its new orientation and half-extents.
    static BlockRecords transformedBoxes(const Frame& frame, const ShipBlock& boxes)
    {
        BlockRecords out{boxes.type, boxes.recordSize, boxes.count(), copyOf(&boxes)};
        constexpr std::array<double, 3> Turn = {-1.0, -1.0, 1.0};
        // The transform in ship axes: T L T, T the export's half turn.
        const auto linear = [&](std::size_t row, std::size_t col) {
            return Turn[row] * Turn[col] * frame.world[col * 4 + row];
        };
        for (std::size_t r = 0; r < boxes.count(); ++r) {
            const shipfile::MutableBytes record(out.records.data() + r * boxes.recordSize,
                                                boxes.recordSize);
            const auto half = shipfile::readVec3(record, lay::box::HalfExtents);
            const auto centre = shipfile::readVec3(record, lay::box::Centre);
            if (!half || !centre)
                continue;
            const double c[3] = {centre->x, centre->y, centre->z};
            const double h[3] = {half->x, half->y, half->z};
            Vec3 newCentre;
            float* centreOut[3] = {&newCentre.x, &newCentre.y, &newCentre.z};
            for (std::size_t i = 0; i < 3; ++i)
                *centreOut[i] = static_cast<float>(linear(i, 0) * c[0] + linear(i, 1) * c[1] +
                                                   linear(i, 2) * c[2]);
            Vec3 newHalf;
            float* halfOut[3] = {&newHalf.x, &newHalf.y, &newHalf.z};
            // Column j of the box's rows is its local axis j; taken through the transform.
            for (std::size_t j = 0; j < 3; ++j) {
                double axis[3] = {};
                for (std::size_t i = 0; i < 3; ++i)
                    for (std::size_t k = 0; k < 3; ++k)
                        axis[i] += linear(i, k) *
                                   shipfile::readF32(record, lay::box::Matrix + 4 * (3 * k + j))
                                       .value_or(0.0f) *
                                   h[j];
                const double length =
                    std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
                if (!(length > 1e-20))
                    continue;
                *halfOut[j] = static_cast<float>(length);
                for (std::size_t i = 0; i < 3; ++i)
                    shipfile::writeF32(record, lay::box::Matrix + 4 * (3 * i + j),
                                       static_cast<float>(axis[i] / length));
            }
            shipfile::writeVec3(record, lay::box::Centre, newCentre);
            shipfile::writeVec3(record, lay::box::HalfExtents, newHalf);
        }
        return out;
    }

    void replace(const MeshMatch& match)
    {
        const int n = match.component;
        const Node& node = m_model.nodes[match.node];
        const ComponentNode* exported = sceneComponent(n);
        const Geometry g = geometryOf(m_ship, n);
        ComponentChange change;
        change.component = n;
        change.record = copyOf(shipfile::componentRecord(m_ship, n));
        ComponentReport report;
        report.name = exporter::toUtf8(shipfile::componentName(m_ship, n));
        report.facesBefore = report.facesAfter = g.faces ? g.faces->count() : 0;
        report.verticesBefore = report.verticesAfter = g.vertices ? g.vertices->count() : 0;
        const Frame frame = frameOf(match.node, exported);

        if (!obj() && exported) {
            const Vec3f moved = {static_cast<float>(frame.world[12]),
                                 static_cast<float>(frame.world[13]),
                                 static_cast<float>(frame.world[14])};
            if (!samePlace(moved, exported->translation)) {
                shipfile::writeVec3(change.record, lay::component::Origin, toShipAxes(moved));
                report.originMoved = true;
            }
        }

        Built built;
        bool rebuilt = false;
        // A section without face and vertex blocks has nowhere to put triangles.
        report.noGeometryBlocks = node.mesh >= 0 && (!g.attachments || !g.faces || !g.vertices);
        if (node.mesh >= 0 && !report.noGeometryBlocks) {
            rebuilt = buildGeometry(exported, m_model.meshes[static_cast<std::size_t>(node.mesh)],
                                    frame, g, report, built);
            if (m_plan.refused())
                return;
            if (rebuilt && (tooMany(node.name, built.faceCount) ||
                            tooMany(node.name, built.vertexCount) ||
                            tooMany(node.name, built.nameCount)))
                return;
        }
        if (frame.transformed && g.faces && g.vertices) {
            if (!rebuilt) {
                built.faces = copyOf(g.faces);
                built.vertices = copyOf(g.vertices);
                built.names = copyOf(g.names);
                built.faceCount = g.faces->count();
                built.vertexCount = g.vertices->count();
                built.nameCount = g.names ? g.names->count() : 0;
            }
            transform(frame, g.vertices->recordSize, built.vertices, g.faces->recordSize,
                      built.faces, report);
            report.transformed = rebuilt = true;
            const shipfile::ComponentParts parts = shipfile::componentParts(m_ship, n);
            if (parts.boxes && parts.boxes->count() > 0)
                change.blocks.push_back(transformedBoxes(frame, *parts.boxes));
        }
        if (rebuilt) {
            report.geometryReplaced = true;
            report.facesAfter = built.faceCount;
            report.verticesAfter = built.vertexCount;
            const std::uint32_t faceSize = g.faces ? g.faces->recordSize : lay::face::RecordSize;
            const std::uint32_t vertexSize =
                g.vertices ? g.vertices->recordSize : lay::vertex::RecordSize;
            change.blocks.push_back({lay::type::Faces, faceSize,
                                     static_cast<std::uint32_t>(built.faceCount), built.faces});
            change.blocks.push_back({lay::type::Vertices, vertexSize,
                                     static_cast<std::uint32_t>(built.vertexCount),
                                     built.vertices});
            if (g.names || built.namesBlockNeeded)
                change.blocks.push_back({lay::type::TextureNames, g.names ? g.names->recordSize : 32,
                                         static_cast<std::uint32_t>(built.nameCount),
                                         built.names});
        }
        if (g.attachments && !attachments(n, match.node, frame, *g.attachments, change, report))
            return;
        m_plan.changes.push_back(std::move(change));
        m_plan.report.push_back(std::move(report));
    }

    // Writes back the attachments the component node's children stand for, and adds new ones.
    bool attachments(int n, std::size_t nodeIndex, const Frame& frame, const ShipBlock& block,
                     ComponentChange& change, ComponentReport& report)
    {
        std::vector<std::uint8_t> records = copyOf(&block);
        std::size_t count = block.count();
        std::set<std::size_t> claimed;
        bool changed = false;
        constexpr std::array<double, 3> Turn = {-1.0, -1.0, 1.0};
        const auto writeOrientation = [&](shipfile::MutableBytes record,
                                          const std::array<std::array<double, 3>, 3>& rows) {
            for (std::size_t i = 0; i < 3; ++i)
                for (std::size_t j = 0; j < 3; ++j)
                    shipfile::writeF32(record, lay::attachment::Matrix + 4 * (3 * i + j),
                                       static_cast<float>(Turn[i] * Turn[j] * rows[i][j]));
        };
        for (std::size_t c = nodeIndex + 1; c < m_model.nodes.size(); ++c) {
            const Node& child = m_model.nodes[c];
            if (child.parent != static_cast<int>(nodeIndex) || child.mesh >= 0 ||
                isBoxName(child.name))
                continue;
            Matrix relative = child.local;
            if (frame.transformed) {
                Matrix linear = frame.world;
                linear[12] = linear[13] = linear[14] = 0;
                relative = multiply(linear, relative);
            }
            const Vec3f position = {static_cast<float>(relative[12]),
                                    static_cast<float>(relative[13]),
                                    static_cast<float>(relative[14])};
            const auto rotation = rotationOf(relative);

            auto source = m_attachmentByName.find(child.name);
            if (source == m_attachmentByName.end())
                source = m_attachmentByName.find(baseName(child.name));
            if (source != m_attachmentByName.end()) {
                const auto [component, j] = source->second;
                const exporter::AttachmentNode* was = nullptr;
                for (const auto& a : component->attachments)
                    if (a.index == j)
                        was = &a;
                const bool own = component->index == static_cast<std::size_t>(n) && !claimed.count(j);
                std::size_t at = j;
                if (own) {
                    claimed.insert(j);
                } else {
                    // Another component's attachment, or a copy of one: a new record like it.
                    const ShipBlock* from =
                        shipfile::componentParts(m_ship, static_cast<int>(component->index))
                            .attachments;
                    std::vector<std::uint8_t> record(block.recordSize, 0);
                    const Bytes bytes = from->record(j);
                    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), record.size()),
                                record.begin());
                    records.insert(records.end(), record.begin(), record.end());
                    at = count++;
                    report.attachmentsAdded.push_back(child.name);
                    changed = true;
                }
                shipfile::MutableBytes record(records.data() + at * block.recordSize,
                                              block.recordSize);
                bool moved = false;
                if (!samePlace(position, was->translation)) {
                    shipfile::writeVec3(record, lay::attachment::Position, toShipAxes(position));
                    moved = true;
                }
                if (!sameRotation(rotation, rotationOf(was->rotation))) {
                    writeOrientation(record, rotation);
                    moved = true;
                }
                if (own && moved)
                    report.attachmentsMoved.push_back(child.name);
                changed = changed || moved;
                continue;
            }
            for (int kind = 0; kind < lay::AttachmentKindCount; ++kind) {
                if (shipfile::attachmentKindName(kind) != baseName(child.name))
                    continue;
                std::vector<std::uint8_t> record(block.recordSize, 0);
                const Bytes bytes =
                    shipfile::attachmentTemplate(static_cast<lay::AttachmentKind>(kind));
                std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), record.size()),
                            record.begin());
                shipfile::writeVec3(record, lay::attachment::Position, toShipAxes(position));
                // An empty placed without turning keeps the orientation the game gives the kind.
                if (sameRotation(rotation, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}))
                    ++report.templateOrientations;
                else
                    writeOrientation(record, rotation);
                records.insert(records.end(), record.begin(), record.end());
                ++count;
                report.attachmentsAdded.push_back(child.name);
                changed = true;
            }
        }
        if (!changed)
            return true;
        if (tooMany(report.name, count))
            return false;
        change.blocks.push_back({lay::type::Attachments, block.recordSize,
                                 static_cast<std::uint32_t>(count), std::move(records)});
        return true;
    }

    void add(const MeshMatch& match)
    {
        const int like = m_options.like;
        if (like < 0 || like >= shipfile::componentCount(m_ship)) {
            m_plan.refusal = fill(msg::NoLikeComponent, {std::to_string(like)});
            return;
        }
        const Node& node = m_model.nodes[match.node];
        const shipfile::ComponentParts likeParts = shipfile::componentParts(m_ship, like);
        const Geometry likeGeometry = geometryOf(m_ship, like);
        const ShipBlock* start = likeParts.section;
        const ShipBlock* end = likeParts.sectionEnd;
        if (!start || !likeParts.inSection(likeGeometry.attachments) ||
            !likeParts.inSection(likeGeometry.faces) || !likeParts.inSection(likeGeometry.vertices)) {
            m_plan.refusal = fill(msg::NoLikeComponent,
                                  {exporter::toUtf8(shipfile::componentName(m_ship, like))});
            return;
        }

        ComponentChange change;
        change.record = copyOf(shipfile::componentRecord(m_ship, like));
        const std::string name =
            fromUtf8(baseName(node.name)).substr(0, lay::component::NameMaxEdit);
        if (change.record.size() > name.size()) {
            std::copy(name.begin(), name.end(), change.record.begin());
            change.record[name.size()] = 0;
        }
        const Frame frame = frameOf(match.node, nullptr);
        const Vec3f origin = {static_cast<float>(frame.world[12]),
                              static_cast<float>(frame.world[13]),
                              static_cast<float>(frame.world[14])};
        shipfile::writeVec3(change.record, lay::component::Origin, toShipAxes(origin));

        ComponentReport report;
        report.name = exporter::toUtf8(name);
        report.added = report.geometryReplaced = true;
        const ShipBlock noFaces(lay::type::Faces, likeGeometry.faces->recordSize, 0);
        const ShipBlock noVertices(lay::type::Vertices, likeGeometry.vertices->recordSize, 0);
        const ShipBlock noNames(lay::type::TextureNames,
                                likeGeometry.names ? likeGeometry.names->recordSize : 32, 0);
        const ShipBlock noAttachments(lay::type::Attachments, likeGeometry.attachments->recordSize, 0);
        const Geometry empty{&noAttachments, &noFaces, &noVertices,
                             likeGeometry.names ? &noNames : nullptr};
        Built built;
        buildGeometry(nullptr, m_model.meshes[static_cast<std::size_t>(node.mesh)], frame, empty,
                      report, built);
        if (m_plan.refused())
            return;
        if (frame.transformed)
            transform(frame, noVertices.recordSize, built.vertices, noFaces.recordSize,
                      built.faces, report);
        // The new component has a dummy triangle when the one it copies has.
        const std::size_t likeFaces = likeGeometry.faces->count();
        if (likeFaces > 0 && isDummy(likeGeometry.faces->record(likeFaces - 1))) {
            std::vector<std::uint8_t> dummy(noFaces.recordSize, 0);
            if (built.faceCount > 0)
                std::copy_n(built.faces.end() - noFaces.recordSize, 4, dummy.begin());
            shipfile::writeU32(dummy, lay::face::DummyMarker, lay::face::DummyMarkerValue);
            built.faces.insert(built.faces.end(), dummy.begin(), dummy.end());
            ++built.faceCount;
        }
        if (tooMany(node.name, built.faceCount) || tooMany(node.name, built.vertexCount) ||
            tooMany(node.name, built.nameCount))
            return;
        report.facesAfter = built.faceCount;
        report.verticesAfter = built.vertexCount;

        ComponentChange attachmentsChange;
        if (!attachments(-1, match.node, frame, noAttachments, attachmentsChange, report))
            return;
        for (const ShipBlock* b = start; b != end; b = b->next()) {
            BlockRecords out{b->type, b->recordSize, b->count(), copyOf(b)};
            if (b == likeGeometry.attachments) {
                out.count = 0;
                out.records.clear();
                if (!attachmentsChange.blocks.empty())
                    out = attachmentsChange.blocks.front();
            } else if (b == likeGeometry.faces) {
                out = {b->type, b->recordSize, static_cast<std::uint32_t>(built.faceCount),
                       built.faces};
            } else if (b == likeGeometry.vertices) {
                out = {b->type, b->recordSize, static_cast<std::uint32_t>(built.vertexCount),
                       built.vertices};
            } else if (b == likeGeometry.names) {
                out = {b->type, b->recordSize, static_cast<std::uint32_t>(built.nameCount),
                       built.names};
            } else if (b->type == lay::type::Boxes || b->type == lay::type::AnimationFrames) {
                out.count = 0;
                out.records.clear();
            } else if (b->type == lay::type::BoxFaceList) {
                continue;
            }
            change.blocks.push_back(std::move(out));
            if (b == likeGeometry.attachments && !likeGeometry.names && built.nameCount > 0)
                change.blocks.push_back({lay::type::TextureNames, 32,
                                         static_cast<std::uint32_t>(built.nameCount),
                                         built.names});
        }
        m_plan.changes.push_back(std::move(change));
        m_plan.report.push_back(std::move(report));
    }

    const ShipFile& m_ship;
    const Model& m_model;
    const ImportOptions& m_options;
    ImportPlan m_plan;
    exporter::ExportScene m_scene;
    std::map<std::string, const ComponentNode*> m_componentByName;
    std::map<std::string, std::pair<const ComponentNode*, std::size_t>> m_attachmentByName;
    std::set<std::string> m_exportMaterials;
};

} // namespace

ImportPlan planImport(const ShipFile& ship, const Model& model, const ImportOptions& options,
                      const std::vector<MeshAction>* actions)
{
    return Planner(ship, model, options).plan(actions);
}

bool applyImport(ShipFile& ship, const ImportPlan& plan)
{
    if (plan.refused() || !ship.componentBlock())
        return false;
    for (const ComponentChange& change : plan.changes) {
        if (change.component < 0)
            continue;
        const shipfile::MutableBytes record = shipfile::componentRecord(ship, change.component);
        std::copy(change.record.begin(), change.record.end(), record.begin());
        const shipfile::EditableComponentParts parts =
            shipfile::componentParts(ship, change.component);
        ShipBlock* attachments = parts.attachments;
        for (const BlockRecords& blocks : change.blocks) {
            ShipBlock* target = blocks.type == lay::type::Attachments ? parts.attachments
                                : blocks.type == lay::type::Faces     ? parts.faces
                                : blocks.type == lay::type::Vertices  ? parts.vertices
                                : blocks.type == lay::type::Boxes     ? parts.boxes
                                                                      : parts.textureNames;
            // A section without texture names gets them right after its attachments.
            if (!target && blocks.type == lay::type::TextureNames)
                target = ship.insertAfter(*attachments,
                                          std::make_unique<ShipBlock>(blocks.type,
                                                                      blocks.recordSize, 0));
            if (!target)
                continue;
            target->clearRecords();
            target->appendRecords(blocks.records, blocks.count);
        }
    }
    for (const ComponentChange& change : plan.changes) {
        if (change.component >= 0)
            continue;
        ship.componentBlock()->appendRecord(change.record);
        for (const BlockRecords& blocks : change.blocks) {
            auto block = std::make_unique<ShipBlock>(blocks.type, blocks.recordSize, 0);
            block->appendRecords(blocks.records, blocks.count);
            ship.append(std::move(block));
        }
    }
    return true;
}

} // namespace importer
