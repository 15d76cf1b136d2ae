// Brings back the 20,000-face textured ship of export_bench from the .glb it exports, as a
// modder does after a visit to Blender: model read from the file (pictures not decoded),
// matched against the ship, applied to it. Target: at most twice the export of the same ship,
// which this program measures beside it.
//   build/release/bench/import_bench
#include "bench/BenchShip.h"
#include "exporter/ShipExport.h"
#include "importer/ModelFile.h"
#include "importer/ShipImport.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct BenchFiles
{
    fs::path dir = fs::temp_directory_path() / "korvex-import-bench";
    exporter::ExportOptions options;
    shipmaker::ByteVector image = shipmaker::buildShip(benchship::benchShip(400));
    shipfile::SilentSink sink;

    BenchFiles()
    {
        fs::create_directories(dir);
        options.texturePath = dir / "tcachehw.dat";
        benchship::benchTextures(benchship::TextureCount).write(options.texturePath);
    }
    ~BenchFiles() { fs::remove_all(dir); }
};

void BM_Export(benchmark::State& state)
{
    BenchFiles files;
    const auto ship = shipfile::ShipFile::fromBytes(files.image, "bench.shp", files.sink);
    for (auto _ : state)
        if (!exporter::exportShip(*ship, files.dir / "bench.glb", files.options, files.sink))
            state.SkipWithError("export failed");
}

void BM_Import(benchmark::State& state)
{
    BenchFiles files;
    const auto exported = shipfile::ShipFile::fromBytes(files.image, "bench.shp", files.sink);
    exporter::exportShip(*exported, files.dir / "bench.glb", files.options, files.sink);
    for (auto _ : state) {
        const auto ship = shipfile::ShipFile::fromBytes(files.image, "bench.shp", files.sink);
        const auto model = importer::readModelFile(files.dir / "bench.glb", files.sink);
        if (!model) {
            state.SkipWithError("the model was refused");
            break;
        }
        const importer::ImportPlan plan = importer::planImport(*ship, *model, {});
        if (!importer::applyImport(*ship, plan) || !ship->matchesImage(files.image))
            state.SkipWithError("the round trip changed the ship");
    }
}

BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
