#include "gamedata/Messages.h"
#include "gamedata/Png.h"
#include "gamedata/Tcache.h"
#include "gamedata/TcacheWriter.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/FileAccess.h"
#include "tools/Escaping.h"
#include "tools/JsonText.h"
#include "tools/Messages.h"
#include "tools/ShpCommands.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

namespace tools {

namespace {

namespace fs = std::filesystem;
using gamedata::TcacheEntryInfo;
using gamedata::TcacheListing;
using messages::formatNumber;
using messages::formatText;

void printLine(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

int bitsOf(const TcacheEntryInfo& e)
{
    return e.format == 1 ? 8 : e.format == 2 ? 16 : 0;
}

std::optional<TcacheListing> readListing(std::string_view path)
{
    TcacheListing listing = gamedata::listTcache(fs::path(path));
    if (listing.failure == gamedata::TcacheFailure::CannotOpen) {
        printError(formatText(gamedata::messages::CacheUnreadable, path));
        return std::nullopt;
    }
    return listing;
}

std::string entryText(const TcacheEntryInfo& e)
{
    std::string text = std::to_string(e.index) + "  " + displayQuoted(e.name);
    if (e.state == gamedata::TcacheFailure::UnsupportedFormat)
        return text + "  " + formatNumber(messages::UnknownFormat, e.format) + ", " +
               std::string(messages::Damaged);
    if (e.damaged())
        return text + "  " + std::string(messages::Damaged);
    return text + "  " + std::to_string(e.width) + "x" + std::to_string(e.height) + "  " +
           std::to_string(bitsOf(e)) + "-bit  offset " + std::to_string(e.offset);
}

int list(const SplitArguments& a)
{
    bool json = false;
    for (const std::string_view option : a.options) {
        if (option != "--json")
            return unknownOption(option, messages::UsageTcacheList);
        json = true;
    }
    if (a.operands.size() != 2)
        return usageError(messages::UsageTcacheList);
    const auto listing = readListing(a.operands[1]);
    if (!listing)
        return ExitFailure;

    if (json) {
        Json entries = Json::array();
        for (const TcacheEntryInfo& e : listing->entries)
            entries.push_back({{"index", e.index},
                               {"name", nameJson(e.name)},
                               {"width", e.width},
                               {"height", e.height},
                               {"format", bitsOf(e) ? Json(bitsOf(e)) : Json(nullptr)},
                               {"offset", e.offset},
                               {"damaged", e.damaged()}});
        const Json document = {{"file", nameJson(a.operands[1])},
                               {"count", listing->claimedCount},
                               {"damaged", listing->failure != gamedata::TcacheFailure::None},
                               {"entries", std::move(entries)}};
        const std::string text = jsonText(document);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return ExitSuccess;
    }
    printLine(formatNumber(formatText(messages::TcacheHeading, a.operands[1]),
                           static_cast<long long>(listing->entries.size())));
    if (listing->failure != gamedata::TcacheFailure::None)
        printLine(formatNumber(messages::TcacheClaims, listing->claimedCount) + ", " +
                  std::string(messages::Damaged));
    for (const TcacheEntryInfo& e : listing->entries)
        printLine(entryText(e));
    return ExitSuccess;
}

// A file name from a texture name: only letters, digits, '-', '_' and '.' pass unchanged.
std::string fileNameOf(std::string_view name)
{
    std::string out;
    for (const char c : name)
        out += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
                (c == '.' && !out.empty()))
                   ? c
                   : '_';
    return out.empty() ? std::string("_") : out;
}

// `words` starts with "extract"; -o takes a value, so the options are read here.
int extract(Arguments args)
{
    std::string_view directory;
    bool all = false;
    std::vector<std::string_view> names;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            directory = args[++i];
        else if (args[i] == "--all")
            all = true;
        else if (args[i].starts_with("-"))
            return unknownOption(args[i], messages::UsageTcacheExtract);
        else
            names.push_back(args[i]);
    }
    if (directory.empty() || names.empty() || (all == (names.size() > 1)))
        return usageError(messages::UsageTcacheExtract);
    const std::string_view cachePath = names.front();
    names.erase(names.begin());
    const auto listing = readListing(cachePath);
    if (!listing)
        return ExitFailure;

    std::vector<const TcacheEntryInfo*> chosen;
    bool ok = true;
    if (all)
        for (const TcacheEntryInfo& e : listing->entries)
            chosen.push_back(&e);
    for (const std::string_view name : names) {
        if (const TcacheEntryInfo* e = listing->find(name)) {
            chosen.push_back(e);
        } else {
            printError(formatText(messages::NoSuchTexture, name));
            ok = false;
        }
    }

