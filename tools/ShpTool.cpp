// korvex-shp: looks into and converts ship files from the command line, with the editor's own
// loader and record catalogue.
#include "korvex/Version.h"
#include "tools/Messages.h"
#include "tools/ShpCommands.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace messages = tools::messages;

struct Command
{
    std::string_view name;
    int (*run)(tools::Arguments);
    std::string_view usage;
    /// Further lines under the usage.
    std::vector<std::string_view> notes;
};

// Every subcommand, in the order the usage text lists them. A new one adds its row here and
// declares its run function in ShpCommands.h.
const Command Commands[] = {
    {"info",
     tools::runInfo,
     messages::UsageInfo,
     {messages::UsageInfoExit, messages::UsageInfoNames}},
    {"unpack", tools::runUnpack, messages::UsageUnpack, {}},
    {"export", tools::runExport, messages::UsageExport, {}},
    {"import", tools::runImport, messages::UsageImport, {messages::UsageImportExit}},
    // One command, four lines of usage.
    {"tcache", tools::runTcache, messages::UsageTcacheList, {}},
    {"tcache", tools::runTcache, messages::UsageTcacheExtract, {}},
    {"tcache", tools::runTcache, messages::UsageTcacheReplace, {}},
    {"tcache", tools::runTcache, messages::UsageTcacheAdd, {messages::UsageTcacheNotes}},
    {"check",
     tools::runCheck,
     messages::UsageCheck,
     {messages::UsageCheckLines, messages::UsageCheckJson, messages::UsageCheckExit}},
#ifdef KORVEX_WITH_RENDER
    {"render", tools::runRender, messages::UsageRender, {}},
#endif
};

std::string usageText()
{
    std::string text = std::string(messages::UsageHeading) + "\n";
    for (const Command& command : Commands) {
        text += "  " + std::string(command.usage) + "\n";
        for (const std::string_view note : command.notes)
            text += "    " + std::string(note) + "\n";
    }
    text += "  " + std::string(messages::UsageOptions) + "\n";
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

    tools::printError(messages::formatText(messages::UnknownCommand, name));
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
        tools::printError(messages::OutputFailed);
        if (status == tools::ExitSuccess)
            status = tools::ExitFailure;
    }
    return status;
}
