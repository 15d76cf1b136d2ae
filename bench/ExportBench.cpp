// Exports the 20,000-face textured ship of the draw benchmark, as a modder exports a ship to
// take it to Blender: ship read from memory, 50 textures decoded from the texture cache and
// encoded as PNG, files written to a temporary folder. Target: well under a second.
//   build-bench/bench/export_bench
#include "bench/BenchShip.h"
#include "exporter/ShipExport.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

void BM_ExportShip(benchmark::State& state, const char* fileName)
{
    const fs::path dir = fs::temp_directory_path() / "korvex-export-bench";
    fs::create_directories(dir);
    exporter::ExportOptions options;
    options.texturePath = dir / "tcachehw.dat";
    benchship::benchTextures(benchship::TextureCount).write(options.texturePath);
    shipfile::SilentSink sink;
    const auto file = shipfile::ShipFile::fromBytes(shipmaker::buildShip(benchship::benchShip(400)),
                                                    "bench.shp", sink);

    std::size_t triangles = 0;
    for (auto _ : state) {
        const auto summary = exporter::exportShip(*file, dir / fileName, options, sink);
        if (!summary) {
            state.SkipWithError("export failed");
            break;
        }
        triangles = summary->triangles;
    }
    state.counters["triangles"] = static_cast<double>(triangles);
    fs::remove_all(dir);
}

BENCHMARK_CAPTURE(BM_ExportShip, glb, "bench.glb")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportShip, gltf, "bench.gltf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportShip, obj, "bench.obj")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
