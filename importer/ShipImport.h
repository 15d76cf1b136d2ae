#pragma once

#include "importer/Model.h"
#include "shipfile/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace shipfile {
class ShipFile;
}

// Bringing a model back into a ship: which model mesh stands for which component, and the
// blocks that result. Planning reads the ship only; applying writes what the plan holds.
namespace importer {

struct ImportOptions
{
    /// Model meshes that name no component become new components.
    bool addNew = false;
    /// The component whose record and section new components copy.
    int like = 0;
};

enum class MeshAction
{
    Replace, // the geometry of `component`
    Add,     // a new component
    Skip,
};

/// One mesh node of the model and what the import does with it.
struct MeshMatch
{
    std::size_t node = 0;
    std::string name;
    MeshAction action = MeshAction::Skip;
    int component = -1; // Replace: the component it names
    bool byBaseName = false; // matched without Blender's ".001" suffix
};

/// What the import did to one component, and each guess it made, counted.
struct ComponentReport
{
    std::string name;
    bool added = false;
    bool geometryReplaced = false; // false: the blocks are kept byte for byte
    std::size_t verticesBefore = 0, verticesAfter = 0, facesBefore = 0, facesAfter = 0;
    bool originMoved = false;
    bool noGeometryBlocks = false; // the mesh could not replace anything
    bool transformed = false; // the node's rotation and scale applied to the vertices
    std::vector<std::string> attachmentsMoved, attachmentsAdded;
    std::vector<std::string> texturesAdded; // as the section holds them
    std::size_t verticesMoved = 0; // the same triangles reshaped: records kept, places new
    // Guesses.
    std::size_t vertexBytesFromNearest = 0; // new vertices: bytes 12-31 of the nearest one
    std::size_t vertexBytesZero = 0;        // new vertices in a component without vertices
    std::size_t newFaces = 0;               // normal from the winding, zero unknown bytes
    std::size_t selectorFromReplaced = 0;   // new faces that took the replaced face's selector
    std::size_t madeOneSided = 0;           // two-sided material in a one-sided face block
    std::size_t madeTwoSided = 0;           // one-sided material in a two-sided face block
    std::size_t untextured = 0;             // new faces without a texture: index past the names
    std::size_t normalsTurned = 0;          // kept faces whose normal the node's rotation turned
    std::size_t brokenFacesDropped = 0;     // faces pointing past their vertices, not exported
    std::size_t degenerateDropped = 0;      // point faces that would read as a dummy triangle
    std::size_t polygonsTriangulated = 0;
    std::size_t templateOrientations = 0;   // new attachments that kept the template's matrix
};

/// New record bytes for one block; `type` says which block of the section.
struct BlockRecords
{
    std::uint32_t type = 0;
    std::uint32_t recordSize = 0;
    std::uint32_t count = 0;
    std::vector<std::uint8_t> records;
};

/// The new state of one component: its component-table record and the blocks of its section
/// that change (existing components), or its whole section (new components).
struct ComponentChange
{
    int component = -1; // -1: a new component
    std::vector<std::uint8_t> record;
    std::vector<BlockRecords> blocks;
};

struct ImportPlan
{
    std::vector<MeshMatch> matches;
    std::vector<ComponentChange> changes;
    std::vector<ComponentReport> report;
    /// Set when the model cannot be imported: what and where. Nothing is to be written then.
    std::string refusal;
    bool refused() const { return !refusal.empty(); }
};

/// Plans the import of `model` into `ship`. `actions`, when given, overrides the action of each
/// mesh match (in the order the plan lists them; the editor's choices).
ImportPlan planImport(const shipfile::ShipFile& ship, const Model& model,
                      const ImportOptions& options,
                      const std::vector<MeshAction>* actions = nullptr);

/// Writes the plan's changes into `ship`. False, changing nothing, for a refused plan.
bool applyImport(shipfile::ShipFile& ship, const ImportPlan& plan);

/// The report as lines for a person: per component, vertices and faces before and after,
/// attachments moved and added, and each kind of guess with its count.
std::vector<std::string> reportLines(const ImportPlan& plan);

} // namespace importer