    std::error_code error;
    fs::create_directories(fs::path(directory), error);
    std::set<std::string> written;
    for (const TcacheEntryInfo* e : chosen) {
        const gamedata::TcacheLookup texture = gamedata::readTcacheEntry(fs::path(cachePath), *e);
        if (texture.failure != gamedata::TcacheFailure::None) {
            printError(formatNumber(messages::NotExtracted, e->index));
            ok = false;
            continue;
        }
        std::string file = fileNameOf(e->name);
        if (!written.insert(shipfile::lowerCase(file)).second)
            file += "_" + std::to_string(e->index);
        written.insert(shipfile::lowerCase(file));
        const fs::path out = fs::path(directory) / (file + ".png");
        const auto png = gamedata::encodePng(texture.texture.width, texture.texture.height,
                                             texture.texture.rgba);
        if (png.empty() || !shipfile::writeFileSafely(out, png)) {
            printError(formatText(messages::PictureNotWritten, out.string()));
            ok = false;
            continue;
        }
        printLine(formatText(messages::Extracted, out.string()));
    }
    return ok ? ExitSuccess : ExitFailure;
}

// The picture of IMAGE, or nothing after a line saying why.
std::optional<gamedata::RgbaPicture> readImage(std::string_view path)
{
    constexpr std::size_t MaxImageFile = std::size_t{512} << 20;
    const auto bytes = shipfile::readWholeFile(fs::path(path), MaxImageFile);
    if (!bytes) {
        printError(formatText(gamedata::messages::ImageUnreadable, path));
        return std::nullopt;
    }
    gamedata::PngRead png = gamedata::decodePng(*bytes);
    if (png.failure == gamedata::PngFailure::None)
        return std::move(png.picture);
    printError(formatText(png.failure == gamedata::PngFailure::TooLarge
                              ? gamedata::messages::ImageTooLarge
                              : gamedata::messages::ImageNotPng,
                          path));
    return std::nullopt;
}

int write(const SplitArguments& a, gamedata::TextureChange::Kind kind)
{
    const bool adding = kind == gamedata::TextureChange::Kind::Add;
    const std::string_view usage = adding ? messages::UsageTcacheAdd : messages::UsageTcacheReplace;
    int bits = gamedata::Bits16;
    constexpr std::string_view FormatOption = "--format=";
    for (const std::string_view option : a.options) {
        if (!adding || !option.starts_with(FormatOption))
            return unknownOption(option, usage);
        const std::string_view value = option.substr(FormatOption.size());
        if (value != "8" && value != "16") {
            printError(formatText(messages::BadTextureFormat, value));
            return usageError(usage);
        }
        bits = value == "8" ? gamedata::Bits8 : gamedata::Bits16;
    }
    if (a.operands.size() != 4)
        return usageError(usage);
    const auto picture = readImage(a.operands[3]);
    if (!picture)
        return ExitFailure;

    const gamedata::TcacheEdit edit = gamedata::changeTextureFile(
        fs::path(a.operands[1]), {kind, std::string(a.operands[2]), *picture, bits});
    if (!edit.ok) {
        printError(edit.error);
        return ExitFailure;
    }
    printLine(formatNumber(formatText(adding ? messages::Added : messages::Replaced, a.operands[2]),
                           edit.index));
    for (const std::string& note : edit.notes)
        printLine(note);
    return ExitSuccess;
}

} // namespace

int runTcache(Arguments args)
{
    // "--format 8" is read as "--format=8", so the option splitter sees one word.
    std::vector<std::string> joined;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size())
            joined.push_back("--format=" + std::string(args[++i]));
        else
            joined.emplace_back(args[i]);
    }
    const std::vector<std::string_view> words(joined.begin(), joined.end());
    const SplitArguments a = splitArguments(words);
    const std::string_view action = a.operands.empty() ? std::string_view{} : a.operands.front();
    if (action == "list")
        return list(a);
    if (action == "extract")
        return extract(words);
    if (action == "replace")
        return write(a, gamedata::TextureChange::Kind::Replace);
    if (action == "add")
        return write(a, gamedata::TextureChange::Kind::Add);
    for (const std::string_view usage :
         {messages::UsageTcacheList, messages::UsageTcacheExtract, messages::UsageTcacheReplace})
        usageError(usage);
    return usageError(messages::UsageTcacheAdd);
}

} // namespace tools
