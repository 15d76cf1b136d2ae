#include "tools/Messages.h"
#include "tools/ShpCommands.h"

namespace tools {

int runUnpack(Arguments args)
{
    const SplitArguments split = splitArguments(args);
    if (!split.options.empty())
        return unknownOption(split.options.front(), messages::UsageUnpack);
    if (split.operands.size() != 2)
        return usageError(messages::UsageUnpack);
    const std::string_view in = split.operands[0];
    const std::string_view out = split.operands[1];

    StderrSink sink;
    const auto file = loadShip(in, sink);
    if (!file)
        return ExitFailure;
    // A file cut off in the middle of a block loads as far as it goes. Writing that part would
    // hand back a smaller ship that looks whole, so nothing is written.
    if (sink.sawProblem()) {
        printError(messages::formatText(messages::NotWritten, out));
        return ExitFailure;
    }
    return file->save(std::filesystem::path(out)) ? ExitSuccess : ExitFailure;
}

} // namespace tools
