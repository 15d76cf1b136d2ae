// Output bytes per second of decodePacked beside a memcpy of the same output size, in one run:
// mesh.qfs and mesh-literal.qfs from the shared bench folder, and a literal-only stream of
// five copies of mesh.bin (14.45 MB, larger than the caches) packed here. Each stream is
// decoded into a fresh buffer every time, as loading a ship does, and into one reused buffer.
// Beside them, 64 ship-sized streams (45 KB slices of mesh.bin packed here) decoded in turn.
// Repetitions run interleaved; the summary at the end gives their medians against the targets.
//   build/release/bench/decode_bench [--benchmark_repetitions=N] [--benchmark_min_time=S]
#include "bench/MedianReporter.h"
#include "shipfile/RefPack.h"
#include "shipmaker/RefPackEncoder.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
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

struct Stream
{
    std::string name;
    ByteVector packed;
    ByteVector expected;
};

constexpr int LargeCopies = 5;
constexpr int Ships = 64;
constexpr std::size_t ShipBytes = 45000;

// $KORVEX_BENCH_DATA when set, else the shared folder beside the checkout.
std::optional<std::vector<Stream>> loadStreams()
{
    const char* env = std::getenv("KORVEX_BENCH_DATA");
    const fs::path dir = env ? fs::path(env) : fs::path(KORVEX_BENCH_DATA_DIR);
    std::map<std::string, ByteVector> files;
    for (const char* name : {"mesh.bin", "mesh.qfs", "mesh-literal.qfs"}) {
        auto bytes = readFile(dir / name);
        if (!bytes || bytes->empty()) {
            std::fprintf(stderr,
                         "decode_bench: cannot read %s; the benchmark data folder is %s "
                         "(set KORVEX_BENCH_DATA to another)\n",
                         (dir / name).c_str(), dir.c_str());
            return std::nullopt;
        }
        files[name] = std::move(*bytes);
    }
    const ByteVector& mesh = files["mesh.bin"];
    ByteVector large;
    for (int i = 0; i < LargeCopies; ++i)
        large.insert(large.end(), mesh.begin(), mesh.end());
    ByteVector largePacked = shipmaker::packLiteralOnly(large);
    return std::vector<Stream>{{"mesh.qfs", files["mesh.qfs"], mesh},
                               {"mesh-literal.qfs", files["mesh-literal.qfs"], mesh},
                               {"literal-14MB", std::move(largePacked), std::move(large)}};
}

std::vector<Stream> shipStreams(const Stream& mesh)
{
    std::vector<Stream> ships;
    for (std::size_t i = 0; i < Ships; ++i) {
        const auto from = mesh.expected.begin() + static_cast<std::ptrdiff_t>(i * ShipBytes);
        ByteVector plain(from, from + static_cast<std::ptrdiff_t>(ShipBytes));
        ships.push_back({"ship", shipmaker::packRefPack(plain), plain});
    }
    return ships;
}

bool decodesRight(const Stream& s)
{
    shipfile::ByteBuffer output;
    return shipfile::decodePacked(s.packed, output) == s.expected.size() &&
           std::equal(output.begin(), output.end(), s.expected.begin(), s.expected.end());
}

void setBytes(benchmark::State& state, const Stream& s)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(s.expected.size()));
}

// A new buffer for the decode, as the loader has: allocation and first touch count.
void decodeIntoFresh(const Stream& s)
{
    shipfile::ByteBuffer output;
    benchmark::DoNotOptimize(shipfile::decodePacked(s.packed, output));
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
}

void decodeFresh(benchmark::State& state, const Stream& s)
{
    if (!decodesRight(s)) {
        state.SkipWithError("decoded stream differs from the original");
        return;
    }
    for (auto _ : state)
        decodeIntoFresh(s);
    setBytes(state, s);
}

// One buffer across decodes, as the memcpy destination is: the copying itself.
void decodeReused(benchmark::State& state, const Stream& s, shipfile::DecodeLoop loop)
{
    if (!decodesRight(s)) {
        state.SkipWithError("decoded stream differs from the original");
        return;
    }
    shipfile::ByteBuffer output;
    for (auto _ : state) {
        benchmark::DoNotOptimize(shipfile::decodePacked(s.packed, output, loop));
        benchmark::ClobberMemory();
    }
    setBytes(state, s);
}

// Each ship into a fresh buffer, one after the other, as opening ships in turn does.
void decodeShips(benchmark::State& state, const std::vector<Stream>& ships)
{
    if (!std::all_of(ships.begin(), ships.end(), decodesRight)) {
        state.SkipWithError("decoded ship differs from the original");
        return;
    }
    for (auto _ : state)
        for (const Stream& s : ships)
            decodeIntoFresh(s);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * Ships *
                            static_cast<std::int64_t>(ShipBytes));
}

