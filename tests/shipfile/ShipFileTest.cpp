#include "shipfile/ShipFile.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "tests/support/LoadedShip.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

using namespace shipfile;
using namespace testsupport;
namespace fs = std::filesystem;

namespace {

std::string notShp()
{
    return std::string(messages::NotAnShp.text);
}

} // namespace

TEST(LoadPlainFile, MatchesOnlyItsOwnImageAndEndsOnTheLastBlock)
{
    const ByteVector image = buildShip(sampleShip());
    RecordingSink sink;
    auto file = ShipFile::fromBytes(image, "ship.shp", sink);
    EXPECT_TRUE(file->matchesImage(image));
    EXPECT_FALSE(file->matchesImage(ByteVector(image.begin(), image.end() - 1)));
    ByteVector longer = image;
    longer.push_back(0);
    EXPECT_FALSE(file->matchesImage(longer));
    EXPECT_EQ(file->tail()->type, layout::type::Marker16);
    file->componentBlock()->record(0)[5] ^= 1;
    EXPECT_FALSE(file->matchesImage(image));
}

TEST(LoadPlainFile, KeepsEmptyBlocksUnknownTypesAndStopsAtFirstEndMarker)
{
    const ByteVector unknownRecords = {1, 2, 3, 4, 5, 6};
    const ByteVector image = BlockBuilder{}
                                 .block(0, 24, 1)
                                 .block(0x1234, 3, 2, unknownRecords)
                                 .block(9, 168, 0)
                                 .end()
                                 .block(5, 2, 1, {7, 7})
                                 .end()
                                 .build();
    RecordingSink sink;
    auto file = ShipFile::fromBytes(image, "x", sink);
    EXPECT_EQ(blockTypes(*file), (std::vector<std::uint32_t>{0, 0x1234, 9}));
    const ShipBlock* unknown = file->first()->next();
    EXPECT_EQ(unknown->records(), unknownRecords);
    EXPECT_EQ(unknown->next()->records().size(), 0u);
    // The file is reproduced up to and including the first end marker.
    EXPECT_EQ(file->serialise(), ByteVector(image.begin(), image.begin() + 6 + 24 + 6 + 6 + 6 + 6));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(LoadPlainFile, EndMarkerAloneGivesEmptyDocument)
{
    RecordingSink sink;
    auto file = ShipFile::fromBytes(BlockBuilder{}.end().build(), "x", sink);
    EXPECT_TRUE(file->empty());
    EXPECT_EQ(file->loadResult(), LoadResult::Complete);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(LoadPlainFile, LastComponentTableWins)
{
    RecordingSink sink;
    auto file = ShipFile::fromBytes(
        BlockBuilder{}.block(0, 24, 1).block(1, 312, 1).block(1, 312, 2).end().build(), "x", sink);
    ASSERT_NE(file->componentBlock(), nullptr);
    EXPECT_EQ(file->componentBlock()->count(), 2u);
}

TEST(LoadPlainFile, RunPastEndOfFileKeepsCompleteBlocksAndTellsTheUser)
{
    // The second block claims 100 records of 8 bytes; its run swallows the end marker.
    const ByteVector image =
        BlockBuilder{}.block(0, 24, 1).rawBlock(4, 8, 100, {1, 2, 3, 4}).end().build();
    RecordingSink sink;
    auto file = ShipFile::fromBytes(image, "broken.shp", sink);
    EXPECT_EQ(blockTypes(*file), (std::vector<std::uint32_t>{0}));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, messages::formatText(messages::Truncated.text, "broken.shp"));
    EXPECT_EQ(sink.messages[0].caption, messages::CaptionWentWrong);
    EXPECT_EQ(file->loadResult(), LoadResult::Truncated);

    // A count that swallows the end marker exactly: no marker follows the last block.
    RecordingSink exact;
    file = ShipFile::fromBytes(BlockBuilder{}.block(0, 24, 1).rawBlock(4, 6, 1, {}).end().build(),
                               "z", exact);
    EXPECT_EQ(blockTypes(*file), (std::vector<std::uint32_t>{0, 4}));
    EXPECT_EQ(file->loadResult(), LoadResult::Truncated);
    EXPECT_EQ(exact.messages.size(), 1u);
}

TEST(LoadRejects, NeitherTrailerNorMagic)
{
    for (const ByteVector& bad : {ByteVector{}, ByteVector{1, 2, 3}, ByteVector(100, 0x41)}) {
        RecordingSink sink;
        auto file = ShipFile::fromBytes(bad, "x", sink);
        EXPECT_TRUE(file->empty());
        EXPECT_EQ(file->loadResult(), LoadResult::Refused);
        ASSERT_EQ(sink.texts(), std::vector<std::string>{notShp()});
        EXPECT_EQ(sink.messages[0].caption, messages::CaptionWentWrong);
        EXPECT_EQ(sink.messages[0].icon, MessageIcon::Stop);
        EXPECT_FALSE(sink.messages[0].ownedByMainWindow);
    }
}

TEST(LoadPackedFile, UnpacksInMemoryAndSavesPlain)
{
    TempDir dir;
    const ByteVector plain = buildShip(sampleShip());
    const fs::path packedPath = dir.path() / "packed.shp";
    dir.write(packedPath, packRefPack(plain));
    RecordingSink sink;
    ShipFile file(packedPath, sink);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, messages::CompressedNotice.text);
    EXPECT_EQ(sink.messages[0].caption, messages::CaptionCompressed);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(file.serialise(), plain);

    ASSERT_TRUE(file.save(packedPath));
    EXPECT_EQ(readBytes(packedPath), plain);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);
}

