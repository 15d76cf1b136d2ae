#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/ShipFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tools {

struct BlockSummary
{
    std::uint32_t type = 0;
    std::uint32_t recordSize = 0;
    std::uint32_t count = 0;
};

/// One record of a type-9 block. Fields that lie past the end of a short record are empty.
struct AttachmentSummary
{
    std::optional<std::int32_t> kind;
    std::optional<shipfile::Vec3> position;
    std::optional<std::int32_t> styleIndex;
    std::optional<std::int32_t> gunIndex;
    /// The text the attached-objects list shows for the record.
    std::string label;
};

/// Component n: record n of the type-1 block and the blocks that belong to it. A field past the
/// end of a reduced record, or a block the chain does not have, is empty.
struct ComponentSummary
{
    std::string name;
    std::optional<shipfile::Vec3> origin;
    std::optional<std::int32_t> role;
    std::optional<std::int32_t> hitPoints;
    std::optional<bool> hasDebris;
    std::optional<std::int32_t> debrisNumber;
    std::optional<std::vector<AttachmentSummary>> attachments;
    std::optional<std::uint32_t> faceCount;
    std::optional<std::uint32_t> vertexCount;
    std::optional<std::vector<std::string>> textures;
    std::optional<std::uint32_t> boxCount;
    /// Whether the chain has the component's type-2 block; the flags below look at its section.
    bool hasSection = false;
    bool hasAnimationHeader = false;
    bool hasAnimationFrames = false;
    bool hasBlock13 = false;
    /// A type-13 block with records: switched on.
    bool block13On = false;
    bool hasBlock14 = false;
};

struct ShipSummary
{
    std::vector<BlockSummary> blocks;
    std::optional<std::int8_t> shipClass;
    std::vector<ComponentSummary> components;
};

/// Everything `info` reports about a loaded ship. Reads only inside the records.
ShipSummary summarise(const shipfile::ShipFile& file);

} // namespace tools
