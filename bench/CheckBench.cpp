// Checking the 20 MB ship against loading it: the checks run after every step in the editor,
// so they must cost no more than the load the user already waits for. Prints the ratio.
#include "bench/BigShip.h"
#include "bench/MedianReporter.h"
#include "checks/Checks.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path shipPath;

void BM_Load(benchmark::State& state)
{
    shipfile::SilentSink sink;
    for (auto _ : state) {
        shipfile::ShipFile file(shipPath, sink);
        benchmark::DoNotOptimize(file.first());
    }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Check(benchmark::State& state)
{
    shipfile::SilentSink sink;
    const shipfile::ShipFile file(shipPath, sink);
    const std::vector<std::string> cache = {"plate", "glow"};
    std::size_t findings = 0;
    for (auto _ : state)
        findings = checks::checkShip(file, &cache).size();
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    std::string dir = (fs::temp_directory_path() / "korvex-check-bench-XXXXXX").string();
    if (!::mkdtemp(dir.data())) {
        std::printf("check_bench: cannot create a temporary folder; nothing to measure.\n");
        return 0;
    }
    shipPath = fs::path(dir) / "big.shp";
    const shipmaker::ByteVector image = bigShip();
    std::ofstream(shipPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));

    bench::initialise(argc, argv,
                      {"--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true"});
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fs::remove_all(dir);

    const auto load = reporter.median("BM_Load/real_time");
    const auto check = reporter.median("BM_Check/real_time");
    if (!load || !check)
        return 0;
    const double ratio = check->wall / load->wall;
    std::printf("\ncheck: %zu-byte ship, load %.2f ms, check %.2f ms, check/load %.2f (target at "
                "most 1.00: %s)\n",
                image.size(), load->wall * 1e3, check->wall * 1e3, ratio,
                ratio <= 1.0 ? "met" : "MISSED");
    return 0;
}
