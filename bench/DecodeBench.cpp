// Output bytes per second of decodePacked on the reference streams, each beside a memcpy of the
// same output size, so the two figures come from the same run on the same machine.
#include "shipfile/RefPack.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ByteVector = std::vector<std::uint8_t>;

std::optional<ByteVector> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Streams
{
    ByteVector expected; // mesh.bin
    ByteVector packed;   // mesh.qfs
    ByteVector literal;  // mesh-literal.qfs
};

// The compiled-in folder first, then $KORVEX_BENCH_DATA.
std::optional<Streams> loadStreams()
{
    std::vector<fs::path> folders = {KORVEX_BENCH_DATA_DIR};
    if (const char* env = std::getenv("KORVEX_BENCH_DATA"))
        folders.emplace_back(env);
    for (const fs::path& dir : folders) {
        auto expected = readFile(dir / "mesh.bin");
        auto packed = readFile(dir / "mesh.qfs");
        auto literal = readFile(dir / "mesh-literal.qfs");
        if (expected && packed && literal)
            return Streams{std::move(*expected), std::move(*packed), std::move(*literal)};
    }
    return std::nullopt;
}

// The output vector lives across iterations, as the memcpy destination does: both measure the
// copying itself, not the first touch of fresh pages.
void decode(benchmark::State& state, const ByteVector& packed, const ByteVector& expected)
{
    ByteVector output;
    if (shipfile::decodePacked(packed, output) != expected.size() || output != expected) {
        state.SkipWithError("decoded stream differs from mesh.bin");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(shipfile::decodePacked(packed, output));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(expected.size()));
}

void copy(benchmark::State& state, const ByteVector& expected)
{
    ByteVector output(expected.size());
    for (auto _ : state) {
        std::memcpy(output.data(), expected.data(), expected.size());
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(expected.size()));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    static const std::optional<Streams> streams = loadStreams();
    if (!streams) {
        std::printf("decode_bench: mesh.bin, mesh.qfs or mesh-literal.qfs not found in %s or "
                    "$KORVEX_BENCH_DATA; nothing to measure.\n",
                    KORVEX_BENCH_DATA_DIR);
        return 0;
    }
    benchmark::RegisterBenchmark("DecodeMesh", decode, streams->packed, streams->expected);
    benchmark::RegisterBenchmark("MemcpyMesh", copy, streams->expected);
    benchmark::RegisterBenchmark("DecodeMeshLiteral", decode, streams->literal, streams->expected);
    benchmark::RegisterBenchmark("MemcpyMeshLiteral", copy, streams->expected);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
