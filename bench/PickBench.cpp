// What a click in the view costs: picking on the draw benchmark's 20,000-face ship. Built into
// draw_bench, so the median time per click is reported beside BM_ShipViewDraw's frame; a click
// should take well under one frame.
#include "bench/BenchShip.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"
#include "viewer/Picking.h"
#include "viewer/ShipView.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <utility>
#include <vector>

namespace {

// Clicks over a grid across the view, most of them on the ship, turned a little so faces
// overlap on screen and the nearest must be found.
void BM_PickClick(benchmark::State& state)
{
    shipfile::SilentSink sink;
    const auto ship = shipfile::ShipFile::fromBytes(shipmaker::buildShip(benchship::benchShip(400)),
                                                    "bench.shp", sink);
    viewer::ShipView view;
    viewer::Matrix4 turn;
    turn.rotateX(20);
    turn.rotateY(-15);
    view.setOrientation(turn);
    const viewer::Scene scene{ship.get(), -1, -1};

    std::vector<std::pair<double, double>> clicks;
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i)
            clicks.emplace_back(30 + 330.0 * i / 7, 30 + 330.0 * j / 7);
    std::size_t next = 0, hits = 0;
    for (auto _ : state) {
        const auto [x, y] = clicks[next++ % clicks.size()];
        const viewer::Pick pick = viewer::pickAt(view, scene, {}, x, y);
        if (!pick.empty())
            ++hits;
        benchmark::DoNotOptimize(pick);
    }
    state.counters["hits"] =
        static_cast<double>(hits) / static_cast<double>(std::max<std::size_t>(next, 1));
}
BENCHMARK(BM_PickClick)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

} // namespace
