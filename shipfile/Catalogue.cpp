#include "shipfile/Catalogue.h"

#include "shipfile/CaseInsensitive.h"
#include "shipfile/Messages.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace shipfile {

namespace {

using AttachmentRecord = std::array<std::uint8_t, layout::attachment::RecordSize>;

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
};

std::array<AttachmentRecord, layout::AttachmentKindCount> buildTemplates()
{
    std::array<AttachmentRecord, layout::AttachmentKindCount> t{};
    t[0] = TemplateBuilder{}
               .f32(16, 1.0f).f32(32, 1.0f).f32(48, 1.0f)
               .i32(56, 5).i32(60, 8).i32(64, 6)
               .f32(72, 100.0f).f32(76, 50.0f).f32(80, -400.0f)
               .i32(100, 479)
               .f32(116, 1000.0f).f32(120, 1.0f)
               .bytes;
    t[1] = TemplateBuilder{}
               .i32(0, 1)
               .f32(16, 0.733729839f).f32(20, 0.679441333f).f32(28, -0.679441333f)
               .f32(32, 0.733729839f).f32(36, -0.0f).f32(40, -0.0f).f32(48, 1.0f)
               .i32(52, 2).i32(56, 2)
               .f32(72, 130.0f).f32(76, 65.0f).f32(80, -520.0f)
               .f32(116, 0.733697474f).f32(120, 0.679476202f)
               .bytes;
    t[2] = TemplateBuilder{}
               .i32(0, 2)
               .f32(16, 1.0f).f32(20, -0.0f).f32(32, 1.0f).f32(36, -0.0f).f32(48, 1.0f)
               .i32(52, 1)
               .f32(72, 120.0f).f32(76, 60.0f).f32(80, -440.0f)
               .bytes;
    t[3] = TemplateBuilder{}
               .i32(0, 3)
               .f32(16, 0.868112206f).f32(20, 0.496368051f).f32(28, -0.496368051f)
               .f32(32, 0.868112206f).f32(36, -0.0f).f32(40, -0.0f).f32(48, 1.0f)
               .f32(72, 100.0f).f32(76, 50.0f).f32(80, -400.0f)
               .i32(100, 4)
               .f32(116, 1000.0f).f32(120, 1.0f)
               .bytes;
    t[4] = TemplateBuilder{}
               .i32(0, 4)
               .f32(16, 1.0f).f32(20, -0.0f).f32(32, 1.0f).f32(36, -0.0f).f32(48, 1.0f)
               .i32(52, 3)
               .f32(72, 48.0f).f32(76, 48.0f)
               .i32(84, 100).i32(88, 1500)
               .f32(116, 600.0f).f32(120, 1.0f)
               .bytes;
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
    return file.componentBlock ? static_cast<int>(file.componentBlock->count) : 0;
}

Bytes componentRecord(const ShipFile& file, int n)
{
    if (!file.componentBlock || n < 0)
        return {};
    return std::as_const(*file.componentBlock).record(static_cast<std::size_t>(n));
}

MutableBytes componentRecord(ShipFile& file, int n)
{
    if (!file.componentBlock || n < 0)
        return {};
    return file.componentBlock->record(static_cast<std::size_t>(n));
}

std::string componentName(const ShipFile& file, int n)
{
    return readString(componentRecord(file, n), layout::component::Name);
}

ShipBlock* sectionStart(ShipFile& file, int n)
{
    return nthBlockOfType(file, layout::type::SectionStart, n);
}

const ShipBlock* sectionStart(const ShipFile& file, int n)
{
    return nthBlockOfType(file, layout::type::SectionStart, n);
}

const ShipBlock* sectionEnd(const ShipBlock* start)
{
    for (const ShipBlock* b = start ? start->next.get() : nullptr; b; b = b->next.get())
        if (b->type == layout::type::SectionStart)
            return b;
    return nullptr;
}

ShipBlock* attachmentBlockOf(ShipFile& file, int n)
{
    return nthBlockOfType(file, layout::type::Attachments, n);
}

std::size_t vertexPositionCount(const ShipBlock& vertices)
{
    constexpr std::size_t PositionBytes = 3 * sizeof(float);
    if (vertices.recordSize < layout::vertex::Position + PositionBytes)
        return 0;
    return std::min<std::size_t>(vertices.count, vertices.records.size() / vertices.recordSize);
}

ShipBlock* boxBlockOf(ShipFile& file, int n)
{
    return nthBlockOfType(file, layout::type::Boxes, n);
}

const ShipBlock* attachmentBlockOf(const ShipFile& file, int n)
{
    return nthBlockOfType(file, layout::type::Attachments, n);
}

const ShipBlock* boxBlockOf(const ShipFile& file, int n)
{
    return nthBlockOfType(file, layout::type::Boxes, n);
}

bool isDestComponent(const ShipFile& file, int n)
{
    return endsWithIgnoringCase(componentName(file, n), "dest");
}

} // namespace shipfile
