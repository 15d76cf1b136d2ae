#include "korvex/Version.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRunner.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>

// Whole runs of korvex-shp compared with the files in golden/: the exit status, standard output
// and standard error, with the temporary directory written as $DIR and without the usage line
// of render, which only the Qt build has. KORVEX_UPDATE_GOLDEN=1
// rewrites the files from the current output (read the diff before committing it).
namespace {

using testsupport::ByteVector;
using tooltests::runShpTool;
namespace fs = std::filesystem;

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

class CommandLine : public ::testing::Test
{
protected:
    std::string write(const std::string& name, const ByteVector& bytes)
    {
        return dir.write(name, bytes).string();
    }

    tooltests::ToolRun run(const std::vector<std::string>& args)
    {
        return runShpTool(args, dir.path());
    }

    // Runs korvex-shp with `args` and compares the whole run with golden/`name`.txt.
    void expectGolden(const std::string& name, const std::vector<std::string>& args)
    {
        const auto result = run(args);
        std::string shown = "exit " + std::to_string(result.exitCode) + "\n--- stdout\n" +
                            result.out + "--- stderr\n" + result.err;
        replaceAll(shown, dir.path().string(), "$DIR");
        replaceAll(shown, KORVEX_VERSION, "$VERSION");
        const auto render = shown.find("  korvex-shp render ");
        if (render != std::string::npos)
            shown.erase(render, shown.find('\n', render) + 1 - render);
        const fs::path golden = fs::path(KORVEX_GOLDEN_DIR) / (name + ".txt");
        if (std::getenv("KORVEX_UPDATE_GOLDEN")) {
            std::ofstream(golden, std::ios::binary) << shown;
            return;
        }
        const auto expected = testsupport::readBytes(golden);
        EXPECT_EQ(shown, std::string(expected.begin(), expected.end())) << golden;
    }

