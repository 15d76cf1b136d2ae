// An editing session: a ship image, then after the mark "--edits--" a run of editing commands
// with their arguments, each decoded from the bytes that follow. Component, attachment and frame
// indexes may be anything, out of range included. After every command the document must hold
// together (block sizes, current block pointers on the chain), save to an image that loads back
// to the same bytes, and a command that says it did not run must have changed nothing. Every
// change is recorded in the undo history, which the undo and redo commands step through; at the
// end, undoing everything must give the starting bytes and redoing everything the last ones.
#include "editing/Animation.h"
#include "editing/AttachmentLabel.h"
#include "editing/AttachmentProperties.h"
#include "editing/Attachments.h"
#include "editing/BlockSwitches.h"
#include "editing/Components.h"
#include "editing/Session.h"
#include "editing/Merge.h"
#include "editing/Scaling.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/SessionCommands.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace shipfile;
using ByteVector = std::vector<std::uint8_t>;
using fuzz::Command;

// The command's arguments, read from the input as they are needed; zeros once it runs out.
class Arguments
{
public:
    explicit Arguments(Bytes data) : m_data(data) {}

    bool done() const { return m_pos >= m_data.size(); }

    std::uint8_t byte() { return done() ? 0 : m_data[m_pos++]; }

    std::uint32_t u32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= std::uint32_t{byte()} << (8 * i);
        return v;
    }

    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() { return std::bit_cast<float>(u32()); }
    Vec3 vec3() { return Vec3{f32(), f32(), f32()}; }

    // Mostly small (-2..253), so indexes often hit a record; 0xFF reads any 32-bit value.
    int index()
    {
        const std::uint8_t b = byte();
        return b == 0xFF ? i32() : int{b} - 2;
    }

    std::string text()
    {
        const Bytes bytes = take(byte() % 64u);
        return std::string(bytes.begin(), bytes.end());
    }

    Bytes take(std::size_t n)
    {
        const std::size_t available = std::min(n, m_data.size() - std::min(m_pos, m_data.size()));
        const Bytes out = m_data.subspan(std::min(m_pos, m_data.size()), available);
        m_pos += available;
        return out;
    }

private:
    Bytes m_data;
    std::size_t m_pos = 0;
};

bool inChain(const ShipFile& file, const ShipBlock* block)
{
    for (const ShipBlock* b = file.first(); b; b = b->next())
        if (b == block)
            return true;
    return false;
}

void checkDocument(const ShipFile& file)
{
    for (const ShipBlock* b = file.first(); b; b = b->next()) {
        fuzz::check(b->records().size() == std::size_t{b->recordSize} * b->count(),
                    "a block holds exactly count records");
        fuzz::check(b->count() <= ShipBlock::MaxCount && b->recordSize <= 0xFFFF &&
                        b->type < layout::EndMarkerType,
                    "a block's header fits its 16-bit fields");
    }
    fuzz::check(!file.componentBlock() || (inChain(file, file.componentBlock()) &&
                                         file.componentBlock()->type == layout::type::Components),
                "the component block is a type-1 block of the chain");
}

// Reads every value the list panes and dialogs show; none of it may change the document.
void readEverything(ShipFile& file, int component, int attachment)
{
    (void)editing::componentProperties(file, component);
    (void)editing::attachmentProperties(file, component, attachment);
    (void)editing::dummyTrianglePresent(file, component);
    (void)editing::block13On(file, component);
    (void)editing::block14Present(file, component);
    if (const ShipBlock* block = componentParts(std::as_const(file), component).attachments)
        for (std::size_t i = 0; i < block->count() && i < 64; ++i)
            (void)editing::attachmentLabel(block->record(i));
    for (int n = 0; n < componentCount(file) && n < 16; ++n)
        (void)componentName(file, n);
    (void)shipClass(file);
}

// One animation dialog step: the blocks are found (the frames block made when missing), then
// one field or frame is changed.
bool animationStep(ShipFile& file, Arguments& args)
{
    const auto blocks = editing::openAnimation(file, args.index());
    const std::uint8_t step = args.byte();
    if (!blocks)
        return false;
    ShipBlock& frames = *blocks->frames;
    (void)editing::readAnimationHeader(blocks->header);
    const int frame = args.index();
    (void)editing::readFrame(frames, frame);
    const auto axis = static_cast<editing::Axis>(args.byte() % 3u);
    switch (step % 8u) {
    case 0:
        return editing::setTotalTime(blocks->header, args.i32());
    case 1:
        return editing::setAnimationType(blocks->header, static_cast<std::int16_t>(args.i32()));
    case 2:
        return editing::setTrigger(blocks->header, args.text());
    case 3:
        return editing::setFrameTime(frames, frame, args.i32());
    case 4:
        return editing::setFrameRotation(frames, frame, axis, double{args.f32()});
    case 5:
        return editing::setFrameMove(frames, frame, axis, args.f32());
    case 6:
        return editing::appendFrame(file, frames);
    default:
        return editing::deleteFrame(frames, frame);
    }
}

