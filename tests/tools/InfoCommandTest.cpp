#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "shipfile/ShipFile.h"
#include "tests/support/ShipMaker.h"
#include "tests/tools/ToolRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace {

namespace messages = shipfile::messages;
using nlohmann::json;
using testsupport::ByteVector;
using tooltests::runShpTool;
using tooltests::writeFile;

std::string gunModel(int index)
{
    return std::string(shipfile::gunModelName(index));
}

class InfoCommand : public ::testing::Test
{
protected:
    std::filesystem::path write(const std::string& name, const ByteVector& bytes)
    {
        return writeFile(dir.path(), name, bytes);
    }

    tooltests::ToolRun info(const std::filesystem::path& file, bool asJson = false)
    {
        std::vector<std::string> args = {"info", file.string()};
        if (asJson)
            args.push_back("--json");
        return runShpTool(args, dir.path());
    }

    // The --json listing of `bytes`, parsed; a failed run or unparsable output fails the test.
    json infoJson(const ByteVector& bytes)
    {
        const auto run = info(write("ship.shp", bytes), true);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        json parsed = json::parse(run.out, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << run.out;
        return parsed;
    }

    tooltests::TemporaryDirectory dir;
};

TEST_F(InfoCommand, JsonListsBlocksAndComponentsOfPlainShip)
{
    const json ship = infoJson(testsupport::buildShip(testsupport::sampleShip()));

    std::vector<int> types;
    for (const auto& block : ship.at("blocks"))
        types.push_back(block.at("type").get<int>());
    EXPECT_EQ(types, (std::vector<int>{0, 1, 2, 13, 7, 9, 6, 4, 3, 12, 16, 2, 13, 10, 7, 9, 6, 11,
                                       4, 3, 12, 14, 14, 16}));
    EXPECT_EQ(ship["blocks"][1], json::parse(R"({"type": 1, "recordSize": 312, "count": 2})"));
    EXPECT_EQ(ship["blocks"][5], json::parse(R"({"type": 9, "recordSize": 168, "count": 5})"));
    EXPECT_EQ(ship.at("shipClass"), 0);
    EXPECT_EQ(ship.at("shipClassText"), "Fighter");

    const json& components = ship.at("components");
    ASSERT_EQ(components.size(), 2u);
    const json& hull = components[0];
    EXPECT_EQ(hull.at("name"), "Hull");
    EXPECT_EQ(hull.at("origin"), json::parse("[0, 0, 0]"));
    EXPECT_EQ(hull.at("role"), 0);
    EXPECT_EQ(hull.at("roleText"), "Fighter-type");
    EXPECT_EQ(hull.at("hitPoints"), 500);
    EXPECT_EQ(hull.at("hasDebris"), true);
    EXPECT_EQ(hull.at("debrisNumber"), 3);
    EXPECT_EQ(hull.at("faceCount"), 24);
    EXPECT_EQ(hull.at("vertexCount"), 16);
    EXPECT_EQ(hull.at("boxCount"), 1);
    EXPECT_EQ(hull.at("textures"), json::parse(R"(["hull_plate", "engine_glow"])"));
    std::vector<std::string> labels;
    for (const auto& a : hull.at("attachments"))
        labels.push_back(a.at("label").get<std::string>());
    EXPECT_EQ(labels, (std::vector<std::string>{"Missile Mount Point", "Obj: " + gunModel(18),
                                                "Engine Flame", "Gun: " + gunModel(4),
                                                "Blinking Light"}));
    const json& mount = hull["attachments"][0];
    EXPECT_EQ(mount.at("kind"), 0);
    EXPECT_EQ(mount.at("position"), json::parse("[-40, 50, 100]"));
    EXPECT_EQ(mount.at("styleIndex"), 0);
    EXPECT_EQ(mount.at("gunIndex"), 479);
    EXPECT_EQ(hull["attachments"][1].at("styleIndex"), 2);
    EXPECT_EQ(hull.at("hasBlock10"), false);
    EXPECT_EQ(hull.at("hasBlock13"), true);
    EXPECT_EQ(hull.at("block13On"), false);
    EXPECT_EQ(hull.at("hasBlock14"), false);

    const json& turret = components[1];
    EXPECT_EQ(turret.at("name"), "Turret");
    EXPECT_EQ(turret.at("origin"), json::parse("[0, 60, 50]"));
    EXPECT_EQ(turret.at("roleText"), "Fighter turret");
    EXPECT_EQ(turret.at("hasDebris"), false);
    EXPECT_EQ(turret.at("faceCount"), 12);
    EXPECT_EQ(turret.at("vertexCount"), 8);
    EXPECT_EQ(turret.at("boxCount"), 0);
    ASSERT_EQ(turret.at("attachments").size(), 1u);
    EXPECT_EQ(turret["attachments"][0].at("label"), "Gun: " + gunModel(2));
    EXPECT_EQ(turret["attachments"][0].at("gunIndex"), 2);
    EXPECT_EQ(turret["attachments"][0].at("position"), json::parse("[0, 10, 30]"));
    for (const char* flag : {"hasSection", "hasBlock10", "hasBlock11", "hasBlock13", "block13On",
                             "hasBlock14"})
        EXPECT_EQ(turret.at(flag), true) << flag;
}

TEST_F(InfoCommand, TextListsTheSameShip)
{
    const auto run = info(write("ship.shp", testsupport::buildShip(testsupport::sampleShip())));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const std::string line : {
             "Blocks: 24\n",
             "      1      1          312      2\n",
             "Ship class: Fighter\n",
             "Components: 2\n",
             "Component 0: \"Hull\"\n",
             "  debris: yes, number 3\n",
             "  textures: \"hull_plate\" \"engine_glow\"\n",
             "  special blocks: 13 (off)\n",
             "    0: Missile Mount Point (kind 0, position -40 50 100, styleIndex 0, "
             "gunIndex 479)\n",
             "Component 1: \"Turret\"\n",
             "  origin: 0 60 50\n",
             "  role: Fighter turret\n",
             "  faces: 12\n",
             "  boxes: 0\n",
             "  special blocks: 10, 11, 13 (on), 14\n",
         })
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

TEST_F(InfoCommand, PackedShipListsLikeItsPlainForm)
{
    const ByteVector plain = testsupport::buildShip(testsupport::sampleShip());
    const auto plainRun = info(write("plain.shp", plain), true);
    ASSERT_EQ(plainRun.exitCode, 0);
    // The window's notice that it unpacks is no news on the command line.
    for (const ByteVector& packed :
         {testsupport::packRefPack(plain), testsupport::packLiteralOnly(plain)}) {
        const auto run = info(write("packed.shp", packed), true);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, plainRun.out);
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(InfoCommand, ComponentsTakeTheNthBlockOfEachTypeAsTheEditorDoes)
{
    // Component 0 has no type-9 block, so the first type-9 of the chain (component 1's) is
    // counted as its own; component 2 then has none. Boxes and faces go the same way.
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
    const ByteVector bytes = testsupport::buildShip(ship);
    const json listed = infoJson(bytes);

    shipfile::SilentSink sink;
    auto file = shipfile::ShipFile::fromBytes(bytes, "ship", sink);
    ASSERT_EQ(listed.at("components").size(), 3u);
    for (int n = 0; n < 3; ++n) {
        const json& c = listed["components"][static_cast<std::size_t>(n)];
        const shipfile::ShipBlock* attachments = shipfile::attachmentBlockOf(*file, n);
        const shipfile::ShipBlock* boxes = shipfile::boxBlockOf(*file, n);
        if (!attachments) {
            EXPECT_TRUE(c.at("attachments").is_null()) << n;
            EXPECT_TRUE(c.at("faceCount").is_null()) << n;
            EXPECT_TRUE(c.at("textures").is_null()) << n;
        } else {
            EXPECT_EQ(c.at("attachments").size(), attachments->count) << n;
            auto* faces = shipfile::nextBlockOfType(const_cast<shipfile::ShipBlock*>(attachments),
                                                    shipfile::layout::type::Faces);
            ASSERT_NE(faces, nullptr);
            EXPECT_EQ(c.at("faceCount"), faces->count) << n;
        }
        if (boxes) {
            EXPECT_EQ(c.at("boxCount"), boxes->count) << n;
        } else {
            EXPECT_TRUE(c.at("boxCount").is_null()) << n;
        }
    }
    // Spelled out, so that the oracle above cannot agree with a shared mistake.
    EXPECT_EQ(listed["components"][0]["attachments"].size(), 2u);
    EXPECT_EQ(listed["components"][0]["textures"], json::parse(R"(["t1"])"));
    EXPECT_EQ(listed["components"][1]["attachments"].size(), 3u);
    EXPECT_EQ(listed["components"][1]["faceCount"], 12) << "component 2's face block";
    EXPECT_EQ(listed["components"][1]["boxCount"], 1) << "component 2's box block";
    EXPECT_TRUE(listed["components"][2]["boxCount"].is_null());
}

TEST_F(InfoCommand, ReducedComponentRecordsAndShortHeaderListWhatTheyHold)
{
    testsupport::Ship ship = testsupport::sampleShip();
    ship.componentRecordSize = 100;
    ship.headerRecordSize = 16;
    const ByteVector bytes = testsupport::buildShip(ship);
    const json listed = infoJson(bytes);
    EXPECT_TRUE(listed.at("shipClass").is_null());
    EXPECT_TRUE(listed.at("shipClassText").is_null());
    const json& turret = listed.at("components").at(1);
    EXPECT_EQ(turret.at("name"), "Turret");
    EXPECT_EQ(turret.at("roleText"), "Fighter turret");
    EXPECT_EQ(turret.at("origin"), json::parse("[0, 60, 50]"));
    EXPECT_TRUE(turret.at("hitPoints").is_null());
    EXPECT_TRUE(turret.at("hasDebris").is_null());
    EXPECT_TRUE(turret.at("debrisNumber").is_null());
    EXPECT_EQ(turret.at("attachments").size(), 1u);

    const auto run = info(write("reduced.shp", bytes));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Ship class: - (no header record)\n"), std::string::npos);
    EXPECT_NE(run.out.find("  hit points: -\n  debris: -, number -\n"), std::string::npos);
}

TEST_F(InfoCommand, OddRecordSizesAreReadOnlyInsideTheRecords)
{
    const ByteVector bytes = testsupport::BlockBuilder{}
                                 .block(0, 64, 1)
                                 .block(1, 0, 3)
                                 .block(2, 4, 1)
                                 .block(9, 8, 2, {4, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 1, 0, 0, 0})
                                 .block(6, 0, 3)
                                 .block(4, 2, 1)
                                 .end()
                                 .build();
    const json listed = infoJson(bytes);
    ASSERT_EQ(listed.at("components").size(), 3u);
    const json& c = listed["components"][0];
    EXPECT_EQ(c.at("attachments"), json::parse(R"([
        {"kind": 4, "position": null, "styleIndex": null, "gunIndex": null,
         "label": "Blinking Light"},
        {"kind": 9, "position": null, "styleIndex": null, "gunIndex": null,
         "label": "Unknown: Type 9"}])"));
    EXPECT_EQ(c.at("textures"), json::parse(R"(["", "", ""])"));
    EXPECT_EQ(c.at("vertexCount"), 1);
    EXPECT_TRUE(c.at("faceCount").is_null());
    EXPECT_TRUE(c.at("boxCount").is_null());
    EXPECT_EQ(c.at("hasSection"), true);
    EXPECT_EQ(c.at("hasBlock13"), false);
    // The component table's records are empty: three components with no field at all.
    for (const json& component : listed["components"]) {
        EXPECT_EQ(component.at("name"), "");
        EXPECT_TRUE(component.at("origin").is_null());
        EXPECT_TRUE(component.at("role").is_null());
        EXPECT_TRUE(component.at("roleText").is_null());
        EXPECT_TRUE(component.at("hitPoints").is_null());
    }
    EXPECT_EQ(listed["components"][2].at("hasSection"), false);
}

TEST_F(InfoCommand, AttachmentIndexesOutsideTheNameTableGiveEmptyNames)
{
    testsupport::Ship ship;
    testsupport::Component c;
    testsupport::Attachment object{1};
    object.styleIndex = 500;
    testsupport::Attachment gun{3};
    gun.gunIndex = 40;
    c.attachments = {object, gun, testsupport::Attachment{-1}};
    ship.components = {c};
    const json listed = infoJson(testsupport::buildShip(ship));
    const json& attachments = listed.at("components").at(0).at("attachments");
    ASSERT_EQ(attachments.size(), 3u);
    EXPECT_EQ(attachments[0].at("label"), "Obj: ");
    EXPECT_EQ(attachments[0].at("styleIndex"), 500);
    EXPECT_EQ(attachments[1].at("label"), "Gun: ");
    EXPECT_EQ(attachments[2].at("label"), "Unknown: Type -1");
}

TEST_F(InfoCommand, NamesAndFloatsAreWrittenSafelyAndExactly)
{
    // Quote, backslash, control characters, a valid two-byte and four-byte character, then
    // bytes that are not UTF-8: a lone FF, an overlong slash, a surrogate, a stray continuation.
    const std::string name =
        "q\"b\\s\x01\x7f\xc3\xa9\xf0\x9f\x98\x80\xff\xc0\xaf\xed\xa0\x80\x80";
    testsupport::Ship ship;
    testsupport::Component c;
    c.name = name;
    c.origin = {std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity(),
                0.1f};
    c.textures = {"tex\ttab", "\xff", "\xc3\xbf"};
    ship.components = {c, testsupport::Component{}};
    ship.components[1].origin = {3.40282347e38f, -0.0f, 1.17549435e-38f};
    const ByteVector bytes = testsupport::buildShip(ship);

    const auto run = info(write("names.shp", bytes), true);
    ASSERT_EQ(run.exitCode, 0);
    const json listed = json::parse(run.out, nullptr, false);
    ASSERT_FALSE(listed.is_discarded()) << run.out;
    // A name that is not UTF-8 comes as its bytes in hex, so byte FF and U+00FF stay apart.
    EXPECT_EQ(listed["components"][0]["name"],
              json({{"hex", "7122625c73017fc3a9f09f9880ffc0afeda08080"}}));
    EXPECT_EQ(listed["components"][0]["textures"],
              json({"tex\ttab", json({{"hex", "ff"}}), "\xc3\xbf"}));
    EXPECT_EQ(listed["components"][1]["name"], "hull");
    const json& origin = listed["components"][0]["origin"];
    EXPECT_TRUE(origin[0].is_null());
    EXPECT_TRUE(origin[1].is_null());
    EXPECT_EQ(static_cast<float>(origin[2].get<double>()), 0.1f);
    const json& extremes = listed["components"][1]["origin"];
    EXPECT_EQ(static_cast<float>(extremes[0].get<double>()), 3.40282347e38f);
    EXPECT_TRUE(std::signbit(extremes[1].get<double>()));
    EXPECT_EQ(static_cast<float>(extremes[2].get<double>()), 1.17549435e-38f);

    const auto text = info(write("names.shp", bytes));
    EXPECT_NE(text.out.find("Component 0: \"q\\\"b\\\\s\\x01\\x7f\xc3\xa9\xf0\x9f\x98\x80"
                            "\\xff\\xc0\\xaf\\xed\\xa0\\x80\\x80\"\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("  origin: nan -inf 0.1\n"), std::string::npos) << text.out;
}

TEST_F(InfoCommand, UnreadableFilesExitWithOneAndTheLoaderMessage)
{
    const std::string wentWrong = std::string(messages::CaptionWentWrong) + ": ";
    const std::string notShp = wentWrong + std::string(messages::NotAnShp.text) + "\n";

    const std::filesystem::path missing = dir.path() / "missing.shp";
    auto run = info(missing);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, wentWrong + "Error opening " + missing.string() + "!\n");

    run = info(write("garbage.shp", ByteVector{'n', 'o', 't', ' ', 'a', ' ', 's', 'h', 'i', 'p'}));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, notShp);

    run = info(write("empty.shp", {}), true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, notShp);

    run = info(write("fakepacked.shp", ByteVector{0x10, 0xFB, 0x00, 0x01, 0x00, 0xFF, 0x13}));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, notShp);

    const auto endOnly = write("endonly.shp", testsupport::BlockBuilder{}.end().build());
    run = info(endOnly);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "korvex-shp: \"" + endOnly.string() + "\" holds no blocks\n");

