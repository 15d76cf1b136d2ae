#include "tools/ShpCommands.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Messages.h"
#include "tools/Escaping.h"
#include "tools/JsonWriter.h"
#include "tools/ShipSummary.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string>

namespace tools {

namespace messages = shipfile::messages;

namespace {

// Text output ---------------------------------------------------------------------------------

std::string realText(float value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string vecText(const std::optional<shipfile::Vec3>& v)
{
    if (!v)
        return "-";
    return realText(v->x) + " " + realText(v->y) + " " + realText(v->z);
}

template <typename T>
std::string numberText(const std::optional<T>& value)
{
    return value ? std::to_string(*value) : "-";
}

std::string countText(const std::optional<std::uint32_t>& count, const char* missingBlock)
{
    return count ? std::to_string(*count) : std::string("- (no ") + missingBlock + " block)";
}

std::string specialBlocksText(const ComponentSummary& c)
{
    if (!c.hasSection)
        return "- (no type-2 block)";
    std::string text;
    auto add = [&text](const char* item) {
        if (!text.empty())
            text += ", ";
        text += item;
    };
    if (c.hasBlock10)
        add("10");
    if (c.hasBlock11)
        add("11");
    if (c.hasBlock13)
        add(c.block13On ? "13 (on)" : "13 (off)");
    if (c.hasBlock14)
        add("14");
    return text.empty() ? "none" : text;
}

std::string attachmentText(std::size_t index, const AttachmentSummary& a)
{
    return "    " + std::to_string(index) + ": " + a.label + " (kind " + numberText(a.kind) +
           ", position " + vecText(a.position) + ", styleIndex " + numberText(a.styleIndex) +
           ", gunIndex " + numberText(a.gunIndex) + ")\n";
}

std::string componentText(std::size_t n, const ComponentSummary& c)
{
    std::string out = "\nComponent " + std::to_string(n) + ": " + displayQuoted(c.name) + "\n";
    out += "  origin: " + vecText(c.origin) + "\n";
    out += "  role: " + (c.role ? shipfile::roleText(*c.role) : "-") + "\n";
    out += "  hit points: " + numberText(c.hitPoints) + "\n";
    out += "  debris: " + std::string(!c.hasDebris ? "-" : *c.hasDebris ? "yes" : "no") +
           ", number " + numberText(c.debrisNumber) + "\n";
    out += "  faces: " + countText(c.faceCount, "type-3") + "\n";
    out += "  vertices: " + countText(c.vertexCount, "type-4") + "\n";
    out += "  boxes: " + countText(c.boxCount, "type-7") + "\n";
    out += "  textures:";
    if (!c.textures)
        out += " - (no type-6 block)";
    for (const std::string& name : c.textures.value_or(std::vector<std::string>{}))
        out += " " + displayQuoted(name);
    out += "\n";
    out += "  special blocks: " + specialBlocksText(c) + "\n";
    if (!c.attachments) {
        out += "  attachments: - (no type-9 block)\n";
        return out;
    }
    out += "  attachments: " + std::to_string(c.attachments->size()) + "\n";
    for (std::size_t i = 0; i < c.attachments->size(); ++i)
        out += attachmentText(i, (*c.attachments)[i]);
    return out;
}

std::string shipText(const ShipSummary& ship)
{
    std::string out = "Blocks: " + std::to_string(ship.blocks.size()) + "\n";
    out += "      #   type  record size  count\n";
    for (std::size_t i = 0; i < ship.blocks.size(); ++i) {
        const BlockSummary& b = ship.blocks[i];
        std::array<char, 64> line{};
        std::snprintf(line.data(), line.size(), "%7zu %6u %12u %6u\n", i, b.type, b.recordSize,
                      b.count);
        out += line.data();
    }
    out += "Ship class: " +
           (ship.shipClass ? shipfile::shipClassText(*ship.shipClass) : "- (no header record)") +
           "\n";
    out += "Components: " + std::to_string(ship.components.size()) + "\n";
    for (std::size_t n = 0; n < ship.components.size(); ++n)
        out += componentText(n, ship.components[n]);
    return out;
}

// JSON output ---------------------------------------------------------------------------------

template <typename T>
void optionalInteger(JsonWriter& json, std::string_view key, const std::optional<T>& value)
{
    json.key(key);
    if (value)
        json.integer(*value);
    else
        json.null();
}

void vec(JsonWriter& json, std::string_view key, const std::optional<shipfile::Vec3>& v)
{
    json.key(key);
    if (!v) {
        json.null();
        return;
    }
    json.beginArray(true);
    json.real(v->x);
    json.real(v->y);
    json.real(v->z);
    json.endArray();
}

void attachmentJson(JsonWriter& json, const AttachmentSummary& a)
{
    json.beginObject(true);
    optionalInteger(json, "kind", a.kind);
    vec(json, "position", a.position);
    optionalInteger(json, "styleIndex", a.styleIndex);
    optionalInteger(json, "gunIndex", a.gunIndex);
    json.key("label");
    json.string(a.label);
    json.endObject();
}

void componentJson(JsonWriter& json, const ComponentSummary& c)
{
    json.beginObject();
    json.key("name");
    json.string(c.name);
    vec(json, "origin", c.origin);
    optionalInteger(json, "role", c.role);
    json.key("roleText");
    if (c.role)
        json.string(shipfile::roleText(*c.role));
    else
        json.null();
    optionalInteger(json, "hitPoints", c.hitPoints);
    json.key("hasDebris");
    if (c.hasDebris)
        json.boolean(*c.hasDebris);
    else
        json.null();
    optionalInteger(json, "debrisNumber", c.debrisNumber);

    json.key("attachments");
    if (c.attachments) {
        json.beginArray();
        for (const AttachmentSummary& a : *c.attachments)
            attachmentJson(json, a);
        json.endArray();
    } else {
        json.null();
    }
    optionalInteger(json, "faceCount", c.faceCount);
    optionalInteger(json, "vertexCount", c.vertexCount);
    json.key("textures");
    if (c.textures) {
        json.beginArray(true);
        for (const std::string& name : *c.textures)
            json.string(name);
        json.endArray();
    } else {
        json.null();
    }
    optionalInteger(json, "boxCount", c.boxCount);

    const std::pair<std::string_view, bool> flags[] = {
        {"hasSection", c.hasSection}, {"hasBlock10", c.hasBlock10},
        {"hasBlock11", c.hasBlock11}, {"hasBlock13", c.hasBlock13},
        {"block13On", c.block13On},   {"hasBlock14", c.hasBlock14},
    };
    for (const auto& [key, value] : flags) {
        json.key(key);
        json.boolean(value);
    }
    json.endObject();
}

std::string shipJson(const ShipSummary& ship, bool truncated)
{
    JsonWriter json;
    json.beginObject();
    json.key("truncated");
    json.boolean(truncated);
    json.key("blocks");
    json.beginArray();
    for (const BlockSummary& b : ship.blocks) {
        json.beginObject(true);
        json.key("type");
        json.integer(b.type);
        json.key("recordSize");
        json.integer(b.recordSize);
        json.key("count");
        json.integer(b.count);
        json.endObject();
    }
    json.endArray();
    optionalInteger(json, "shipClass", ship.shipClass);
    json.key("shipClassText");
    if (ship.shipClass)
        json.string(shipfile::shipClassText(*ship.shipClass));
    else
        json.null();
    json.key("components");
    json.beginArray();
    for (const ComponentSummary& c : ship.components)
        componentJson(json, c);
    json.endArray();
    json.endObject();
    return json.text() + "\n";
}

} // namespace

int runInfo(Arguments args)
{
    const SplitArguments split = splitArguments(args);
    bool asJson = false;
    for (const std::string_view option : split.options) {
        if (option != "--json")
            return unknownOption(option, messages::ToolUsageInfo);
        asJson = true;
    }
    if (split.operands.size() != 1)
        return usageError(messages::ToolUsageInfo);

    StderrSink sink;
    const auto file = loadShip(split.operands.front(), sink);
    if (!file)
        return ExitFailure;
    const bool truncated = file->loadResult() == shipfile::LoadResult::Truncated;
    const ShipSummary ship = summarise(*file);
    const std::string out = asJson ? shipJson(ship, truncated) : shipText(ship);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return truncated ? ExitTruncated : ExitSuccess;
}

} // namespace tools