TEST(LoadPackedFile, RefusesBadStreamsAndDoublePacking)
{
    const ByteVector plain = buildShip(sampleShip());
    const ByteVector twice = packRefPack(packRefPack(plain));
    const ByteVector empty = {0x10, 0xFB, 0, 0, 0, 0xFC};
    ByteVector cut = packRefPack(plain);
    cut.resize(cut.size() / 2);
    for (const ByteVector& bad : {twice, empty, cut}) {
        RecordingSink sink;
        auto file = ShipFile::fromBytes(bad, "x", sink);
        EXPECT_TRUE(file->empty());
        EXPECT_EQ(sink.texts(), (std::vector<std::string>{
                                    std::string(messages::CompressedNotice.text), notShp()}));
    }
}

TEST(LoadFromDisk, MissingFilesDirectoriesAndDevices)
{
    TempDir dir;
    RecordingSink sink;
    const fs::path missing = dir.path() / "nope.shp";
    ShipFile none(missing, sink);
    EXPECT_TRUE(none.empty());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "Error opening " + missing.string() + "! (No such file or directory)");
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Stop);

    // Directories, devices, dangling links and unreadable files say why they were refused;
    // directories and devices at once instead of failing mid-read or never ending.
    const fs::path dangling = dir.path() / "dangling.shp";
    fs::create_symlink(dir.path() / "gone.shp", dangling);
    const fs::path secret = dir.write("secret.shp", buildShip(sampleShip()));
    fs::permissions(secret, fs::perms::none);
    const std::pair<fs::path, std::string> refusals[] = {{dir.path(), "Is a directory"},
                                                         {"/dev/zero", "not a regular file"},
                                                         {dangling, "No such file or directory"},
                                                         {secret, "Permission denied"}};
    for (const auto& [odd, reason] : refusals) {
        if (odd == secret && ::geteuid() == 0)
            continue; // root reads anything
        RecordingSink refused;
        ShipFile nothing(odd, refused);
        EXPECT_TRUE(nothing.empty());
        ASSERT_EQ(refused.messages.size(), 1u);
        EXPECT_EQ(refused.messages[0].text, "Error opening " + odd.string() + "! (" + reason + ")");
    }
}

