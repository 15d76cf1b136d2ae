// The history on the 20 MB ship of file_bench: 200 attachment moves and 20 Larger steps, each
// through the editing session as a command runs, with the bytes the session then holds and
// the time of one undo; then undo and redo against loading, which they should stay near.
#include "bench/BigShip.h"
#include "editing/Attachments.h"
#include "editing/Components.h"
#include "editing/Scaling.h"
#include "editing/Session.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

using shipmaker::ByteVector;
using shipfile::ShipFile;

const ByteVector& shipImage()
{
    static const ByteVector image = bigShip();
    return image;
}

std::unique_ptr<editing::Session> openBigShip()
{
    static shipfile::SilentSink sink;
    return std::make_unique<editing::Session>(ShipFile::fromBytes(shipImage(), "big.shp", sink));
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Runs `steps` named steps of `change`, then undoes them all, and prints one line: the steps
// kept, the bytes the history and the whole session hold, and the milliseconds per step and
// per undo. Returns false when a step was dropped or the undo did not reach the start.
bool measureSteps(const char* name, int steps, const std::function<bool(ShipFile&)>& change)
{
    auto session = openBigShip();
    const auto recordStart = std::chrono::steady_clock::now();
    for (int n = 0; n < steps; ++n)
        session->apply(name, change);
    const double perStep = millisecondsSince(recordStart) / steps;
    const std::size_t kept = session->history().undoCount();
    const std::size_t historyBytes = session->history().bytes();
    const std::size_t sessionBytes = session->bytesHeld();
    const auto undoStart = std::chrono::steady_clock::now();
    while (session->undo()) {
    }
    const double perUndo = millisecondsSince(undoStart) / static_cast<double>(kept);
    std::printf("history: %d x %s on a %zu-byte ship: %zu steps kept, %zu bytes of changes, "
                "%zu bytes held by the session, %.2f ms per step, %.2f ms per undo\n",
                steps, name, shipImage().size(), kept, historyBytes, sessionBytes, perStep,
                perUndo);
    return kept == static_cast<std::size_t>(steps) && !session->modified();
}

// Each iteration is one step: undo and redo of a ship-class change, in turn.
void undoOrRedo(benchmark::State& state)
{
    auto session = openBigShip();
    session->apply("Change ship class", [](ShipFile& s) { return editing::changeShipClass(s); });
    for (auto _ : state) {
        const bool done = session->history().canUndo() ? session->undo() : session->redo();
        if (!done) {
            state.SkipWithError("undo or redo failed");
            return;
        }
    }
}

// One command through the session: the step's cost on top of the command's own.
void attachmentMoveStep(benchmark::State& state)
{
    auto session = openBigShip();
    for (auto _ : state)
        session->apply("Move attachment", [](ShipFile& s) {
            return editing::moveAttachment(s, 0, 0, {0.5f, 0, 0});
        });
}

void loadFromMemory(benchmark::State& state)
{
    shipfile::SilentSink sink;
    for (auto _ : state) {
        auto file = ShipFile::fromBytes(shipImage(), "big.shp", sink);
        benchmark::DoNotOptimize(file->first());
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("history_bench: %zu-byte ship\n", shipImage().size());
    const bool moves = measureSteps("Move attachment", 200, [](ShipFile& s) {
        return editing::moveAttachment(s, 0, 0, {0.5f, 0, 0});
    });
    const bool larger = measureSteps("Larger", 20, [](ShipFile& s) {
        return editing::scaleShip(s, 1.2f, editing::ScaleDirection::Larger, false, -1);
    });
    if (!moves || !larger) {
        std::printf("history: steps were dropped or undo missed the start\n");
        return 1;
    }
    benchmark::RegisterBenchmark("LoadFromMemory", loadFromMemory)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("UndoOrRedoStep", undoOrRedo)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("AttachmentMoveStep", attachmentMoveStep)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
