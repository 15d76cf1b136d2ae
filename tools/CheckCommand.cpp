#include "checks/Checks.h"
#include "gamedata/Tcache.h"
#include "tools/Escaping.h"
#include "tools/JsonText.h"
#include "tools/Messages.h"
#include "tools/ShpCommands.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tools {

namespace {

struct CheckArguments
{
    std::string_view input;
    std::optional<std::string_view> textures;
    bool json = false;
};

std::optional<CheckArguments> parse(Arguments args)
{
    CheckArguments a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--textures" && i + 1 < args.size())
            a.textures = args[++i];
        else if (arg == "--json")
            a.json = true;
        else if (arg.starts_with("-") || !a.input.empty())
            return std::nullopt;
        else
            a.input = arg;
    }
    if (a.input.empty())
        return std::nullopt;
    return a;
}

// The names of the readable entries of the texture cache at `path`; nothing, after a line of
// our own, when the file cannot be read at all.
std::optional<std::vector<std::string>> cacheTextures(std::string_view path)
{
    const gamedata::TcacheListing listing = gamedata::listTcache(std::filesystem::path(path));
    if (listing.failure == gamedata::TcacheFailure::CannotOpen) {
        printError(messages::formatText(messages::CacheUnreadable, path));
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (const gamedata::TcacheEntryInfo& entry : listing.entries)
        if (!entry.damaged())
            names.push_back(entry.name);
    return names;
}

template <typename T> Json optionalJson(const std::optional<T>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

std::string findingsJson(std::string_view file, const std::vector<checks::Finding>& findings)
{
    const checks::Counts counts = checks::countFindings(findings);
    Json list = Json::array();
    for (const checks::Finding& f : findings)
        list.push_back({{"severity", checks::severityName(f.severity)},
                        {"check", f.check},
                        {"component", optionalJson(f.component)},
                        {"componentName", f.component ? nameJson(f.componentName) : Json(nullptr)},
                        {"block", optionalJson(f.block)},
                        {"record", optionalJson(f.record)},
                        {"message", nameJson(f.message)}});
    return jsonText({{"file", nameJson(file)},
                     {"errors", counts.errors},
                     {"warnings", counts.warnings},
                     {"findings", std::move(list)}});
}

} // namespace

std::string findingLine(const checks::Finding& f)
{
    std::string line = std::string(checks::severityName(f.severity)) + " " + std::string(f.check);
    if (f.component)
        line += " component " + std::to_string(*f.component) + " " + displayQuoted(f.componentName);
    if (f.block)
        line += " block " + std::to_string(*f.block);
    if (f.record)
        line += " record " + std::to_string(*f.record);
    return line + ": " + f.message + "\n";
}

int runCheck(Arguments args)
{
    const std::optional<CheckArguments> a = parse(args);
    if (!a)
        return usageError(messages::UsageCheck);

    StderrSink sink;
    const auto file = loadShip(a->input, sink);
    if (!file)
        return ExitUnreadable;
    std::optional<std::vector<std::string>> textures;
    if (a->textures) {
        textures = cacheTextures(*a->textures);
        if (!textures)
            return ExitUnreadable;
    }

    const std::vector<checks::Finding> findings =
        checks::checkShip(*file, textures ? &*textures : nullptr);
    const checks::Counts counts = checks::countFindings(findings);
    std::string out;
    if (a->json) {
        out = findingsJson(a->input, findings);
    } else if (!findings.empty()) {
        for (const checks::Finding& f : findings)
            out += findingLine(f);
        out += displayQuoted(a->input) + ": " + checks::countsText(counts) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return counts.errors > 0     ? ExitCheckErrors
           : counts.warnings > 0 ? ExitCheckWarnings
                                 : ExitSuccess;
}

} // namespace tools