    testsupport::TempDir dir;
    const ByteVector sample = testsupport::buildShip(testsupport::sampleShip());
};

ByteVector withEnd(ByteVector bytes, std::size_t keep)
{
    bytes.resize(keep);
    const ByteVector end = testsupport::BlockBuilder{}.end().build();
    bytes.insert(bytes.end(), end.begin(), end.end());
    return bytes;
}

// Component 0 has no type-9 block, so the first of the chain (component 1's) is counted as its
// own and component 2 has none; boxes and faces go the same way, as in the editor.
testsupport::Ship shiftedBlocksShip()
{
    testsupport::Ship ship;
    for (int i = 0; i < 3; ++i) {
        testsupport::Component c;
        c.name = "c" + std::to_string(i);
        testsupport::addCuboid(c, {0, 0, 0}, {1, 1, 1});
        for (int k = 0; k <= i; ++k)
            c.attachments.push_back(testsupport::Attachment{k});
        c.textures = {"t" + std::to_string(i)};
        ship.components.push_back(c);
    }
    ship.components[0].withAttachmentBlock = false;
    ship.components[1].withBoxBlock = false;
    ship.components[1].withFaceBlock = false;
    ship.components[2].boxes.push_back(testsupport::Box{});
    return ship;
}

// Quote, backslash, control characters, a two-byte and a four-byte character, then bytes that
// are not UTF-8; origins that JSON cannot hold and the float extremes.
testsupport::Ship oddNamesShip()
{
    testsupport::Ship ship;
    testsupport::Component c;
    c.name = "q\"b\\s\x01\x7f\xc3\xa9\xf0\x9f\x98\x80\xff\xc0\xaf\xed\xa0\x80\x80";
    c.origin = {std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity(),
                0.1f};
    c.textures = {"tex\ttab"};
    ship.components = {c, testsupport::Component{}};
    ship.components[1].origin = {3.40282347e38f, -0.0f, 1.17549435e-38f};
    return ship;
}

// Names out of the model table, and a kind the game does not know.
testsupport::Ship badIndexesShip()
{
    testsupport::Attachment object{1};
    object.styleIndex = 500;
    testsupport::Attachment gun{3};
    gun.gunIndex = 40;
    testsupport::Component c;
    c.attachments = {object, gun, testsupport::Attachment{-1}};
    testsupport::Ship ship;
    ship.components = {c};
    return ship;
}

TEST_F(CommandLine, InfoListsShips)
{
    const std::string ship = write("sample.shp", sample);
    expectGolden("info-text", {"info", ship});
    expectGolden("info-json", {"info", "--json", "--", ship});

    testsupport::Ship reduced = testsupport::sampleShip();
    reduced.componentRecordSize = 100;
    reduced.headerRecordSize = 16;
    const std::string reducedShip = write("reduced.shp", testsupport::buildShip(reduced));
    expectGolden("info-reduced-text", {"info", reducedShip});
    expectGolden("info-reduced-json", {"info", reducedShip, "--json"});

    // Record sizes too small for the fields are read only inside the records.
    const ByteVector odd = testsupport::BlockBuilder{}
                               .block(0, 64, 1)
                               .block(1, 0, 3)
                               .block(2, 4, 1)
                               .block(9, 8, 2, {4, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 1, 0, 0, 0})
                               .block(6, 0, 3)
                               .block(4, 2, 1)
                               .end()
                               .build();
    expectGolden("info-odd-sizes", {"info", write("odd.shp", odd), "--json"});
    expectGolden(
        "info-shifted-blocks",
        {"info", write("shifted.shp", testsupport::buildShip(shiftedBlocksShip())), "--json"});
    expectGolden(
        "info-bad-indexes",
        {"info", write("indexes.shp", testsupport::buildShip(badIndexesShip())), "--json"});
    const std::string names = write("names.shp", testsupport::buildShip(oddNamesShip()));
    expectGolden("info-names-text", {"info", names});
    expectGolden("info-names-json", {"info", names, "--json"});
    expectGolden("info-truncated", {"info", write("cut.shp", withEnd(sample, 176)), "--json"});

    // A packed ship lists as its plain form, without the window's notice that it unpacks.
    const auto packedRun =
        run({"info", write("packed.shp", testsupport::packRefPack(sample)), "--json"});
    EXPECT_EQ(packedRun.exitCode, 0);
    EXPECT_EQ(packedRun.out, run({"info", ship, "--json"}).out);
    EXPECT_EQ(packedRun.err, "");
}

TEST_F(CommandLine, RefusesWhatItCannotRead)
{
    const std::string ship = write("sample.shp", sample);
    // No cut of a ship crashes the listing or breaks its JSON.
    for (std::size_t length = 0; length < sample.size(); length += 97) {
        const auto cut = run({"info", write("cut.shp", withEnd(sample, length)), "--json"});
        ASSERT_TRUE(cut.exitCode == 0 || cut.exitCode == 1 || cut.exitCode == 3) << length;
        if (cut.exitCode != 1) {
            EXPECT_FALSE(nlohmann::json::parse(cut.out, nullptr, false).is_discarded()) << length;
        }
    }
    // A failed write of the listing is not a success.
    const auto full = runShpTool({"info", ship}, dir.path(), "/dev/full");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "korvex-shp: error writing the output\n");
}