TEST(SaveFile, FailureKeepsOldFileAndNamesTheWholePath)
{
    TempDir dir;
    const ByteVector plain = buildShip(sampleShip());
    RecordingSink sink;
    auto file = ShipFile::fromBytes(plain, "x", sink);

    const fs::path nowhere = dir.path() / std::string(400, 'q') / "ship.shp";
    EXPECT_FALSE(file->save(nowhere));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "Error saving file \"" + nowhere.string() + "\" (File name too long)");
    EXPECT_EQ(sink.messages[0].caption, messages::CaptionWarning);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Stop);

    // A read-only directory: the old file stays as it was, and no temporary is left behind.
    const fs::path ro = dir.path() / "ro";
    fs::create_directory(ro);
    dir.write(ro / "ship.shp", {1, 2, 3});
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) {
        EXPECT_FALSE(file->save(ro / "ship.shp"));
        EXPECT_EQ(readBytes(ro / "ship.shp"), (ByteVector{1, 2, 3}));
        EXPECT_EQ(sink.messages.back().text,
                  "Error saving file \"" + (ro / "ship.shp").string() + "\" (Permission denied)");
    }
    fs::permissions(ro, fs::perms::owner_all);
    ASSERT_TRUE(file->save(ro / "ship.shp"));
    EXPECT_EQ(readBytes(ro / "ship.shp"), plain);
    EXPECT_EQ(std::distance(fs::directory_iterator(ro), fs::directory_iterator{}), 1);
}

