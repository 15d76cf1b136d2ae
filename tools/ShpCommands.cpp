#include "tools/ShpCommands.h"

#include "shipfile/CaseInsensitive.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Messages.h"
#include "tools/Messages.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace tools {

SplitArguments splitArguments(Arguments args)
{
    SplitArguments split;
    bool optionsEnded = false;
    for (const std::string_view arg : args) {
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (!optionsEnded && arg.starts_with("--"))
            split.options.push_back(arg);
        else
            split.operands.push_back(arg);
    }
    return split;
}

void printError(std::string_view text)
{
    const std::string line = std::string(messages::Name) + ": " + std::string(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

int unknownOption(std::string_view option, std::string_view usageLine)
{
    printError(messages::formatText(messages::UnknownOption, option));
    return usageError(usageLine);
}

int usageError(std::string_view usageLine)
{
    const std::string line = std::string(messages::UsagePrefix) + std::string(usageLine) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    return ExitUsage;
}

std::optional<int> wholeNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<int> findComponent(const shipfile::ShipFile& file, std::string_view wanted)
{
    const int count = shipfile::componentCount(file);
    if (const auto index = wholeNumber(wanted))
        return *index >= 0 && *index < count ? index : std::nullopt;
    for (int n = 0; n < count; ++n)
        if (shipfile::equalsIgnoringCase(shipfile::componentName(file, n), wanted))
            return n;
    return std::nullopt;
}

std::unique_ptr<shipfile::ShipFile> loadShip(std::string_view path, StderrSink& sink)
{
    // Only files and pipes go to the loader: a directory fails its read with an exception, and
    // a device such as /dev/zero never ends.
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(path), ec);
    if (!ec && !std::filesystem::is_regular_file(status) && !std::filesystem::is_fifo(status)) {
        sink.show(shipfile::messages::ErrorOpening.box(path));
        return nullptr;
    }

    auto file = std::make_unique<shipfile::ShipFile>(std::filesystem::path(path), sink);
    if (!file->empty())
        return file;
    // The loader reports every reason it reads nothing but one: a file that is only the end
    // marker is well-formed, so that case gets a line of its own.
    if (file->loadResult() == shipfile::LoadResult::Complete)
        printError(messages::formatText(shipfile::messages::NoBlocks.text, path));
    return nullptr;
}

} // namespace tools