TEST_F(CommandLine, RefusalsUsageHelpAndVersion)
{
    const std::string ship = write("sample.shp", sample);
    const std::string out = (dir / "out.obj").string();
    const std::string missing = (dir / "missing.shp").string();
    const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
        {"info-missing", {"info", missing}},
        {"info-garbage", {"info", write("garbage.shp", {'n', 'o', 't', ' ', 'a'})}},
        {"info-empty", {"info", write("empty.shp", {}), "--json"}},
        {"info-fake-packed",
         {"info", write("fake.shp", {0x10, 0xFB, 0x00, 0x01, 0x00, 0xFF, 0x13})}},
        {"info-end-only", {"info", write("end.shp", withEnd({}, 0))}},
        {"info-directory", {"info", dir.path().string()}},
        {"export-missing", {"export", missing, "-o", out}},
        {"unpack-missing", {"unpack", missing, ship}},
        // A file cut inside a block loads partly; writing that part would lose the rest.
        {"unpack-truncated",
         {"unpack", write("cut.shp", withEnd(sample, 400)), (dir / "out.shp").string()}},
        {"unpack-unwritable", {"unpack", ship, (dir / "none" / "out.shp").string()}},
        {"usage-none", {}},
        {"usage-unknown-command", {"bogus"}},
        {"usage-info", {"info"}},
        {"usage-info-two-files", {"info", ship, ship}},
        {"usage-info-option", {"info", "--xml", ship}},
        {"usage-info-no-file", {"info", "--json"}},
        {"usage-unpack", {"unpack", ship}},
        {"usage-unpack-option", {"unpack", "--json", ship, ship}},
        {"usage-unpack-three-files", {"unpack", ship, ship, ship}},
        {"usage-export", {"export", ship}},
        {"usage-export-no-output", {"export", ship, "-o"}},
        {"usage-export-option", {"export", ship, "-o", out, "--wireframe"}},
        {"usage-export-format", {"export", ship, "-o", "ship.png"}},
        {"help", {"--help"}},
        {"version", {"--version"}},
    };
    for (const auto& [name, args] : runs)
        expectGolden(name, args);
    EXPECT_FALSE(fs::exists(dir / "out.shp"));
    EXPECT_EQ(run({"-h"}).out, run({"help"}).out);
    EXPECT_EQ(run({"-h"}).out, run({"--help"}).out);
}

TEST_F(CommandLine, CheckListsFindingsAndSaysHowBadInItsStatus)
{
    testsupport::TcacheBuilder cache;
    for (const std::string& name : testsupport::demoTextureNames())
        cache.solid16(name, 2, 2, 1);
    cache.solid16("hull_plate", 2, 2, 1);
    const std::string textures = (dir / "tcachehw.dat").string();
    ASSERT_TRUE(cache.write(textures));
    const auto sound =
        run({"check", write("fighter.shp", testsupport::buildShip(testsupport::demoFighter())),
             "--textures", textures});
    EXPECT_EQ(sound.exitCode, 0);
    EXPECT_EQ(sound.out + sound.err, "");

    // Warnings only; then an error beside them.
    const std::string warned = write("indexes.shp", testsupport::buildShip(badIndexesShip()));
    expectGolden("check-warnings", {"check", warned, "--textures", textures});
    testsupport::Ship broken = badIndexesShip();
    broken.components[0].textures = {"hull_plate", "rust"};
    testsupport::addCuboid(broken.components[0], {0, 0, 0}, {1, 1, 1}, 1);
    broken.components[0].faces[2].c = 70;
    const std::string bad = write("broken.shp", testsupport::buildShip(broken));
    expectGolden("check-errors", {"check", bad, "--textures", textures});
    expectGolden("check-json", {"check", "--json", bad});
    EXPECT_EQ(run({"check", bad, "--json", "--textures", textures}).exitCode, 2);
    expectGolden("check-missing", {"check", (dir / "missing.shp").string()});
    expectGolden("check-no-cache", {"check", warned, "--textures", (dir / "none").string()});
    expectGolden("usage-check", {"check", warned, "--textures"});
}

TEST_F(CommandLine, UnpackAndExportWriteTheirFiles)
{
    const fs::path out = dir / "out.shp";
    for (const ByteVector& ship :
         {sample, testsupport::packRefPack(sample), testsupport::packLiteralOnly(sample)}) {
        fs::remove(out);
        const auto unpacked = run({"unpack", write("in.shp", ship), out.string()});
        EXPECT_EQ(unpacked.exitCode, 0);
        EXPECT_EQ(unpacked.out + unpacked.err, "");
        EXPECT_EQ(testsupport::readBytes(out), sample);
    }
    // In place: the packed file becomes its plain form.
    const std::string packed = write("packed.shp", testsupport::packRefPack(sample));
    EXPECT_EQ(run({"unpack", packed, packed}).exitCode, 0);
    EXPECT_EQ(testsupport::readBytes(packed), sample);

    const std::string obj = (dir / "sample.obj").string();
    const auto exported = run({"export", write("sample.shp", sample), "-o", obj, "--boxes"});
    EXPECT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.err, "");
    EXPECT_EQ(exported.out.rfind("wrote \"" + obj + "\":", 0), 0u);
    EXPECT_TRUE(fs::exists(dir / "sample.mtl"));
}

