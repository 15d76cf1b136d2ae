#include "app/CommandLine.h"

#include "korvex/Version.h"
#include "resources/Strings.h"
#include "shipfile/MessageText.h"

#include <cstdio>

namespace app {

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    bool haveFile = false;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        const bool isOption = !optionsEnded && argument.size() > 1 && argument.front() == '-';
        if (!isOption) {
            if (!haveFile)
                result.argument = argument;
            haveFile = true;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            return {CommandLine::Request::ShowHelp, {}};
        } else if (argument == "--version") {
            return {CommandLine::Request::ShowVersion, {}};
        } else if (result.request != CommandLine::Request::UnknownOption) {
            result = {CommandLine::Request::UnknownOption, argument};
            haveFile = true;
        }
    }
    return result;
}

int answerOnTerminal(const CommandLine& commandLine)
{
    namespace strings = resources::strings;
    switch (commandLine.request) {
    case CommandLine::Request::ShowHelp:
        std::fputs(strings::EditorHelp, stdout);
        return 0;
    case CommandLine::Request::ShowVersion:
        std::fputs("korvex " KORVEX_VERSION "\n", stdout);
        return 0;
    case CommandLine::Request::UnknownOption: {
        const std::string line =
            shipfile::messages::formatText(strings::EditorUnknownOption, commandLine.argument);
        std::fprintf(stderr, "%s\n%s\n", line.c_str(), strings::EditorUsage);
        return 2;
    }
    case CommandLine::Request::OpenEditor:
        break;
    }
    return 0;
}

} // namespace app
