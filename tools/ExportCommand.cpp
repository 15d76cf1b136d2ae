#include "exporter/ShipExport.h"
#include "tools/Messages.h"
#include "tools/ShpCommands.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tools {

namespace {
struct ExportArguments
{
    std::string_view input;
    std::string_view output;
    exporter::ExportOptions options;
};

std::optional<ExportArguments> parse(Arguments args)
{
    ExportArguments a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool takesValue = arg == "-o" || arg == "--textures";
        if (takesValue && i + 1 == args.size())
            return std::nullopt;
        if (arg == "-o")
            a.output = args[++i];
        else if (arg == "--textures")
            a.options.texturePath = args[++i];
        else if (arg == "--boxes")
            a.options.boxes = true;
        else if (arg == "--keep-dest")
            a.options.keepDest = true;
        else if (arg.starts_with("-") || !a.input.empty())
            return std::nullopt;
        else
            a.input = arg;
    }
    if (a.input.empty() || a.output.empty())
        return std::nullopt;
    return a;
}

void printLine(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}
} // namespace

int runExport(Arguments args)
{
    const std::optional<ExportArguments> a = parse(args);
    if (!a)
        return usageError(messages::UsageExport);
    if (!exporter::exportFormatOf(a->output)) {
        printError(messages::formatText(messages::BadExportFormat, a->output));
        return ExitUsage;
    }

    StderrSink sink;
    const auto file = loadShip(a->input, sink);
    if (!file)
        return ExitFailure;
    const auto summary = exporter::exportShip(*file, a->output, a->options, sink);
    if (!summary)
        return ExitFailure;

    const auto count = [](std::size_t n) { return static_cast<long long>(n); };
    printLine(messages::formatNumber(
        messages::formatNumber(messages::formatText(messages::Exported, a->output),
                               count(summary->components)),
        count(summary->triangles)));
    if (summary->skippedFaces > 0)
        printLine(messages::formatNumber(messages::FacesSkipped, count(summary->skippedFaces)));
    return ExitSuccess;
}

} // namespace tools
