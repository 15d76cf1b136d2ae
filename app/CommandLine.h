#pragma once

#include <string>
#include <vector>

namespace app {

/// What the editor's command line asks for. No Qt here: --help and --version are answered
/// before the application object looks for a display.
struct CommandLine
{
    enum class Request
    {
        OpenEditor,
        ShowHelp,
        ShowVersion,
        UnknownOption
    };
    Request request = Request::OpenEditor;
    /// The ship to open at start-up, empty for none; for UnknownOption, the option.
    std::string argument;
};

/// Reads the arguments after the program's name. "--help" ("-h") and "--version" win wherever
/// they stand; any other word starting with "-" is an unknown option; "--" ends the options, so
/// a file may be named like one. Only the first operand names a file; later ones are ignored.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

/// Prints the help or the version on stdout (status 0), or the unknown option and the usage
/// line on stderr (status 2). Not for OpenEditor.
int answerOnTerminal(const CommandLine& commandLine);

} // namespace app
