// Any byte string as a ship file image. Loading must never crash; a document that loads
// serialises to the blocks it was read from, and that image loads back to itself. The lookups
// and record edits the editor builds on must cope with whatever blocks came in, and the ship
// checks must name only blocks and components that are there.
#include "checks/Checks.h"
#include "fuzz/FuzzCheck.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/MessageSink.h"
#include "shipfile/RefPack.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace shipfile;
using ByteVector = std::vector<std::uint8_t>;

bool endsWithEndMarker(Bytes data)
{
    static constexpr std::uint8_t Marker[] = {0xFF, 0xFF, 0, 0, 0, 0};
    return data.size() >= sizeof Marker &&
           std::equal(std::begin(Marker), std::end(Marker), data.end() - sizeof Marker);
}

// Every part the lookup names is a block of the chain of the right type, and its records read.
void exerciseLookups(const ShipFile& file)
{
    const auto check = [&file](const ShipBlock* b, std::uint32_t type, const char* what) {
        if (!b)
            return;
        bool found = false;
        for (const ShipBlock* c = file.first(); c && !found; c = c->next())
            found = c == b;
        fuzz::check(found && b->type == type, what);
        (void)b->record(0);
    };
    for (int i = -1; i < 4; ++i) {
        const ComponentParts parts = componentParts(file, i);
        check(parts.section, layout::type::SectionStart, "a section is a type-2 block");
        check(parts.attachments, layout::type::Attachments, "attachments are a type-9 block");
        check(parts.faces, layout::type::Faces, "faces are a type-3 block");
        check(parts.vertices, layout::type::Vertices, "vertices are a type-4 block");
        check(parts.textureNames, layout::type::TextureNames, "names are a type-6 block");
        check(parts.boxes, layout::type::Boxes, "boxes are a type-7 block");
        fuzz::check(!parts.boxes || parts.inSection(parts.boxes), "boxes lie in their section");
        fuzz::check(!parts.vertices || parts.vertexCount <= parts.vertices->count(),
                    "usable vertices are records of the vertex block");
        (void)componentName(file, i);
    }
    (void)allComponentParts(file);
    (void)componentCount(file);
    (void)shipClass(file);
}

void exerciseChecks(const ShipFile& file)
{
    std::size_t blocks = 0;
    for (const ShipBlock* b = file.first(); b; b = b->next())
        ++blocks;
    const std::vector<std::string> cache = {"plate"};
    for (const checks::Finding& f : checks::checkShip(file, &cache)) {
        fuzz::check(!f.check.empty() && !f.message.empty(), "a finding has a name and a sentence");
        fuzz::check(!f.component || (*f.component >= 0 && *f.component < componentCount(file)),
                    "a finding names a component of the ship");
        fuzz::check(!f.block || *f.block < blocks || f.check == "file-truncated",
                    "a finding names a block of the chain");
    }
}

// A few record edits on the first blocks, as the editing commands make them.
void exerciseEdits(ShipFile& file, std::uint8_t choice)
{
    int n = 0;
    for (ShipBlock* b = file.first(); b && n < 8; b = b->next(), ++n) {
        switch ((choice + n) % 4) {
        case 0:
            b->appendTemplateRecord((choice + n) % 6);
            break;
        case 1:
            b->appendRecord(b->record(0));
            break;
        case 2:
            b->removeRecord(static_cast<std::size_t>(choice % 3));
            break;
        default:
            break;
        }
        fuzz::check(b->records().size() == std::size_t{b->recordSize} * b->count(),
                    "a block holds exactly count records");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SilentSink sink;
    const Bytes input(data, size);
    auto file = ShipFile::fromBytes(input, "fuzz.shp", sink);
    const ByteVector image = file->serialise();
    fuzz::check(endsWithEndMarker(image), "a saved image ends with the end marker");

    if (!file->empty()) {
        // The blocks come back exactly as they stood in the (unpacked) input.
        ByteBuffer unpacked;
        Bytes plain = input;
        if (!endsWithEndMarker(input)) {
            decodePacked(input, unpacked);
            plain = unpacked;
        }
        const std::size_t blockBytes = image.size() - layout::BlockHeaderSize;
        fuzz::check(blockBytes <= plain.size() &&
                        std::equal(image.begin(),
                                   image.begin() + static_cast<std::ptrdiff_t>(blockBytes),
                                   plain.begin()),
                    "saving reproduces the blocks that were read");

        auto again = ShipFile::fromBytes(image, "again.shp", sink);
        fuzz::check(again->serialise() == image, "a saved image loads back to itself");
    }

    exerciseChecks(*file);
    exerciseLookups(*file);
    exerciseEdits(*file, size ? data[size / 2] : 0);
    const ByteVector edited = file->serialise();
    auto reloaded = ShipFile::fromBytes(edited, "edited.shp", sink);
    fuzz::check(reloaded->serialise() == edited, "an edited document loads back to itself");
    return 0;
}