TEST_F(CommandLine, ImportWritesTheShipOrNothing)
{
    const std::string shp = write("sample.shp", sample);
    const std::string glb = (dir / "sample.glb").string();
    ASSERT_EQ(run({"export", shp, "-o", glb}).exitCode, 0);
    const fs::path out = dir / "back.shp";
    const auto imported = run({"import", shp, glb, "-o", out.string()});
    EXPECT_EQ(imported.exitCode, 0);
    EXPECT_EQ(imported.err, "");
    EXPECT_EQ(imported.out.rfind("wrote \"" + out.string() + "\"\n\"Hull\": geometry kept", 0), 0u)
        << imported.out;
    EXPECT_EQ(testsupport::readBytes(out), sample);

    // A new object in a new material, added as a component; the cache does not hold it.
    const std::string obj = (dir / "sample.obj").string();
    ASSERT_EQ(run({"export", shp, "-o", obj}).exitCode, 0);
    auto text = testsupport::readBytes(obj);
    for (const char c : std::string("o Lid\nusemtl fresh_paint\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\n"))
        text.push_back(static_cast<std::uint8_t>(c));
    write("sample.obj", text);
    const auto added = run({"import", shp, obj, "-o", out.string(), "--add", "--like", "Turret",
                            "--textures", (dir / "none.dat").string()});
    EXPECT_EQ(added.exitCode, 0);
    EXPECT_NE(added.out.find("\"Lid\": added, vertices 0 -> 3, faces 0 -> 1\n"), std::string::npos)
        << added.out;
    EXPECT_NE(added.out.find("the texture \"fresh_paint\" is not in the texture cache"),
              std::string::npos);

    // A damaged model, and a component to copy that is not there: nothing written.
    fs::remove(out);
    const std::string broken = write("broken.gltf", {'{', '"', 'a'});
    const auto refused = run({"import", shp, broken, "-o", out.string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("\"" + broken + "\" was not imported: it is no glTF file"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(run({"import", shp, glb, "-o", out.string(), "--add", "--like", "Nope"}).exitCode,
              1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(run({"import", shp, glb}).exitCode, 2);
}

// The cache's listing, damaged entries included, then a repaint's whole way: extract, replace
// with the picture, add a new one; each run as the user sees it.
TEST_F(CommandLine, TcacheListsExtractsReplacesAndAdds)
{
    testsupport::TcacheBuilder fine;
    fine.add8("Hull", 2, 1, {0, 255}).solid16("glow", 1, 2, 0xF800);
    testsupport::TcacheBuilder cache = fine;
    cache.entry({"cut", 4, 4, 2, {1, 2}, std::nullopt});
    cache.entry({"odd\xff", 1, 1, 7, {1}, std::nullopt});
    const std::string damaged = write("damaged.dat", cache.build());
    const std::string good = write("tcachehw.dat", fine.build());
    const std::string out = (dir / "out").string();
    const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
        {"tcache-list", {"tcache", "list", damaged}},
        {"tcache-list-json", {"tcache", "list", damaged, "--json"}},
        {"tcache-extract-damaged", {"tcache", "extract", damaged, "--all", "-o", out}},
        {"tcache-add-damaged", {"tcache", "add", damaged, "new", out + "/glow.png"}},
        {"tcache-replace", {"tcache", "replace", good, "HULL", out + "/glow.png"}},
        {"tcache-add", {"tcache", "add", good, "new", out + "/Hull.png", "--format", "8"}},
        {"tcache-add-again", {"tcache", "add", good, "NEW", out + "/Hull.png"}},
        {"tcache-add-not-png", {"tcache", "add", good, "new2", good}},
        {"tcache-list-written", {"tcache", "list", good}},
        {"usage-tcache", {"tcache", "extract", good, "Hull"}},
        {"usage-tcache-format", {"tcache", "add", good, "x", out + "/Hull.png", "--format", "24"}},
    };
    for (const auto& [name, args] : runs)
        expectGolden(name, args);
    EXPECT_EQ(testsupport::readBytes(damaged), cache.build());
    EXPECT_EQ(testsupport::readBytes(good + ".bak"), fine.build());
}

} // namespace
