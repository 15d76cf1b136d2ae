#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/ShipBlock.h"

#include <cstddef>
#include <type_traits>
#include <vector>

namespace shipfile {

class ShipFile;

/// What belongs to component n, found by one rule per part. Every reader and every command
/// asks here, so the view, picking, the exports, `info` and the editing commands agree.
///
/// - `record`: record n of the component table;
/// - `section`: the (n+1)-th type-2 block, which opens the component's section; `sectionEnd` is
///   the next type-2 block (null at the end of the chain);
/// - `attachments`: the (n+1)-th type-9 block of the chain;
/// - `faces`, `vertices`, `textureNames`: the first type-3, type-4 and type-6 blocks after its
///   type-9 block, searched to the end of the chain; a component without a type-9 block is
///   searched from its own type-2 block instead;
/// - `boxes`: the type-7 block inside its own section; a component without one has no box;
/// - `origin`: bytes 68..79 of its record, zero when the record is too short;
/// - `vertexCount`: how many vertex records hold a whole position (faces may use these only).
///
/// `Block` is `const ShipBlock` for readers and `ShipBlock` for commands that change the blocks.
template <typename Block> struct ComponentPartsOf
{
    using Record = std::conditional_t<std::is_const_v<Block>, Bytes, MutableBytes>;

    ComponentPartsOf() = default;
    /// Editable parts read as plain parts.
    template <typename Other>
        requires(std::is_const_v<Block> && !std::is_const_v<Other>)
    ComponentPartsOf(const ComponentPartsOf<Other>& o)
        : index(o.index), record(o.record), section(o.section), sectionEnd(o.sectionEnd),
          attachments(o.attachments), faces(o.faces), vertices(o.vertices),
          textureNames(o.textureNames), boxes(o.boxes), origin(o.origin),
          vertexCount(o.vertexCount)
    {
    }

    int index = -1;
    Record record;
    Block* section = nullptr;
    const ShipBlock* sectionEnd = nullptr;
    Block* attachments = nullptr;
    Block* faces = nullptr;
    Block* vertices = nullptr;
    Block* textureNames = nullptr;
    Block* boxes = nullptr;
    Vec3 origin;
    std::size_t vertexCount = 0;

    /// Whether `block` lies in the component's section (its type-2 block included).
    bool inSection(const ShipBlock* block) const
    {
        for (const ShipBlock* b = section; b && b != sectionEnd; b = b->next())
            if (b == block)
                return true;
        return false;
    }
};

using ComponentParts = ComponentPartsOf<const ShipBlock>;
using EditableComponentParts = ComponentPartsOf<ShipBlock>;

/// The parts of component `n`. A negative `n` has none; an `n` past the component table still
/// has the blocks the chain holds for it, with an empty record.
ComponentParts componentParts(const ShipFile& file, int n);
EditableComponentParts componentParts(ShipFile& file, int n);

/// The parts of every component of the table, in order, found in one walk of the chain.
std::vector<ComponentParts> allComponentParts(const ShipFile& file);

/// How many records of a type-4 block hold a whole vertex position.
std::size_t vertexPositionCount(const ShipBlock& vertices);

} // namespace shipfile
