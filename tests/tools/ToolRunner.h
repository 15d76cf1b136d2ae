#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Runs the built korvex-shp as a separate process, as a user or a script would.
namespace tooltests {

/// A fresh directory under the system's temporary directory, removed with everything in it.
class TemporaryDirectory
{
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

/// Writes `bytes` to `dir`/`name` and returns the path.
std::filesystem::path writeFile(const std::filesystem::path& dir, const std::string& name,
                                const std::vector<std::uint8_t>& bytes);
/// The whole file as bytes; empty when it cannot be read.
std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

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