    // Not files at all: the loader's own open-failure message, not an endless read or a crash.
    const std::filesystem::path notFiles[] = {dir.path(), "/dev/zero"};
    for (const std::filesystem::path& notAFile : notFiles) {
        if (!std::filesystem::exists(notAFile))
            continue;
        run = info(notAFile);
        EXPECT_EQ(run.exitCode, 1) << notAFile;
        EXPECT_EQ(run.err, wentWrong + "Error opening " + notAFile.string() + "!\n");
    }
}

TEST_F(InfoCommand, TruncatedFileListsTheBlocksBeforeTheCut)
{
    const ByteVector whole = testsupport::buildShip(testsupport::sampleShip());
    // Cut inside the component table and close the file again: the table's records run past
    // the end.
    ByteVector cut(whole.begin(), whole.begin() + 6 + 64 + 6 + 100);
    const ByteVector end = testsupport::BlockBuilder{}.end().build();
    cut.insert(cut.end(), end.begin(), end.end());
    const auto path = write("cut.shp", cut);

    // The listing says so and so does the exit status; a whole ship is not truncated.
    const auto listing = info(path, true);
    EXPECT_EQ(listing.exitCode, 3);
    const json listed = json::parse(listing.out, nullptr, false);
    ASSERT_FALSE(listed.is_discarded()) << listing.out;
    EXPECT_EQ(listed.at("truncated"), true);
    EXPECT_EQ(listed.at("blocks").size(), 1u);
    EXPECT_EQ(listed.at("components").size(), 0u);
    EXPECT_EQ(infoJson(whole).at("truncated"), false);
    const auto run = info(path);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err, std::string(messages::CaptionWentWrong) + ": " +
                           messages::formatText(messages::Truncated.text, path.string()) + "\n");
}

TEST_F(InfoCommand, NoCutOfAShipCrashesOrBreaksTheJson)
{
    const ByteVector whole = testsupport::buildShip(testsupport::sampleShip());
    const ByteVector end = testsupport::BlockBuilder{}.end().build();
    for (std::size_t length = 0; length < whole.size(); length += 97) {
        ByteVector cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        cut.insert(cut.end(), end.begin(), end.end());
        const auto run = info(write("cut.shp", cut), true);
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1 || run.exitCode == 3)
            << "cut at " << length;
        if (run.exitCode != 1) {
            EXPECT_FALSE(json::parse(run.out, nullptr, false).is_discarded()) << length;
        }
    }
}

TEST_F(InfoCommand, FailedOutputIsNotASuccess)
{
    const auto path = write("ship.shp", testsupport::buildShip(testsupport::sampleShip()));
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const auto run = runShpTool({"info", path.string()}, dir.path(), "/dev/full");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "korvex-shp: error writing the output\n");
}

} // namespace
