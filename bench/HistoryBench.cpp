// Undo and redo against loading, on the 20 MB ship of file_bench: a step reads the ship's
// image back into it (and keeps the image it had), so it should cost about one load. Also the
// memory a full history of 200 steps holds on the demo fighter.
#include "bench/BigShip.h"
#include "editing/Attachments.h"
#include "editing/Components.h"
#include "editing/History.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"
#include "shipmaker/DemoShips.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using shipmaker::ByteVector;

const ByteVector& shipImage()
{
    static const ByteVector image = bigShip();
    return image;
}

// The reference: loading the ship from a file, as Open does.
void loadFromFile(benchmark::State& state)
{
    const fs::path path =
        fs::temp_directory_path() / ("korvex-history-bench-" + std::to_string(::getpid()) + ".shp");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(shipImage().data()),
               static_cast<std::streamsize>(shipImage().size()));
    shipfile::SilentSink sink;
    for (auto _ : state) {
        shipfile::ShipFile file(path, sink);
        benchmark::DoNotOptimize(file.first());
    }
    fs::remove(path);
}

void loadFromMemory(benchmark::State& state)
{
    shipfile::SilentSink sink;
    for (auto _ : state) {
        auto file = shipfile::ShipFile::fromBytes(shipImage(), "big.shp", sink);
        benchmark::DoNotOptimize(file->first());
    }
}

// Each iteration is one step: undo and redo of a ship-class change, in turn.
void undoOrRedo(benchmark::State& state)
{
    shipfile::SilentSink sink;
    auto file = shipfile::ShipFile::fromBytes(shipImage(), "big.shp", sink);
    editing::History history;
    ByteVector before = file->serialise();
    editing::changeShipClass(*file);
    if (!history.record("Change ship class", std::move(before), *file)) {
        state.SkipWithError("no step recorded");
        return;
    }
    for (auto _ : state) {
        const bool done = history.canUndo() ? history.undo(*file) : history.redo(*file);
        if (!done) {
            state.SkipWithError("undo or redo failed");
            return;
        }
    }
}

// Taking the image an action starts from: what every command pays before it runs.
void takeImage(benchmark::State& state)
{
    shipfile::SilentSink sink;
    auto file = shipfile::ShipFile::fromBytes(shipImage(), "big.shp", sink);
    for (auto _ : state)
        benchmark::DoNotOptimize(file->serialise());
}

// 200 small steps (an attachment nudged each time) on the demo fighter; the counters give
// the bytes of images the history holds and one image's size.
void fighterHistoryMemory(benchmark::State& state)
{
    shipfile::SilentSink sink;
    const ByteVector image = shipmaker::buildShip(shipmaker::demoFighter());
    std::size_t held = 0;
    for (auto _ : state) {
        auto file = shipfile::ShipFile::fromBytes(image, "fighter.shp", sink);
        editing::History history;
        for (int n = 0; n < 200; ++n) {
            ByteVector before = file->serialise();
            editing::moveAttachment(*file, 0, 0, {0.5f, 0, 0});
            history.record("Move attachment", std::move(before), *file);
        }
        held = history.bytes();
        if (history.undoCount() != 200) {
            state.SkipWithError("steps were dropped");
            return;
        }
    }
    state.counters["historyBytes"] = static_cast<double>(held);
    state.counters["imageBytes"] = static_cast<double>(image.size());
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("history_bench: %zu-byte ship\n", shipImage().size());
    benchmark::RegisterBenchmark("LoadFromFile", loadFromFile)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("LoadFromMemory", loadFromMemory)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("UndoOrRedoStep", undoOrRedo)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("TakeImage", takeImage)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("FighterHistoryMemory200Steps", fighterHistoryMemory)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
