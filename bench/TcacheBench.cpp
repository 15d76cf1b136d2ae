// A texture cache of 2,000 entries (64 x 64, both formats), as `korvex-shp tcache` meets it:
// listing every entry, and extracting one texture (listing, decoding and encoding it as PNG).
// Target: each well under 100 ms.
//   build/release/bench/tcache_bench
#include "gamedata/Png.h"
#include "gamedata/Tcache.h"
#include "shipmaker/TcacheBuilder.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int EntryCount = 2000;
constexpr int Side = 64;

fs::path writeCache()
{
    const fs::path path = fs::temp_directory_path() / "korvex-tcache-bench.dat";
    shipmaker::TcacheBuilder cache;
    for (int i = 0; i < EntryCount; ++i) {
        const std::string name = "texture_" + std::to_string(i);
        if (i % 2 == 0)
            cache.solid16(name, Side, Side, static_cast<std::uint16_t>(i + 1));
        else
            cache.add8(name, Side, Side, std::vector<std::uint8_t>(Side * Side, 40));
    }
    cache.write(path);
    return path;
}

void BM_ListTcache(benchmark::State& state)
{
    const fs::path path = writeCache();
    std::size_t entries = 0;
    for (auto _ : state)
        entries = gamedata::listTcache(path).entries.size();
    state.counters["entries"] = static_cast<double>(entries);
    fs::remove(path);
}

void BM_ExtractOneTexture(benchmark::State& state)
{
    const fs::path path = writeCache();
    std::size_t pngBytes = 0;
    for (auto _ : state) {
        const gamedata::TcacheListing listing = gamedata::listTcache(path);
        const gamedata::TcacheLookup texture =
            gamedata::readTcacheEntry(path, *listing.find("TEXTURE_1999"));
        pngBytes = gamedata::encodePng(texture.texture.width, texture.texture.height,
                                       texture.texture.rgba)
                       .size();
    }
    state.counters["pngBytes"] = static_cast<double>(pngBytes);
    fs::remove(path);
}

BENCHMARK(BM_ListTcache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractOneTexture)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
