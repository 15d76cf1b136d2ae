// Any byte string as a ship file image. Loading must never crash; a document that loads
// serialises to the blocks it was read from, and that image loads back to itself. The lookups
// and record edits the editor builds on must cope with whatever blocks came in, and the ship
// checks must name only blocks and components that are there.
#include "checks/Checks.h"
#include "fuzz/FuzzCheck.h"
#include "shipfile/Catalogue.h"
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

void exerciseLookups(ShipFile& file)
{
    for (int i = -1; i < 4; ++i) {
        if (file.selectAttachmentBlock(i)) {
            fuzz::check(file.attachmentBlock &&
                            file.attachmentBlock->type == layout::type::Attachments,
                        "selectAttachmentBlock selects a type-9 block");
            for (const ShipBlock* b :
                 {file.findFaceBlock(), file.findVertexBlock(), file.findTextureBlock()})
                if (b)
                    (void)b->record(0);
        }
        if (const ShipBlock* box = file.findBoxBlock(i))
            fuzz::check(box->type == layout::type::Boxes, "findBoxBlock finds a type-7 block");
        (void)componentName(file, i);
        (void)componentRecord(std::as_const(file), i);
        if (const ShipBlock* start = sectionStart(std::as_const(file), i))
            (void)sectionEnd(start);
        (void)attachmentBlockOf(file, i);
        (void)boxBlockOf(file, i);
        if (file.componentBlock)
            (void)file.componentBlock->componentOrigin(static_cast<std::size_t>(i + 1));
    }
    (void)componentCount(file);
    (void)shipClass(file);
}

void exerciseChecks(const ShipFile& file)
{
    std::size_t blocks = 0;
    for (const ShipBlock* b = file.first(); b; b = b->next.get())
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
    for (ShipBlock* b = file.first(); b && n < 8; b = b->next.get(), ++n) {
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
        fuzz::check(b->records.size() == std::size_t{b->recordSize} * b->count,
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
