#include "shipfile/Catalogue.h"
#include "tools/Escaping.h"
#include "tools/JsonText.h"
#include "tools/Messages.h"
#include "tools/ShipSummary.h"
#include "tools/ShpCommands.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string>

namespace tools {

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

template <typename T> std::string numberText(const std::optional<T>& value)
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
    if (c.hasAnimationHeader)
        add("10");
    if (c.hasAnimationFrames)
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
    out += "  debris: " +
           std::string(!c.hasDebris   ? "-"
                       : *c.hasDebris ? "yes"
                                      : "no") +
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

template <typename T> Json optionalJson(const std::optional<T>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

Json vecJson(const std::optional<shipfile::Vec3>& v)
{
    return v ? Json::array({v->x, v->y, v->z}) : Json(nullptr);
}

Json attachmentJson(const AttachmentSummary& a)
{
    return {{"kind", optionalJson(a.kind)},
            {"position", vecJson(a.position)},
            {"styleIndex", optionalJson(a.styleIndex)},
            {"gunIndex", optionalJson(a.gunIndex)},
            {"label", nameJson(a.label)}};
}

Json componentJson(const ComponentSummary& c)
{
    Json json = {{"name", nameJson(c.name)},
                 {"origin", vecJson(c.origin)},
                 {"role", optionalJson(c.role)},
                 {"roleText", c.role ? Json(shipfile::roleText(*c.role)) : Json(nullptr)},
                 {"hitPoints", optionalJson(c.hitPoints)},
                 {"hasDebris", optionalJson(c.hasDebris)},
                 {"debrisNumber", optionalJson(c.debrisNumber)},
                 {"attachments", nullptr},
                 {"faceCount", optionalJson(c.faceCount)},
                 {"vertexCount", optionalJson(c.vertexCount)},
                 {"textures", nullptr},
                 {"boxCount", optionalJson(c.boxCount)},
                 {"hasSection", c.hasSection},
                 // Keys name the blocks by type, as the text output and modders do.
                 {"hasBlock10", c.hasAnimationHeader},
                 {"hasBlock11", c.hasAnimationFrames},
                 {"hasBlock13", c.hasBlock13},
                 {"block13On", c.block13On},
                 {"hasBlock14", c.hasBlock14}};
    if (c.attachments) {
        json["attachments"] = Json::array();
        for (const AttachmentSummary& a : *c.attachments)
            json["attachments"].push_back(attachmentJson(a));
    }
    if (c.textures) {
        json["textures"] = Json::array();
        for (const std::string& name : *c.textures)
            json["textures"].push_back(nameJson(name));
    }
    return json;
}

std::string shipJson(const ShipSummary& ship, bool truncated)
{
    Json blocks = Json::array();
    for (const BlockSummary& b : ship.blocks)
        blocks.push_back({{"type", b.type}, {"recordSize", b.recordSize}, {"count", b.count}});
    Json components = Json::array();
    for (const ComponentSummary& c : ship.components)
        components.push_back(componentJson(c));
    const Json json = {{"truncated", truncated},
                       {"blocks", std::move(blocks)},
                       {"shipClass", optionalJson(ship.shipClass)},
                       {"shipClassText", ship.shipClass
                                             ? Json(shipfile::shipClassText(*ship.shipClass))
                                             : Json(nullptr)},
                       {"components", std::move(components)}};
    // Every name went through nameJson, so nothing is left to replace; replacing rather than
    // throwing keeps the listing whole should that ever change.
    return jsonText(json);
}

} // namespace

int runInfo(Arguments args)
{
    const SplitArguments split = splitArguments(args);
    bool asJson = false;
    for (const std::string_view option : split.options) {
        if (option != "--json")
            return unknownOption(option, messages::UsageInfo);
        asJson = true;
    }
    if (split.operands.size() != 1)
        return usageError(messages::UsageInfo);

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
