#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs the built korvex-shp as a separate process, as a user or a script would.
namespace tooltests {

struct ToolRun
{
    /// The exit status, or -1 when the process did not exit normally (a crash).
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs korvex-shp with `args`, standard input empty, its output captured in files under
/// `scratch`. With `stdoutPath` set, standard output goes there instead and `out` stays empty.
ToolRun runShpTool(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                   const std::filesystem::path& stdoutPath = {});

} // namespace tooltests
