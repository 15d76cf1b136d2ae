#include "tests/tools/ToolRunner.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace tooltests {

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

std::filesystem::path writeFile(const std::filesystem::path& dir, const std::string& name,
                                const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path path = dir / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    const std::string text = readFile(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

TemporaryDirectory::TemporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "korvex-shp-test-XXXXXX");
    if (::mkdtemp(pattern.data()))
        m_path = pattern;
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ec;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ec);
}

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
