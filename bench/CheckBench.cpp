// Checking the 20 MB ship against loading it: the checks run after every step in the editor,
// so they must cost no more than the load the user already waits for. In the Qt build also the
// Checks pane's whole refresh after a step: the checks, the rows and their painting. Prints the
// ratios.
#include "bench/BigShip.h"
#include "bench/MedianReporter.h"
#include "checks/Checks.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"

#ifdef KORVEX_WITH_PANE
#include "app/ChecksPane.h"

#include <QApplication>
#endif

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

#ifdef KORVEX_WITH_PANE
void BM_PaneRefresh(benchmark::State& state)
{
    shipfile::SilentSink sink;
    const shipfile::ShipFile file(shipPath, sink);
    app::ChecksPane pane(nullptr);
    pane.resize(1200, 170);
    pane.show();
    // range(0) 1: every refresh lists other findings (the rows are built afresh); 0: the step
    // changed no finding, as most steps do.
    const bool rebuild = state.range(0) == 1;
    bool odd = false;
    for (auto _ : state) {
        std::vector<checks::Finding> findings = checks::checkShip(file);
        if (rebuild && (odd = !odd))
            findings.pop_back();
        pane.showFindings(std::move(findings));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PaneRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

// Wall time is what the user waits; on a machine shared with other work the main thread's CPU
// time is the steadier figure. The target holds for both.
void printRatio(const bench::MedianReporter& reporter, const char* what, const char* name,
                bool targeted)
{
    const auto load = reporter.median("BM_Load/real_time");
    const auto measured = reporter.median(name);
    if (!load || !measured)
        return;
    const double wall = measured->wall / load->wall;
    const double cpu = measured->cpu / load->cpu;
    std::printf("%-13s %6.2f ms wall, %5.2f ms CPU; / load: %4.2f wall, %4.2f CPU%s\n", what,
                measured->wall * 1e3, measured->cpu * 1e3, wall, cpu,
                !targeted                   ? " (no target)"
                : wall <= 1.0 && cpu <= 1.0 ? " (target at most 1.00: met)"
                                            : " (target at most 1.00: MISSED)");
}

} // namespace

int main(int argc, char** argv)
{
#ifdef KORVEX_WITH_PANE
    // The pane needs no screen of its own.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
#endif
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

    std::printf("\nChecks on a %zu-byte ship, medians:\n", image.size());
    printRatio(reporter, "load", "BM_Load/real_time", false);
    printRatio(reporter, "check", "BM_Check/real_time", true);
    printRatio(reporter, "pane refresh", "BM_PaneRefresh/0/real_time", true);
    printRatio(reporter, "pane rebuild", "BM_PaneRefresh/1/real_time", false);
    return 0;
}
