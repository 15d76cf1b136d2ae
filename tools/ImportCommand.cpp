#include "checks/Checks.h"
#include "importer/ModelFile.h"
#include "importer/ShipImport.h"
#include "tools/Messages.h"
#include "tools/ShpCommands.h"
#include "gamedata/Tcache.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

namespace tools {

namespace {
struct ImportArguments
{
    std::string_view ship;
    std::string_view model;
    std::string_view output;
    std::optional<std::string_view> like;
    std::string_view textures;
    bool addNew = false;
};

std::optional<ImportArguments> parse(Arguments args)
{
    ImportArguments a;
    std::vector<std::string_view> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool takesValue = arg == "-o" || arg == "--like" || arg == "--textures";
        if (takesValue && i + 1 == args.size())
            return std::nullopt;
        if (arg == "-o")
            a.output = args[++i];
        else if (arg == "--like")
            a.like = args[++i];
        else if (arg == "--textures")
            a.textures = args[++i];
        else if (arg == "--add")
            a.addNew = true;
        else if (arg.starts_with("-"))
            return std::nullopt;
        else
            operands.push_back(arg);
    }
    if (operands.size() != 2 || a.output.empty())
        return std::nullopt;
    a.ship = operands[0];
    a.model = operands[1];
    return a;
}

void printLine(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}
} // namespace

int runImport(Arguments args)
{
    const std::optional<ImportArguments> a = parse(args);
    if (!a)
        return usageError(messages::UsageImport);

    StderrSink sink;
    const auto file = loadShip(a->ship, sink);
    if (!file)
        return ExitFailure;
    if (file->loadResult() != shipfile::LoadResult::Complete) {
        printError(messages::formatText(messages::NotWritten, a->output));
        return ExitFailure;
    }
    importer::ImportOptions options;
    options.addNew = a->addNew;
    if (a->like) {
        const auto like = findComponent(*file, *a->like);
        if (!like) {
            printError(messages::formatText(messages::NoComponent, *a->like));
            return ExitFailure;
        }
        options.like = *like;
    }
    const auto model = importer::readModelFile(std::filesystem::path(a->model), sink);
    if (!model)
        return ExitFailure;
    const importer::ImportPlan plan = importer::planImport(*file, *model, options);
    if (plan.refused()) {
        sink.show(importer::refusalMessage(std::filesystem::path(a->model), plan.refusal));
        return ExitFailure;
    }
    // The checks name what the import brought that was not wrong before.
    const std::vector<checks::Finding> before = checks::checkShip(*file);
    importer::applyImport(*file, plan);
    if (!file->save(std::filesystem::path(a->output)))
        return ExitFailure;
    printLine(messages::formatText(messages::Imported, a->output));
    for (const std::string& line : importer::reportLines(plan))
        printLine(line);
    const std::vector<checks::Finding> after = checks::checkShip(*file);
    for (const checks::Finding& f : after)
        if (std::none_of(before.begin(), before.end(), [&f](const checks::Finding& was) {
                return f.check == was.check && f.componentName == was.componentName &&
                       f.record == was.record && f.message == was.message;
            }))
            std::fputs(findingLine(f).c_str(), stdout);
    printLine(messages::formatText(messages::ImportChecks,
                                   checks::countsText(checks::countFindings(after))));
    if (!a->textures.empty())
        for (const importer::ComponentReport& component : plan.report)
            for (const std::string& name : component.texturesAdded)
                if (gamedata::readTcacheTexture(std::filesystem::path(a->textures), name).failure !=
                    gamedata::TcacheFailure::None)
                    printLine(messages::formatText(messages::TextureNotInCache, name));
    return ExitSuccess;
}

} // namespace tools