// Runs one command. False when the command reports that it did not run; it must then have
// left the document as it was.
bool run(Command command, ShipFile& file, Arguments& args, MessageSink& sink)
{
    switch (command) {
    case Command::AddAttachment: {
        const int component = args.index();
        return editing::addAttachment(file, component, args.index()).has_value();
    }
    case Command::RemoveAttachment: {
        const int component = args.index();
        return editing::removeAttachment(file, component, args.index()).has_value();
    }
    case Command::CopyAttachment: {
        const int component = args.index();
        return editing::copyAttachment(file, component, args.index());
    }
    case Command::MirrorAttachment: {
        const int component = args.index();
        return editing::copyAttachmentMirrored(file, component, args.index());
    }
    case Command::MoveAttachment: {
        const int component = args.index();
        const int attachment = args.index();
        return editing::moveAttachment(file, component, attachment, args.vec3());
    }
    case Command::SnapAttachment: {
        const int component = args.index();
        const int attachment = args.index();
        const std::uint8_t options = args.byte();
        return editing::snapToNearestFace(file, component, attachment,
                                          {(options & 1) != 0, (options & 2) != 0});
    }
    case Command::AttachmentProperty: {
        const int component = args.index();
        const int attachment = args.index();
        return editing::setAttachmentProperty(file, component, attachment, args.i32());
    }
    case Command::AttachmentPosition: {
        const int component = args.index();
        const int attachment = args.index();
        return editing::setAttachmentPosition(file, component, attachment, args.vec3());
    }
    case Command::DeleteComponent:
        return editing::deleteComponent(file, args.index());
    case Command::ChangeShipClass:
        return editing::changeShipClass(file).has_value();
    case Command::ComponentName: {
        const int component = args.index();
        return editing::setComponentName(file, component, args.text());
    }
    case Command::ComponentRole:
        return editing::cycleComponentRole(file, args.index()).has_value();
    case Command::HitPoints: {
        const int component = args.index();
        return editing::setComponentHitPoints(file, component, args.i32());
    }
    case Command::Debris: {
        const int component = args.index();
        return editing::setComponentHasDebris(file, component, (args.byte() & 1) != 0);
    }
    case Command::DebrisNumber: {
        const int component = args.index();
        return editing::setComponentDebrisNumber(file, component, args.i32());
    }
    case Command::MoveComponent: {
        const int component = args.index();
        return editing::moveComponentOrigin(file, component, args.vec3());
    }
    case Command::Scale: {
        const float factor = args.f32();
        const std::uint8_t how = args.byte();
        const auto direction =
            (how & 1) ? editing::ScaleDirection::Smaller : editing::ScaleDirection::Larger;
        return editing::scaleShip(file, factor, direction, (how & 2) != 0, args.index(),
                                  (how & 4) == 0);
    }
    case Command::CreateBox:
        return editing::createBox(file, args.index());
    case Command::ClearBoxes:
        return editing::clearBoxes(file, args.index());
    case Command::Merge: {
        const std::size_t low = args.byte();
        const std::size_t length = low | std::size_t{args.byte()} << 8;
        auto second = ShipFile::fromBytes(args.take(length), "second.shp", sink);
        return editing::mergeShipFile(file, std::move(second)).has_value();
    }
    case Command::DummyTriangle:
        return editing::toggleDummyTriangle(file, args.index());
    case Command::Block13:
        return editing::toggleBlock13(file, args.index());
    case Command::Block14:
        return editing::toggleBlock14(file, args.index()).has_value();
    case Command::Animation:
        animationStep(file, args);
        return true; // opening the animation may add a frames block whatever the step does
    case Command::Read: {
        const int component = args.index();
        readEverything(file, component, args.index());
        return false;
    }
    case Command::Undo:
    case Command::Redo:
        break;
    }
    return false;
}

constexpr std::string_view EditsMark = "--edits--";
constexpr int MaxCommands = 80;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t mark = input.find(EditsMark);
    const std::size_t shipSize = std::min(mark, size);
    const std::size_t editsAt = std::min(shipSize + EditsMark.size(), size);

    // KORVEX_FUZZ_TRACE=1 lists the commands of a reproducer as they run.
    static const bool trace = std::getenv("KORVEX_FUZZ_TRACE") != nullptr;
    SilentSink sink;
    auto file = ShipFile::fromBytes(Bytes(data, shipSize), "fuzz.shp", sink);
    Arguments args(Bytes(data + editsAt, size - editsAt));
    ByteVector image = file->serialise();
    checkDocument(*file);

    editing::Session session(std::move(file));
    const ByteVector start = image;
    for (int n = 0; n < MaxCommands && !args.done(); ++n) {
        const std::uint8_t number = args.byte();
        if (number >= fuzz::CommandCount)
            continue;
        const auto command = static_cast<Command>(number);
        bool ran = false;
        if (command == Command::Undo)
            ran = session.undo();
        else if (command == Command::Redo)
            ran = session.redo();
        else
            ran = session.apply("command " + std::to_string(n), [&](ShipFile& ship) {
                return run(command, ship, args, sink);
            });
        if (trace)
            std::fprintf(stderr, "command %d %s\n", static_cast<int>(command),
                         ran ? "ran" : "did not run");

        const ShipFile& ship = session.ship();
        checkDocument(ship);
        ByteVector after = ship.serialise();
        fuzz::check(ran || after == image, "a command that did not run changed nothing");
        fuzz::check(ship.matchesImage(after), "the unsaved-changes check agrees with saving");
        fuzz::check(session.modified() || after == start, "an unmodified ship holds its start");
        auto reloaded = ShipFile::fromBytes(after, "reloaded.shp", sink);
        fuzz::check(reloaded->serialise() == after, "a saved session loads back to itself");
        image = std::move(after);
    }

    // From the newest step back to the start and forward again.
    while (session.redo())
        checkDocument(session.ship());
    const ByteVector newest = session.ship().serialise();
    while (session.undo())
        checkDocument(session.ship());
    fuzz::check(session.ship().serialise() == start, "undoing everything gives the starting bytes");
    fuzz::check(!session.modified(), "undoing everything leaves nothing unsaved");
    while (session.redo())
        checkDocument(session.ship());
    fuzz::check(session.ship().serialise() == newest, "redoing everything gives the newest bytes");
    return 0;
}
