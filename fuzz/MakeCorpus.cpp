// Writes the seed corpus of the fuzz targets from the ship, RefPack and texture cache
// builders: small well-formed inputs and the malformed shapes the readers must refuse, and
// editing sessions over the ships. Usage: fuzz_make_corpus <corpus-dir> (one folder per target).
#include "exporter/ShipExport.h"
#include "fuzz/SessionCommands.h"
#include "shipfile/ShipFile.h"
#include "shipmaker/RefPackEncoder.h"
#include "shipmaker/ShipBuilder.h"
#include "shipmaker/SystemReg.h"
#include "shipmaker/TcacheBuilder.h"

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using namespace shipmaker;

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

// The texture cache seeds start with the length of the name looked up, then the name.
ByteVector tcacheSeed(std::string_view name, const ByteVector& image)
{
    ByteVector seed{static_cast<std::uint8_t>(name.size())};
    seed.insert(seed.end(), name.begin(), name.end());
    seed.insert(seed.end(), image.begin(), image.end());
    return seed;
}

bool writeTcacheSeeds(const fs::path& dir)
{
    using shipmaker::TcacheBuilder;
    TcacheBuilder both;
    both.add8("ramp", 4, 2, {0, 31, 64, 96, 128, 160, 192, 255});
    both.add16("Glow", 2, 2, {0x0000, 0xF800, 0x07E0, 0x001F});
    TcacheBuilder odd;
    odd.entry({"odd", 1, 1, 3, {1, 2}, std::nullopt});
    odd.entry({"wide", 70000, 1, 1, {1}, std::nullopt});
    odd.entry({"far", 1, 1, 2, {1, 2}, 0xFFFFFFF0u});
    TcacheBuilder lying;
    lying.solid16("hull", 2, 2, 0xFFFF).claimCount(2000000000);
    TcacheBuilder cut;
    cut.add8("abcdefghijklmnopqrst", 2, 2, {1, 2, 3, 4}).truncateTo(84 + 120);

    bool ok = write(dir, "two-formats", tcacheSeed("RAMP", both.build()));
    ok = write(dir, "sixteen-bit", tcacheSeed("glow", both.build())) && ok;
    ok = write(dir, "odd-entries", tcacheSeed("wide", odd.build())) && ok;
    ok = write(dir, "lying-count", tcacheSeed("hull", lying.build())) && ok;
    ok = write(dir, "cut-entry", tcacheSeed("abcdefghijklmnopqrst", cut.build())) && ok;
    return ok;
}

bool writeRegistrySeeds(const fs::path& dir)
{
    const auto text = [](std::string_view s) { return ByteVector(s.begin(), s.end()); };
    const std::string game =
        "Software\\Microsoft\\DirectPlay\\Applications\\Vantaris\nCurrentDirectory\n" +
        systemRegText(GameRegistryEntry{});
    const std::string_view escapes =
        "Software\\Test\nWide\n[Software\\\\Test] 1\r\n"
        "\"Wide\"=\"Spiel\\x00e4\\x20acX\\xd83d\\xde80\\xdc00\\777\\\"\\q\\\"\r\n"
        "\"Multi\"=str(7):\"one\\0two\\0\"\n\"Expand\"=str(2):\"%WINDIR%\\\\x\"\n"
        "\"Bin\"=hex:01,02\n\"Open\"=\"no end\n[Unclosed\\\\Key\n";
    const std::string_view paths =
        "K\nP\n[K] 1\n\"P\"=\"c:\\\\GAMES\\\\..\\\\..\\\\..\\\\vantaris\\\\\\\\x\"\n"
        "[K] 2\n\"P\"=\"Z:\\\\tmp\"\n";
    bool ok = write(dir, "game-key", text(game));
    ok = write(dir, "escapes", text(escapes)) && ok;
    ok = write(dir, "paths", text(paths)) && ok;
    // Key "K", name "N", value one lone low surrogate: it must read as U+FFFD.
    ok = write(dir, "lone-low-surrogate", {'K', 0, 'N', 0, 0x00, 0xDC}) && ok;
    return ok;
}

// An editing session: the ship, the mark, then each command's byte and its arguments. Small
// indexes are stored plus 2 (so -2 and -1 fit a byte); 0xFF introduces a 32-bit index.
class Session
{
public:
    explicit Session(ByteVector ship) : m_bytes(std::move(ship))
    {
        constexpr std::string_view Mark = "--edits--";
        m_bytes.insert(m_bytes.end(), Mark.begin(), Mark.end());
    }

