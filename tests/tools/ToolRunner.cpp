#include "tests/tools/ToolRunner.h"

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <sys/wait.h>

namespace tooltests {

namespace {

std::string readFile(const std::filesystem::path& path)
{
    const auto bytes = testsupport::readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Single quotes keep every byte as it is; a quote inside ends them, escapes itself and reopens.
std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

ToolRun runShpTool(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                   const std::filesystem::path& stdoutPath)
{
    const std::filesystem::path outPath = stdoutPath.empty() ? scratch / "stdout.txt" : stdoutPath;
    const std::filesystem::path errPath = scratch / "stderr.txt";
    // exec: the shell becomes the tool, so a crash shows as a signal rather than an exit code.
    std::string command = "exec " + quoted(KORVEX_SHP_PATH);
    for (const std::string& arg : args)
        command += " " + quoted(arg);
    command += " </dev/null >" + quoted(outPath) + " 2>" + quoted(errPath);

    ToolRun run;
    const int status = std::system(command.c_str());
    if (status != -1 && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    if (stdoutPath.empty())
        run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

} // namespace tooltests
