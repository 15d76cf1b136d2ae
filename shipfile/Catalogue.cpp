#include "shipfile/Catalogue.h"

#include "shipfile/CaseInsensitive.h"
#include "shipfile/Messages.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <utility>

namespace shipfile {

namespace {

using AttachmentRecord = std::array<std::uint8_t, layout::attachment::RecordSize>;
using layout::AttachmentKind;
namespace at = layout::attachment;

// Element `i` of a run of four-byte values at `offset`: the matrix (row-major), the size and
// the uninterpreted runs.
constexpr std::size_t nth(std::size_t offset, std::size_t i)
{
    return offset + 4 * i;
}

struct TemplateBuilder
{
    AttachmentRecord bytes{};
    TemplateBuilder& i32(std::size_t offset, std::int32_t v)
    {
        writeI32(bytes, offset, v);
        return *this;
    }
    TemplateBuilder& f32(std::size_t offset, float v)
    {
        writeF32(bytes, offset, v);
        return *this;
    }
    TemplateBuilder& kind(AttachmentKind k) { return i32(at::Kind, static_cast<std::int32_t>(k)); }
    /// The orientation matrix, row-major; the elements not given stay zero.
    TemplateBuilder& matrix(std::initializer_list<std::pair<std::size_t, float>> elements)
    {
        for (const auto& [i, v] : elements)
            f32(nth(at::Matrix, i), v);
        return *this;
    }
    TemplateBuilder& size(float x, float y, float z)
    {
        return f32(nth(at::Size, 0), x).f32(nth(at::Size, 1), y).f32(nth(at::Size, 2), z);
    }
    /// The two uninterpreted floats at 116 and 120.
    TemplateBuilder& uninterpreted116(float a, float b)
    {
        return f32(nth(at::Uninterpreted116, 0), a).f32(nth(at::Uninterpreted116, 1), b);
    }
};

std::array<AttachmentRecord, layout::AttachmentKindCount> buildTemplates()
{
    const auto slot = [](AttachmentKind k) { return static_cast<std::size_t>(k); };
    std::array<AttachmentRecord, layout::AttachmentKindCount> t{};
    // clang-format off
    t[slot(AttachmentKind::MissileMount)] = TemplateBuilder{}
        .kind(AttachmentKind::MissileMount)
        .matrix({{0, 1.0f}, {4, 1.0f}, {8, 1.0f}})
        .i32(nth(at::Uninterpreted56, 0), 5).i32(nth(at::Uninterpreted56, 1), 8)
        .i32(nth(at::Uninterpreted56, 2), 6)
        .size(100.0f, 50.0f, -400.0f)
        .i32(at::GunIndex, 479)
        .uninterpreted116(1000.0f, 1.0f)
        .bytes;
    t[slot(AttachmentKind::GunObject)] = TemplateBuilder{}
        .kind(AttachmentKind::GunObject)
        .matrix({{0, 0.733729839f}, {1, 0.679441333f}, {3, -0.679441333f}, {4, 0.733729839f},
                 {5, -0.0f}, {6, -0.0f}, {8, 1.0f}})
        .i32(at::StyleIndex, 2)
        .i32(nth(at::Uninterpreted56, 0), 2)
        .size(130.0f, 65.0f, -520.0f)
        .uninterpreted116(0.733697474f, 0.679476202f)
        .bytes;
    t[slot(AttachmentKind::EngineFlame)] = TemplateBuilder{}
        .kind(AttachmentKind::EngineFlame)
        .matrix({{0, 1.0f}, {1, -0.0f}, {4, 1.0f}, {5, -0.0f}, {8, 1.0f}})
        .i32(at::StyleIndex, 1)
        .size(120.0f, 60.0f, -440.0f)
        .bytes;
    t[slot(AttachmentKind::Gun)] = TemplateBuilder{}
        .kind(AttachmentKind::Gun)
        .matrix({{0, 0.868112206f}, {1, 0.496368051f}, {3, -0.496368051f}, {4, 0.868112206f},
                 {5, -0.0f}, {6, -0.0f}, {8, 1.0f}})
        .size(100.0f, 50.0f, -400.0f)
        .i32(at::GunIndex, 4)
        .uninterpreted116(1000.0f, 1.0f)
        .bytes;
    t[slot(AttachmentKind::BlinkingLight)] = TemplateBuilder{}
        .kind(AttachmentKind::BlinkingLight)
        .matrix({{0, 1.0f}, {1, -0.0f}, {4, 1.0f}, {5, -0.0f}, {8, 1.0f}})
        .i32(at::StyleIndex, 3)
        .f32(nth(at::Size, 0), 48.0f).f32(nth(at::Size, 1), 48.0f)
        .i32(nth(at::Uninterpreted84, 0), 100).i32(nth(at::Uninterpreted84, 1), 1500)
        .uninterpreted116(600.0f, 1.0f)
        .bytes;
    // clang-format on
    return t;
}

constexpr std::array<std::string_view, GunModelCount> GunModels = {
    "",
    // Guns.
    "Pulse Laser", "Twin Pulse Laser", "Ion Cannon", "Heavy Ion Cannon", "Mass Driver",
    "Rail Gun", "Plasma Repeater", "Flak Burster", "Particle Beam", "Tachyon Lance",
    "Neutron Blaster", "Scatter Gun", "Arc Projector", "Photon Bolt", "Siege Cannon",
    // Gun objects.
    "Light Turret", "Twin Turret", "Heavy Turret", "Point Defence Mount", "Flak Tower",
    "Ion Battery", "Rail Mount", "Plasma Turret", "Beam Emitter", "Torpedo Tube",
    "Missile Pod", "Mine Layer", "Drone Bay", "Sensor Dish", "Tractor Emitter",
    "Cloak Projector", "Shield Node", "Command Turret",
};

} // namespace

Bytes attachmentTemplate(layout::AttachmentKind kind)
{
    static const auto templates = buildTemplates();
    return templates.at(static_cast<std::size_t>(kind));
}

std::string_view gunModelName(int index)
{
    if (index < 0 || index >= GunModelCount)
        return {};
    return GunModels[static_cast<std::size_t>(index)];
}

std::string_view attachmentModelName(std::int32_t kind, std::int32_t styleIndex,
                                     std::int32_t gunIndex)
{
    switch (static_cast<layout::AttachmentKind>(kind)) {
    case layout::AttachmentKind::GunObject: {
        const std::int64_t index = std::int64_t{FirstGunObjectModel} + styleIndex;
        return index < GunModelCount ? gunModelName(static_cast<int>(index)) : std::string_view{};
    }
    case layout::AttachmentKind::Gun:
        return gunModelName(gunIndex);
    default:
        return {};
    }
}

std::string_view attachmentKindName(std::int32_t kind)
{
    constexpr std::array<std::string_view, layout::AttachmentKindCount> Names = {
        "Missile Mount Point", "Gun Object", "Engine Flame", "Gun", "Blinking Light"};
    if (kind < 0 || kind >= layout::AttachmentKindCount)
        return {};
    return Names[static_cast<std::size_t>(kind)];
}

std::string shipClassText(std::int8_t value)
{
    switch (value) {
    case 0: return "Fighter";
    case 1: return "Capship";
    case 2: return "Fighter + Cloak";
    default: return messages::formatNumber(messages::ValueFormat, value);
    }
}

std::string roleText(std::int32_t role)
{
    const auto index = static_cast<std::uint32_t>(role);
    if (index < RoleNames.size())
        return std::string(RoleNames[index]);
    return messages::formatNumber(messages::ValueFormat,
                                  static_cast<std::int8_t>(static_cast<std::uint8_t>(index)));
}

std::optional<std::int8_t> shipClass(const ShipFile& file)
{
    const ShipBlock* header = file.first();
    return header ? readI8(header->record(0), layout::header::ShipClass) : std::nullopt;
}

bool setShipClass(ShipFile& file, std::int8_t value)
{
    ShipBlock* header = file.first();
    return header && writeI8(header->record(0), layout::header::ShipClass, value);
}

int componentCount(const ShipFile& file)
{
    return file.componentBlock() ? static_cast<int>(file.componentBlock()->count()) : 0;
}

Bytes componentRecord(const ShipFile& file, int n)
{
    if (!file.componentBlock() || n < 0)
        return {};
    return std::as_const(*file.componentBlock()).record(static_cast<std::size_t>(n));
}

MutableBytes componentRecord(ShipFile& file, int n)
{
    if (!file.componentBlock() || n < 0)
        return {};
    return file.componentBlock()->record(static_cast<std::size_t>(n));
}

std::string componentName(const ShipFile& file, int n)
{
    return readString(componentRecord(file, n), layout::component::Name);
}

bool isDestComponent(const ShipFile& file, int n)
{
    return endsWithIgnoringCase(componentName(file, n), "dest");
}

} // namespace shipfile
