// Loading and saving a large plain ship through ShipFile, beside reading and writing the same
// bytes raw in the same run. The ship (about 20 MB: many components, each with thousands of
// vertices and faces) is built with the test builders into a private temporary folder under
// $TMPDIR (default /tmp). Saving flushes the file to the disk before renaming it into place,
// so it is compared with a raw write both without and with that flush; wall-clock times.
#include "bench/BigShip.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"
#include "shipmaker/ShipBuilder.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using shipmaker::ByteVector;

struct Workspace
{
    Workspace()
    {
        std::string pattern = (fs::temp_directory_path() / "korvex-file-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            dir = pattern;
    }
    ~Workspace()
    {
        std::error_code ec;
        if (!dir.empty())
            fs::remove_all(dir, ec);
    }
    fs::path dir;
    fs::path source;
    std::size_t size = 0;
};

Workspace* workspace = nullptr;

void loadAndSave(benchmark::State& state)
{
    shipfile::SilentSink sink;
    const fs::path target = workspace->dir / "saved.shp";
    for (auto _ : state) {
        shipfile::ShipFile file(workspace->source, sink);
        if (file.empty() || !file.save(target)) {
            state.SkipWithError("loading or saving failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(workspace->size));
}

// The two halves apart, to see which one a slowdown is in.
void load(benchmark::State& state)
{
    shipfile::SilentSink sink;
    for (auto _ : state) {
        shipfile::ShipFile file(workspace->source, sink);
        benchmark::DoNotOptimize(file.first());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(workspace->size));
}

void save(benchmark::State& state)
{
    shipfile::SilentSink sink;
    const shipfile::ShipFile file(workspace->source, sink);
    const fs::path target = workspace->dir / "saved-only.shp";
    for (auto _ : state) {
        if (!file.save(target)) {
            state.SkipWithError("saving failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(workspace->size));
}

void rawReadAndWrite(benchmark::State& state)
{
    const fs::path target = workspace->dir / "raw.shp";
    for (auto _ : state) {
        std::ifstream in(workspace->source, std::ios::binary);
        ByteVector bytes(workspace->size);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!in || !out) {
            state.SkipWithError("raw read or write failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(workspace->size));
}

// The same, flushed to the disk before it counts as written, as a save is.
void rawReadAndDurableWrite(benchmark::State& state)
{
    const fs::path target = workspace->dir / "raw-synced.shp";
    for (auto _ : state) {
        std::ifstream in(workspace->source, std::ios::binary);
        ByteVector bytes(workspace->size);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok =
            fd >= 0 &&
            ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
            ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!in || !ok) {
            state.SkipWithError("raw read or write failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(workspace->size));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Workspace space;
    if (space.dir.empty()) {
        std::printf("file_bench: cannot create a temporary folder; nothing to measure.\n");
        return 0;
    }
    const ByteVector image = bigShip();
    space.source = space.dir / "big.shp";
    space.size = image.size();
    std::ofstream(space.source, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    // On the disk before timing starts, so the first save's flush does not carry it too.
    if (const int fd = ::open(space.source.c_str(), O_RDONLY); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    std::printf("file_bench: %zu-byte ship in %s\n", image.size(), space.dir.c_str());
    workspace = &space;

    benchmark::RegisterBenchmark("LoadAndSave", loadAndSave)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Load", load)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Save", save)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("RawReadAndWrite", rawReadAndWrite)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("RawReadAndDurableWrite", rawReadAndDurableWrite)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
