// Writes the seed corpus of the two fuzz targets from the ship builders and the RefPack
// encoder: small well-formed ships, packed and plain, and the malformed shapes the loader and
// the decoder must refuse. Usage: fuzz_make_corpus <corpus-dir> (holding loader/ and decoder/).
#include "tests/support/RefPackEncoder.h"
#include "tests/support/ShipBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace testsupport;

// Each seed stays small, so the fuzzer mutates it quickly.
constexpr std::size_t MaxSeedSize = 4096;

bool write(const fs::path& dir, const std::string& name, const ByteVector& bytes)
{
    if (bytes.size() > MaxSeedSize) {
        std::fprintf(stderr, "%s is %zu bytes, over %zu\n", name.c_str(), bytes.size(),
                     MaxSeedSize);
        return false;
    }
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

Ship smallShip()
{
    Ship ship;
    Component hull;
    hull.name = "Hull";
    hull.textures = {"plate"};
    addCuboid(hull, {0, 0, 0}, {20, 8, 40});
    hull.attachments.push_back(Attachment{1, {0, 5, 10}, 2, -1});
    hull.boxes.push_back(Box{{0, 0, 0}, {10, 4, 20}});
    ship.components = {hull};
    return ship;
}

Ship twoComponents()
{
    Ship ship = smallShip();
    ship.shipClass = 2;
    Component turret;
    turret.name = "Turret";
    turret.role = 3;
    turret.origin = {0, 6, 5};
    turret.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    turret.faces = {Face{0, 1, 2}};
    turret.attachments.push_back(Attachment{3, {0, 1, 3}, -1, 4});
    Animation spin;
    spin.frames = {{0, {}, {}}, {500, {0, 1.5f, 0}, {}}};
    turret.animation = spin;
    turret.block13On = true;
    turret.block14Count = 2;
    ship.components.push_back(turret);
    return ship;
}

ByteVector header(std::initializer_list<std::uint8_t> commands)
{
    ByteVector s = {0x10, 0xFB, 0, 0, 0};
    s.insert(s.end(), commands);
    return s;
}

ByteVector cut(ByteVector bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

bool writeLoaderSeeds(const fs::path& dir)
{
    const ByteVector ship = buildShip(smallShip());
    const ByteVector two = buildShip(twoComponents());
    Ship noBoxes = smallShip();
    noBoxes.components[0].withBoxBlock = false;
    Ship shortRecords = smallShip();
    shortRecords.componentRecordSize = 72; // origin cut in half
    shortRecords.headerRecordSize = 8;     // no ship class byte
    ByteVector packedTwice = packRefPack(packRefPack(ship));

    bool ok = write(dir, "ship.shp", ship);
    ok = write(dir, "two-components.shp", two) && ok;
    ok = write(dir, "ship-packed.shp", packRefPack(two)) && ok;
    ok = write(dir, "ship-literal-packed.shp", packLiteralOnly(ship)) && ok;
    ok = write(dir, "packed-twice.shp", packedTwice) && ok;
    ok = write(dir, "end-marker-only.shp", BlockBuilder{}.end().build()) && ok;
    ok = write(dir, "truncated.shp", cut(ship, ship.size() / 2)) && ok;
    ok = write(dir, "data-after-end.shp",
               BlockBuilder{}.block(0, 24, 1).end().block(1, 312, 1).end().build()) &&
         ok;
    ok = write(dir, "empty-and-unknown-blocks.shp",
               BlockBuilder{}.block(0, 24, 1).block(9, 168, 0).block(0x1234, 3, 2).end().build()) &&
         ok;
    ok = write(dir, "two-type1-blocks.shp",
               BlockBuilder{}.block(1, 312, 1).block(1, 312, 2).block(9, 168, 0).end().build()) &&
         ok;
    ok = write(dir, "no-box-blocks.shp", buildShip(noBoxes)) && ok;
    ok = write(dir, "short-records.shp", buildShip(shortRecords)) && ok;
    ok = write(dir, "lying-count.shp",
               BlockBuilder{}.rawBlock(4, 32, 500, ByteVector(64, 1)).end().build()) &&
         ok;
    ok = write(dir, "not-a-ship.shp", {'h', 'e', 'l', 'l', 'o', 0x10, 0xFB}) && ok;
    return ok;
}

bool writeDecoderSeeds(const fs::path& dir)
{
    // Overlapping copies at distances 1..16 after a literal run, long enough for the fast path.
    ByteVector overlaps = header({0xFB});
    for (int i = 0; i < 112; ++i)
        overlaps.push_back(static_cast<std::uint8_t>(i * 37));
    for (std::uint8_t d = 0; d < 16; ++d)
        overlaps.insert(overlaps.end(), {static_cast<std::uint8_t>(0x1C | 1), d, 0x55});
    overlaps.insert(overlaps.end(), {0xC1, 0x00, 0x02, 0xFF, 0x66, 0x8F, 0x40, 0x0F, 0x77});
    overlaps.push_back(0xF8);
    for (int i = 0; i < 100; ++i)
        overlaps.push_back(static_cast<std::uint8_t>(i));
    overlaps.push_back(0xFC);

    ByteVector mixed(1500);
    for (std::size_t i = 0; i < mixed.size(); ++i)
        mixed[i] = static_cast<std::uint8_t>((i % 29) ^ (i / 100));
    ByteVector lying = header({0xFF, 1, 2, 3});
    lying[2] = 0x7F;

    bool ok = write(dir, "closing-only", header({0xFC}));
    ok = write(dir, "closing-literals", header({0xFF, 1, 2, 3})) && ok;
    ok = write(dir, "literal-runs", packLiteralOnly(mixed)) && ok;
    ok = write(dir, "short-copy-d1", header({0x1D, 0x00, 0x41, 0xFC})) && ok;
    ok = write(dir, "medium-copy", header({0x80, 0x80, 0x01, 5, 6, 0xFC})) && ok;
    ok = write(dir, "long-copy", header({0xE0, 1, 2, 3, 4, 0xCC, 0x00, 0x00, 0xFF, 0xFC})) && ok;
    ok = write(dir, "overlapping-copies", overlaps) && ok;
    ok = write(dir, "ship", packRefPack(buildShip(smallShip()))) && ok;
    ok = write(dir, "mixed", packRefPack(mixed)) && ok;
    ok = write(dir, "lying-size", lying) && ok;
    ok = write(dir, "literals-past-end", header({0xE0, 1, 2})) && ok;
    ok = write(dir, "copy-before-start", header({0x00, 0x00, 0xFC})) && ok;
    ok = write(dir, "no-closing-command", header({0xE0, 1, 2, 3, 4})) && ok;
    ok = write(dir, "truncated-command", header({0xC0, 0x00})) && ok;
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_corpus <corpus-dir>\n");
        return 2;
    }
    const fs::path root = argv[1];
    std::error_code ec;
    fs::create_directories(root / "loader", ec);
    fs::create_directories(root / "decoder", ec);
    const bool ok = writeLoaderSeeds(root / "loader") && writeDecoderSeeds(root / "decoder");
    return ok ? 0 : 1;
}