    Session& command(fuzz::Command c, std::initializer_list<int> indexes = {})
    {
        m_bytes.push_back(static_cast<std::uint8_t>(c));
        for (const int i : indexes)
            index(i);
        return *this;
    }
    Session& index(int i)
    {
        if (i >= -2 && i < 0xFD) {
            m_bytes.push_back(static_cast<std::uint8_t>(i + 2));
        } else {
            m_bytes.push_back(0xFF);
            u32(static_cast<std::uint32_t>(i));
        }
        return *this;
    }
    Session& byte(std::uint8_t b)
    {
        m_bytes.push_back(b);
        return *this;
    }
    Session& u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    Session& f32(float v) { return u32(std::bit_cast<std::uint32_t>(v)); }
    Session& vec3(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    Session& text(std::string_view s)
    {
        m_bytes.push_back(static_cast<std::uint8_t>(s.size()));
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    Session& merge(const ByteVector& second)
    {
        command(fuzz::Command::Merge);
        m_bytes.push_back(static_cast<std::uint8_t>(second.size()));
        m_bytes.push_back(static_cast<std::uint8_t>(second.size() >> 8));
        m_bytes.insert(m_bytes.end(), second.begin(), second.end());
        return *this;
    }
    const ByteVector& bytes() const { return m_bytes; }

private:
    ByteVector m_bytes;
};

bool writeSessionSeeds(const fs::path& dir)
{
    using C = fuzz::Command;
    const ByteVector two = buildShip(twoComponents());

    Session attachments(two);
    attachments.command(C::AddAttachment, {0, 2})
        .command(C::CopyAttachment, {0, 0})
        .command(C::MirrorAttachment, {1, 0})
        .command(C::MoveAttachment, {0, 1})
        .vec3(1, -2, 3)
        .command(C::SnapAttachment, {0, 1})
        .byte(3)
        .command(C::AttachmentProperty, {0, 0})
        .u32(7)
        .command(C::AttachmentPosition, {1, 0})
        .vec3(0, 0, 9)
        .command(C::RemoveAttachment, {0, 0})
        .command(C::Read, {0, 1});

    Session components(two);
    components.command(C::ComponentName, {1})
        .text("Turret two")
        .command(C::ComponentRole, {1})
        .command(C::HitPoints, {0})
        .u32(500)
        .command(C::Debris, {0})
        .byte(1)
        .command(C::DebrisNumber, {0})
        .u32(3)
        .command(C::MoveComponent, {1})
        .vec3(0, 1, 0)
        .command(C::ChangeShipClass)
        .command(C::DeleteComponent, {0})
        .command(C::Read, {0, 0});

    Session shape(two);
    shape.command(C::Scale).f32(2.0f).byte(0).index(-1);
    shape.command(C::Scale).f32(2.0f).byte(3).index(1);
    shape.command(C::ClearBoxes, {0})
        .command(C::CreateBox, {0})
        .command(C::CreateBox, {1})
        .command(C::DummyTriangle, {0})
        .command(C::Block13, {1})
        .command(C::Block14, {1})
        .command(C::Block14, {0})
        .command(C::Block14, {0});

    Session animation(two);
    for (std::uint8_t step = 0; step < 8; ++step) {
        animation.command(C::Animation, {1}).byte(step).index(1).byte(step);
        if (step == 2)
            animation.text("on fire");
        else if (step < 6) // appending and deleting a frame take no value
            animation.f32(1.0f);
    }
    animation.command(C::Animation, {0}).byte(6).index(0).byte(0);

    const ByteVector small = buildShip(smallShip());
    Session merged(small);
    merged.merge(packRefPack(two))
        .merge(BlockBuilder{}.block(0, 24, 1).block(1, 312, 1).end().build())
        .merge({'n', 'o', 't', 0x10, 0xFB})
        .command(C::DeleteComponent, {2})
        .command(C::DeleteComponent, {1});

    Session outOfRange(small);
    for (const int bad : {-1, 2, -0x7FFFFFFF - 1})
        for (std::uint8_t c = 0; c < fuzz::CommandCount; ++c)
            outOfRange.command(static_cast<C>(c), {bad, bad, bad, bad});

    Session damaged(cut(two, two.size() * 2 / 3));
    damaged.command(C::AddAttachment, {0, 1})
        .command(C::DeleteComponent, {0})
        .command(C::CreateBox, {0})
        .command(C::Animation, {0})
        .byte(6);

    // Undo and redo through changes of every size, and a new change that drops the redo steps.
    Session history(small);
    history.command(C::AddAttachment, {0, 3})
        .command(C::Block14, {0})
        .command(C::Scale)
        .f32(2.0f)
        .byte(0)
        .index(-1)
        .command(C::DeleteComponent, {0})
        .command(C::Undo)
        .command(C::Undo)
        .command(C::Redo)
        .command(C::Undo)
        .command(C::CreateBox, {0})
        .command(C::Redo)
        .command(C::Undo)
        .command(C::Undo)
        .command(C::Undo)
        .command(C::Undo);

    bool ok = write(dir, "attachments", attachments.bytes());
    ok = write(dir, "history", history.bytes()) && ok;
    ok = write(dir, "components", components.bytes()) && ok;
    ok = write(dir, "shape", shape.bytes()) && ok;
    ok = write(dir, "animation", animation.bytes()) && ok;
    ok = write(dir, "merge", merged.bytes()) && ok;
    ok = write(dir, "out-of-range", outOfRange.bytes()) && ok;
    ok = write(dir, "damaged-ship", damaged.bytes()) && ok;
    return ok;
}

// Models as the export writes them, behind the byte that says how to read them.
bool writeImportSeeds(const fs::path& dir)
{
    Ship ship;
    Component hull;
    hull.name = "Hull";
    hull.textures = {"plate"};
    addCuboid(hull, {0, 0, 0}, {20, 8, 40});
    hull.faces.resize(4);
    hull.attachments.push_back(Attachment{2, {0, 5, 10}});
    ship.components = {hull};
    shipfile::SilentSink sink;
    const auto file = shipfile::ShipFile::fromBytes(buildShip(ship), "seed.shp", sink);
    const fs::path scratch = fs::temp_directory_path() / "korvex-import-seeds";
    std::error_code ec;
    fs::create_directories(scratch, ec);
    bool ok = true;
    const std::pair<const char*, std::uint8_t> formats[] = {{"ship.glb", 0}, {"ship.obj", 2}};
    for (const auto& [name, selector] : formats) {
        if (!exporter::exportShip(*file, scratch / name, {}, sink)) {
            ok = false;
            continue;
        }
        std::ifstream in(scratch / name, std::ios::binary);
        ByteVector seed = {selector};
        seed.insert(seed.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ok = write(dir, name, seed) && ok;
    }
    fs::remove_all(scratch, ec);
    const auto text = [](std::uint8_t selector, std::string_view s) {
        ByteVector seed = {selector};
        seed.insert(seed.end(), s.begin(), s.end());
        return seed;
    };
    ok = write(dir, "quad-new-object.obj",
               text(6, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\no Lid\nusemtl plate\n"
                       "f 1/1 2/1 3/1 4/1\nf -1 -2 -3\n")) &&
         ok;
    ok = write(dir, "strip.gltf",
               text(1, R"({"asset":{"version":"2.0"},"scenes":[{"nodes":[0]}],"nodes":[{"name":)"
                       R"("Hull","mesh":0,"children":[1]},{"name":"Engine Flame","translation":)"
                       R"([1,2,3]}],"meshes":[{"primitives":[{"mode":5,"attributes":{"POSITION")"
                       R"(:0}}]}],"buffers":[{"byteLength":36,"uri":"data:application/octet-)"
                       R"(stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAA"}],)"
                       R"("bufferViews":[{"buffer":0,"byteLength":36}],"accessors":[{)"
                       R"("bufferView":0,"componentType":5126,"count":3,"type":"VEC3"}]})")) &&
         ok;
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
    for (const char* target : {"loader", "decoder", "tcache", "registry", "session", "import"})
        fs::create_directories(root / target, ec);
    bool ok = writeLoaderSeeds(root / "loader");
    ok = writeDecoderSeeds(root / "decoder") && ok;
    ok = writeTcacheSeeds(root / "tcache") && ok;
    ok = writeRegistrySeeds(root / "registry") && ok;
    ok = writeSessionSeeds(root / "session") && ok;
    ok = writeImportSeeds(root / "import") && ok;
    return ok ? 0 : 1;
}
