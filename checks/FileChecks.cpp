#include "checks/Messages.h"
#include "checks/Report.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/MessageText.h"

#include <optional>

namespace checks {

namespace {

namespace lay = shipfile::layout;
using shipfile::ShipBlock;
using shipfile::messages::formatNumber;

// The shortest record of each block type that holds every field the editor reads.
std::optional<std::size_t> shortestRecord(std::uint32_t type)
{
    switch (type) {
    case lay::type::Header:
        return lay::header::ShipClass + 1;
    case lay::type::Components:
        return lay::component::HitPoints + 4;
    case lay::type::Faces:
        return lay::face::Normal + 12;
    case lay::type::Vertices:
        return lay::vertex::Position + 12;
    case lay::type::Boxes:
        return lay::box::Centre + 12;
    case lay::type::Attachments:
        return lay::attachment::GunIndex + 4;
    case lay::type::AnimationHeader:
        return lay::animationHeader::MinimumRecordSize;
    case lay::type::AnimationFrames:
        return lay::animationFrame::RecordSize;
    case lay::type::Block13:
        return lay::block13::RecordSize;
    default:
        return std::nullopt;
    }
}

// A finding about `block`, under the component whose section holds it (-1: before the first).
// A section past the component table belongs to no component: component-count tells of it.
Finding aboutBlock(const Report& report, int section, const ShipBlock& block,
                   std::string_view check)
{
    Finding f = section >= 0 && section < shipfile::componentCount(report.ship)
                    ? report.about(section, Severity::Error, check)
                    : Finding{};
    f.severity = Severity::Error;
    f.check = check;
    f.block = report.blockIndex(block);
    return f;
}

} // namespace

void checkFile(Report& report)
{
    const shipfile::ShipFile& ship = report.ship;
    std::size_t blockCount = 0;
    int sections = 0;
    // Adjacent type-14 blocks seen so far, and the last of them.
    int block14Run = 0;
    const ShipBlock* lastBlock14 = nullptr;
    int block14Section = -1;
    const auto endBlock14Run = [&] {
        if (block14Run % 2 == 1) {
            Finding f = aboutBlock(report, block14Section, *lastBlock14, messages::Block14Unpaired);
            f.message = messages::Block14UnpairedText;
            report.findings.push_back(std::move(f));
        }
        block14Run = 0;
    };

    for (const ShipBlock* b = ship.first(); b; b = b->next(), ++blockCount) {
        if (b->type == lay::type::SectionStart)
            ++sections;
        const int section = sections - 1;

        if (b->type == lay::type::Block14) {
            ++block14Run;
            lastBlock14 = b;
            block14Section = section;
        } else {
            endBlock14Run();
        }

        // Of the header and the component table only the blocks the editor reads count: the
        // first block and the last type-1 block.
        const bool read = (b->type != lay::type::Header || b == ship.first()) &&
                          (b->type != lay::type::Components || b == ship.componentBlock());
        if (const auto shortest = shortestRecord(b->type);
            read && shortest && b->recordSize < *shortest) {
            Finding f = aboutBlock(report, section, *b, messages::RecordSize);
            f.message = formatNumber(
                formatNumber(formatNumber(messages::RecordSizeText, b->type), b->recordSize),
                static_cast<long long>(*shortest));
            report.findings.push_back(std::move(f));
        }
        if (b->type == lay::type::Block13 && b->count() != 0 && b->count() != 2) {
            Finding f = aboutBlock(report, section, *b, messages::Block13Count);
            f.message = formatNumber(messages::Block13CountText, b->count());
            report.findings.push_back(std::move(f));
        }
    }
    endBlock14Run();

    const ShipBlock* first = ship.first();
    if (!first || first->type != lay::type::Header || !first->next() ||
        first->next()->type != lay::type::Components) {
        Finding f;
        f.check = messages::FileStart;
        f.message = messages::FileStartText;
        report.findings.insert(report.findings.begin(), std::move(f));
    }
    const int listed = shipfile::componentCount(ship);
    if (listed != sections) {
        Finding f;
        f.check = messages::ComponentCount;
        if (ship.componentBlock())
            f.block = report.blockIndex(*ship.componentBlock());
        f.message = formatNumber(formatNumber(messages::ComponentCountText, listed), sections);
        report.findings.insert(report.findings.begin(), std::move(f));
    }
    if (ship.loadResult() == shipfile::LoadResult::Truncated) {
        Finding f;
        f.check = messages::FileTruncated;
        f.block = blockCount;
        f.message = formatNumber(messages::TruncatedText, static_cast<long long>(blockCount));
        report.findings.insert(report.findings.begin(), std::move(f));
    }
}

} // namespace checks
