// korvex-shp: looks into and converts ship files from the command line, with the editor's own
// loader and record catalogue.
#include "korvex/Version.h"
#include "shipfile/Messages.h"
#include "tools/ShpCommands.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace messages = shipfile::messages;

struct Command
{
    std::string_view name;
    int (*run)(tools::Arguments);
    std::string_view usage;
    /// A further line under the usage, or empty.
    std::string_view note;
};

// Every subcommand, in the order the usage text lists them. A new one adds its row here and
// declares its run function in ShpCommands.h.
const Command Commands[] = {
    {"info", tools::runInfo, messages::ToolUsageInfo, messages::ToolUsageInfoExit},
    {"unpack", tools::runUnpack, messages::ToolUsageUnpack, {}},
    {"export", tools::runExport, messages::ToolUsageExport, {}},
#ifdef KORVEX_WITH_RENDER
    {"render", tools::runRender, messages::ToolUsageRender, {}},
#endif
};

std::string usageText()
{
    std::string text = std::string(messages::ToolUsageHeading) + "\n";
    for (const Command& command : Commands) {
        text += "  " + std::string(command.usage) + "\n";
        if (!command.note.empty())
            text += "    " + std::string(command.note) + "\n";
    }
    text += "  " + std::string(messages::ToolUsageOptions) + "\n";
    return text;
}

int run(const std::vector<std::string_view>& args)
{
    if (args.empty()) {
        const std::string text = usageText();
        std::fwrite(text.data(), 1, text.size(), stderr);
        return tools::ExitUsage;
    }
    const std::string_view name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        const std::string text = usageText();
        std::fwrite(text.data(), 1, text.size(), stdout);
        return tools::ExitSuccess;
    }
    if (name == "--version") {
        std::fputs("korvex-shp " KORVEX_VERSION "\n", stdout);
        return tools::ExitSuccess;
    }
    for (const Command& command : Commands)
        if (command.name == name)
            return command.run(tools::Arguments(args).subspan(1));

    tools::printError(messages::formatText(messages::ToolUnknownCommand, name));
    const std::string text = usageText();
    std::fwrite(text.data(), 1, text.size(), stderr);
    return tools::ExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : argc), argv + argc);
    int status = run(args);
    // A listing that did not reach its reader (a full disk, a closed pipe) is not a success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        tools::printError(messages::ToolOutputFailed);
        if (status == tools::ExitSuccess)
            status = tools::ExitFailure;
    }
    return status;
}
