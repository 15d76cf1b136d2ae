// What a click in the view costs: picking on the draw benchmark's 20,000-face ship, beside one
// frame of ShipView::draw of the same ship. A click should take well under a frame. Needs an X
// display for the frame:
//   xvfb-run -a build-bench/bench/pick_bench
#include "bench/BenchShip.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"
#include "tests/support/TcacheBuilder.h"
#include "viewer/FixedViews.h"
#include "viewer/OffscreenRenderer.h"
#include "viewer/Picking.h"
#include "viewer/ShipView.h"
#include "viewer/TextureCache.h"

#include <QGuiApplication>

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

struct Fixture
{
    Fixture()
        : ship(shipfile::ShipFile::fromBytes(testsupport::buildShip(benchship::benchShip(400)),
                                             "bench.shp", sink))
    {
        tcache = std::filesystem::temp_directory_path() / "korvex-pick-bench.dat";
        testsupport::TcacheBuilder b;
        for (int t = 0; t < benchship::TextureCount; ++t)
            b.solid16(benchship::textureName(t), 8, 8, static_cast<std::uint16_t>(0x1234 + t));
        b.write(tcache);
        textures.setTexturePath(tcache.string());
        // Turned a little, so faces overlap on screen and the nearest must be found.
        viewer::Matrix4 turn;
        turn.rotateX(20);
        turn.rotateY(-15);
        view.setOrientation(turn);
    }
    ~Fixture() { std::filesystem::remove(tcache); }

    shipfile::SilentSink sink;
    std::unique_ptr<shipfile::ShipFile> ship;
    std::filesystem::path tcache;
    viewer::OffscreenRenderer renderer;
    viewer::ShipView view;
    viewer::TextureCache textures;
};

std::unique_ptr<Fixture> theFixture;

Fixture& fixture()
{
    if (!theFixture)
        theFixture = std::make_unique<Fixture>();
    return *theFixture;
}

// Clicks over a grid across the view, most of them on the ship.
void BM_PickClick(benchmark::State& state)
{
    Fixture& f = fixture();
    const viewer::Scene scene{f.ship.get(), -1, -1};
    std::vector<std::pair<double, double>> clicks;
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i)
            clicks.emplace_back(30 + 330.0 * i / 7, 30 + 330.0 * j / 7);
    std::size_t next = 0, hits = 0;
    for (auto _ : state) {
        const auto [x, y] = clicks[next++ % clicks.size()];
        const viewer::Pick pick = viewer::pickAt(f.view, scene, {}, x, y);
        hits += pick.empty() ? 0 : 1;
        benchmark::DoNotOptimize(pick);
    }
    state.counters["hit share"] =
        static_cast<double>(hits) / static_cast<double>(std::max<std::size_t>(next, 1));
}
BENCHMARK(BM_PickClick)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

void BM_DrawFrame(benchmark::State& state)
{
    Fixture& f = fixture();
    if (!f.renderer.makeCurrent()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    f.view.initialiseGl();
    for (auto _ : state) {
        if (!f.view.draw({f.ship.get(), -1, -1}, f.textures, f.sink)) {
            state.SkipWithError("draw failed");
            break;
        }
        glFinish();
    }
    f.renderer.doneCurrent();
}
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theFixture.reset();
    return 0;
}