void copy(benchmark::State& state, const Stream& s)
{
    ByteVector output(s.expected.size());
    for (auto _ : state) {
        std::memcpy(output.data(), s.expected.data(), s.expected.size());
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    setBytes(state, s);
}

// Output MB/s from the median CPU time of the measuring thread: on a busy machine the wall
// clock also counts time spent waiting for a core.
double rate(const bench::MedianReporter& reporter, const std::string& name, std::size_t bytes)
{
    const auto median = reporter.median(name);
    return median ? static_cast<double>(bytes) / median->cpu / 1e6 : 0;
}

void summarise(const bench::MedianReporter& reporter, const std::vector<Stream>& streams)
{
    struct Rates
    {
        double fresh, reused, copy;
    };
    std::map<std::string, Rates> rates;
    std::printf("\nDecoder summary: medians of %zu interleaved repetitions, output MB/s by the "
                "CPU time of the measuring thread\n",
                reporter.repetitions(streams[0].name + "/memcpy"));
    std::printf("%-18s %9s %10s %10s %10s %13s %13s %13s\n", "stream", "out MB", "fresh", "reused",
                "memcpy", "fresh/reused", "reused/memcpy", "fresh/memcpy");
    for (const Stream& s : streams) {
        const std::size_t bytes = s.expected.size();
        const Rates r{rate(reporter, s.name + "/fresh", bytes),
                      rate(reporter, s.name + "/reused", bytes),
                      rate(reporter, s.name + "/memcpy", bytes)};
        rates[s.name] = r;
        const auto percent = [](double a, double b) { return b > 0 ? 100 * a / b : 0; };
        std::printf("%-18s %9.2f %10.0f %10.0f %10.0f %12.1f%% %12.1f%% %12.1f%%\n", s.name.c_str(),
                    static_cast<double>(bytes) / 1e6, r.fresh, r.reused, r.copy,
                    percent(r.fresh, r.reused), percent(r.reused, r.copy),
                    percent(r.fresh, r.copy));
    }

    const auto target = [](const char* what, double value, double goal, const char* unit) {
        const bool met = value >= goal;
        std::printf("  %-52s %9.1f %-5s (target %.0f) %s\n", what, value, unit, goal,
                    met ? "met" : "MISSED");
    };
    const Rates mesh = rates["mesh.qfs"];
    const Rates meshLiteral = rates["mesh-literal.qfs"];
    const Rates large = rates["literal-14MB"];
    std::printf("Targets:\n");
    target("mesh.qfs, reused buffer", mesh.reused, 1500, "MB/s");
    target("mesh.qfs, fresh buffer", mesh.fresh, 1500, "MB/s");
    std::printf("  %-52s %9.1f MB/s  (no target)\n", "mesh.qfs, portable loop, reused buffer",
                rate(reporter, "mesh.qfs/portable", streams[0].expected.size()));
    std::printf("  %-52s %9.1f MB/s  (no target)\n", "64 ships of 45 KB in turn, fresh buffers",
                rate(reporter, "ships/fresh", Ships * ShipBytes));
    target("mesh.qfs, fresh as % of reused", 100 * mesh.fresh / mesh.reused, 95, "%");
    target("mesh-literal.qfs, reused as % of memcpy", 100 * meshLiteral.reused / meshLiteral.copy,
           50, "%");
    target("literal-14MB, reused as % of memcpy", 100 * large.reused / large.copy, 90, "%");
    target("literal-14MB, fresh as % of memcpy", 100 * large.fresh / large.copy, 90, "%");
}

} // namespace

int main(int argc, char** argv)
{
    static const std::optional<std::vector<Stream>> streams = loadStreams();
    if (!streams)
        return 1;
    static const std::vector<Stream> ships = shipStreams(streams->front());

    // Defaults that give steady medians; flags on the command line win.
    bench::initialise(argc, argv,
                      {"--benchmark_repetitions=15", "--benchmark_min_time=0.1",
                       "--benchmark_enable_random_interleaving=true"});

    for (const Stream& s : *streams) {
        benchmark::RegisterBenchmark((s.name + "/fresh").c_str(), decodeFresh, std::cref(s));
        benchmark::RegisterBenchmark((s.name + "/reused").c_str(), decodeReused, std::cref(s),
                                     shipfile::DecodeLoop::Best);
        benchmark::RegisterBenchmark((s.name + "/memcpy").c_str(), copy, std::cref(s));
    }
    // What processors without AVX2 get, on the stream that depends most on the copy loop.
    benchmark::RegisterBenchmark("mesh.qfs/portable", decodeReused, std::cref(streams->front()),
                                 shipfile::DecodeLoop::Portable);
    benchmark::RegisterBenchmark("ships/fresh", decodeShips, std::cref(ships));
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    summarise(reporter, *streams);
    return 0;
}
