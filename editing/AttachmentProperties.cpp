#include "editing/AttachmentProperties.h"

#include "editing/Attachments.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

#include <array>
#include <string_view>

namespace editing {

using shipfile::MutableBytes;
using shipfile::ShipFile;
namespace lay = shipfile::layout;

namespace {

// The engine-flame and light colours, by stored value. The two lists differ: "Blue" is 4 for a
// flame and 0 for a light.
constexpr std::array<std::string_view, 8> FlameColours = {
    "Red (0)", "Red (1)", "Green", "Yellow", "Blue", "Purple", "Light Blue", "White"};
constexpr std::array<std::string_view, 6> LightColours = {
    "Blue", "Green", "Yellow", "Red", "Light Blue", "White"};

// Gun objects list table entries 16 to 32 (the last entry is never offered); guns 0 to 15.
constexpr int GunObjectChoiceCount = 17;
constexpr int GunChoiceCount = shipfile::FirstGunObjectModel;

std::vector<std::string> modelNames(int first, int count)
{
    std::vector<std::string> out;
    for (int i = first; i < first + count; ++i)
        out.emplace_back(shipfile::gunModelName(i));
    return out;
}

template <std::size_t N>
std::vector<std::string> names(const std::array<std::string_view, N>& list)
{
    return std::vector<std::string>(list.begin(), list.end());
}

} // namespace

std::vector<std::string> propertyChoices(int kind)
{
    switch (static_cast<lay::AttachmentKind>(kind)) {
    case lay::AttachmentKind::GunObject:
        return modelNames(shipfile::FirstGunObjectModel, GunObjectChoiceCount);
    case lay::AttachmentKind::EngineFlame:
        return names(FlameColours);
    case lay::AttachmentKind::Gun:
        return modelNames(0, GunChoiceCount);
    case lay::AttachmentKind::BlinkingLight:
        return names(LightColours);
    case lay::AttachmentKind::MissileMount:
        break;
    }
    return {};
}

std::int32_t propertyIndex(shipfile::Bytes record)
{
    const auto kind = shipfile::readI32(record, lay::attachment::Kind);
    const std::size_t field = kind == static_cast<std::int32_t>(lay::AttachmentKind::Gun)
                                  ? lay::attachment::GunIndex
                                  : lay::attachment::StyleIndex;
    return shipfile::readI32(record, field).value_or(0);
}

std::optional<int> highlightedChoice(int kind, std::int32_t index)
{
    const auto choices = static_cast<std::int64_t>(propertyChoices(kind).size());
    if (index < 0 || index >= choices)
        return std::nullopt;
    return index;
}

std::optional<AttachmentProperties> attachmentProperties(const ShipFile& file, int component,
                                                         int attachment)
{
    const shipfile::Bytes record = attachmentRecord(file, component, attachment);
    const auto kind = shipfile::readI32(record, lay::attachment::Kind);
    const auto position = shipfile::readVec3(record, lay::attachment::Position);
    if (!kind || *kind < 0 || !position)
        return std::nullopt;
    return AttachmentProperties{*kind, propertyIndex(record), *position};
}

bool setAttachmentProperty(ShipFile& file, int component, int attachment, std::int32_t index)
{
    const MutableBytes record = attachmentRecord(file, component, attachment);
    const std::int32_t kind = shipfile::readI32(record, lay::attachment::Kind).value_or(-1);
    switch (static_cast<lay::AttachmentKind>(kind)) {
    case lay::AttachmentKind::GunObject:
    case lay::AttachmentKind::EngineFlame:
    case lay::AttachmentKind::BlinkingLight:
        return shipfile::writeI32(record, lay::attachment::StyleIndex, index);
    case lay::AttachmentKind::Gun:
        return shipfile::writeI32(record, lay::attachment::GunIndex, index);
    case lay::AttachmentKind::MissileMount:
        break;
    }
    return false;
}

bool setAttachmentPosition(ShipFile& file, int component, int attachment,
                           shipfile::Vec3 position)
{
    return shipfile::writeVec3(attachmentRecord(file, component, attachment),
                               lay::attachment::Position, position);
}

} // namespace editing
