#include "tests/tools/ToolRunner.h"

#include "tests/support/TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>

extern char** environ;

namespace tooltests {

namespace {

std::string readFile(const std::filesystem::path& path)
{
    const auto bytes = testsupport::readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

ToolRun runShpTool(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                   const std::filesystem::path& stdoutPath)
{
    const std::filesystem::path outPath = stdoutPath.empty() ? scratch / "stdout.txt" : stdoutPath;
    const std::filesystem::path errPath = scratch / "stderr.txt";

    std::vector<std::string> argvStrings = {KORVEX_SHP_PATH};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    ToolRun run;
    if (spawned != 0)
        return run;
    int status = 0;
    pid_t waited = 0;
    do
        waited = ::waitpid(pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    if (waited == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    if (stdoutPath.empty())
        run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

} // namespace tooltests