TEST(SaveFile, KeepsReadOnlyFilesLinksAndHardLinks)
{
    TempDir dir;
    const ByteVector plain = buildShip(sampleShip());
    RecordingSink sink;
    auto file = ShipFile::fromBytes(plain, "x", sink);

    // Its owner protected it: not replaced, even though the folder is writable.
    const fs::path locked = dir.path() / "locked.shp";
    dir.write(locked, {1, 2, 3});
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(file->save(locked));
    EXPECT_EQ(readBytes(locked), (ByteVector{1, 2, 3}));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "Error saving file \"" + locked.string() + "\" (Permission denied)");

    // Through a link the real ship changes and the link stays a link.
    fs::create_directory(dir.path() / "game");
    const fs::path real = dir.path() / "game" / "real.shp";
    dir.write(real, {4, 5, 6});
    const fs::path link = dir.path() / "link.shp";
    fs::create_symlink(real, link);
    ASSERT_TRUE(file->save(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(real), plain);

    // Every name of a hard-linked file shows the new ship, and it is still one file.
    const fs::path second = dir.path() / "second.shp";
    fs::create_hard_link(real, second);
    auto smaller = ShipFile::fromBytes(BlockBuilder{}.block(0, 24, 1).end().build(), "y", sink);
    ASSERT_TRUE(smaller->save(second));
    EXPECT_EQ(readBytes(real), smaller->serialise());
    EXPECT_EQ(fs::hard_link_count(real), 2u);
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(SaveFile, WritesSixteenBitFieldsAndEmptyChain)
{
    RecordingSink sink;
    ShipFile file(sink);
    EXPECT_EQ(file.serialise(), (ByteVector{0xFF, 0xFF, 0, 0, 0, 0}));
    auto block = std::make_unique<ShipBlock>(0x10004, 2, 1);
    block->record(0)[0] = 9;
    block->record(0)[1] = 8;
    file.insertAfter(file.head(), std::move(block));
    EXPECT_EQ(file.serialise(), (ByteVector{4, 0, 2, 0, 1, 0, 9, 8, 0xFF, 0xFF, 0, 0, 0, 0}));
}

TEST(RecordEdits, AppendRemoveAndOrigin)
{
    ShipBlock block(9, 168, 0);
    EXPECT_FALSE(block.removeRecord(0));
    EXPECT_EQ(block.count(), 0u);
    ASSERT_TRUE(block.appendTemplateRecord(3));
    ASSERT_TRUE(block.appendTemplateRecord(4));
    EXPECT_FALSE(block.appendTemplateRecord(5));
    EXPECT_FALSE(block.appendTemplateRecord(-1));
    EXPECT_EQ(block.count(), 2u);
    EXPECT_EQ(readI32(block.record(1), 0), 4);

    block.appendRecord(block.record(0));
    EXPECT_EQ(block.count(), 3u);
    EXPECT_TRUE(
        std::equal(block.record(2).begin(), block.record(2).end(), block.record(0).begin()));
    ASSERT_TRUE(block.removeRecord(0));
    EXPECT_EQ(readI32(block.record(0), 0), 4);
    EXPECT_EQ(readI32(block.record(1), 0), 3);
    EXPECT_TRUE(block.record(2).empty());
    EXPECT_FALSE(block.removeRecord(2));

    // A record wider than the template is zero past its 168 bytes.
    ShipBlock wide(9, 200, 0);
    wide.appendTemplateRecord(0);
    EXPECT_EQ(wide.records().size(), 200u);
    EXPECT_EQ(std::count(wide.records().begin() + 168, wide.records().end(), 0), 32);

    // A block whose 16-bit count is full takes no more records.
    ShipBlock full(8, 4, ShipBlock::MaxCount);
    EXPECT_FALSE(full.appendRecord(full.record(0)));
    EXPECT_FALSE(full.appendTemplateRecord(0));
    EXPECT_EQ(full.count(), ShipBlock::MaxCount);
    EXPECT_EQ(full.records().size(), 4u * ShipBlock::MaxCount);

    ShipBlock only(4, 32, 1);
    ASSERT_TRUE(only.removeRecord(0));
    EXPECT_EQ(only.count(), 0u);
    EXPECT_TRUE(only.records().empty());

    EXPECT_FALSE(ShipBlock(1, 312, 2).componentOrigin(2));
}

TEST(ChainOperations, KeepTailAndBlockPointersOnTheChain)
{
    RecordingSink sink;
    ShipFile file(sink);
    const auto block = [](std::uint32_t type) { return std::make_unique<ShipBlock>(type, 4, 0); };

    ShipBlock* nine = file.insertAfter(file.head(), block(9));
    EXPECT_EQ(file.tail(), nine);
    ShipBlock* table = file.insertAfter(file.head(), block(1));
    EXPECT_EQ(file.componentBlock(), table);
    EXPECT_EQ(file.tail(), nine) << "inserting before the last block keeps the tail";

    // A later type-1 block is the table a load would pick; removing it falls back.
    ShipBlock* second = file.insertAfter(*nine, block(1));
    EXPECT_EQ(file.componentBlock(), second);
    EXPECT_EQ(file.tail(), second);
    EXPECT_TRUE(file.removeAfter(*nine));
    EXPECT_EQ(file.componentBlock(), table);
    EXPECT_EQ(file.tail(), nine);
    EXPECT_FALSE(file.removeAfter(*nine));

    EXPECT_TRUE(file.removeAfter(*table));
    EXPECT_EQ(file.tail(), table);

    // Blocks taken out and appended elsewhere leave both documents pointing into their own.
    ShipFile other(sink);
    ShipBlock* otherTable = other.insertAfter(other.head(), block(0));
    other.insertAfter(*other.insertAfter(*otherTable, block(1)), block(3));
    file.append(other.takeAfter(*otherTable));
    EXPECT_EQ(other.tail(), otherTable);
    EXPECT_EQ(other.componentBlock(), nullptr);
    EXPECT_EQ(file.tail()->type, 3u);
    EXPECT_EQ(file.componentBlock(), table->next());

    // A chain of a million blocks is destroyed without deep recursion.
    for (int i = 0; i < 1000000; ++i)
        file.insertAfter(*file.tail(), block(5));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ChainOperations, RestoreLoadsAnImageAsNewWithoutMessages)
{
    RecordingSink sink;
    auto file = ShipFile::fromBytes(buildShip(sampleShip()), "x", sink);
    const ByteVector image = file->serialise();
    file->takeAfter(file->head());
    file->insertAfter(file->head(), std::make_unique<ShipBlock>(4, 2, 1));

    ASSERT_TRUE(file->restore(image));
    EXPECT_EQ(file->serialise(), image);
    EXPECT_EQ(file->componentBlock(), nthBlockOfType(*file, 1, 0));
    EXPECT_EQ(file->tail()->next(), nullptr);

    // A cut image keeps the whole blocks before the cut and says so by its result only.
    EXPECT_FALSE(file->restore(Bytes(image).first(image.size() - 10)));
    EXPECT_FALSE(file->empty());
    EXPECT_TRUE(sink.messages.empty());
}
