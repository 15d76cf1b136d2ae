#include "shipfile/Messages.h"
#include "tests/support/ShipMaker.h"
#include "tests/tools/ToolRunner.h"

#include <gtest/gtest.h>

namespace {

namespace messages = shipfile::messages;
using testsupport::ByteVector;
using tooltests::readBytes;
using tooltests::runShpTool;
using tooltests::writeFile;

class UnpackCommand : public ::testing::Test
{
protected:
    tooltests::ToolRun unpack(const std::filesystem::path& in, const std::filesystem::path& out)
    {
        return runShpTool({"unpack", in.string(), out.string()}, dir.path());
    }

    tooltests::TemporaryDirectory dir;
    const ByteVector plain = testsupport::buildShip(testsupport::sampleShip());
};

TEST_F(UnpackCommand, WritesPlainAndPackedShipsAsTheirPlainBytes)
{
    const auto out = dir.path() / "out.shp";
    auto run = unpack(writeFile(dir.path(), "plain.shp", plain), out);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readBytes(out), plain);

    for (const ByteVector& packed : {testsupport::packRefPack(plain),
                                     testsupport::packLiteralOnly(plain)}) {
        std::filesystem::remove(out);
        run = unpack(writeFile(dir.path(), "packed.shp", packed), out);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, ""); // no notice that it unpacks: that is what was asked
        EXPECT_EQ(readBytes(out), plain);
    }

    // In place: the packed file becomes its plain form.
    const auto packedPath = writeFile(dir.path(), "inplace.shp", testsupport::packRefPack(plain));
    EXPECT_EQ(unpack(packedPath, packedPath).exitCode, 0);
    EXPECT_EQ(readBytes(packedPath), plain);
}

TEST_F(UnpackCommand, UnreadableInputWritesNothing)
{
    const auto out = dir.path() / "out.shp";
    const auto missing = dir.path() / "missing.shp";
    auto run = unpack(missing, out);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, std::string(messages::CaptionWentWrong) + ": Error opening " +
                           missing.string() + "!\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    run = unpack(writeFile(dir.path(), "garbage.shp", ByteVector(300, 0xAB)), out);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out));

    // A file cut inside a block loads partly; writing that part would lose the rest silently.
    ByteVector cut(plain.begin(), plain.begin() + 400);
    const ByteVector end = testsupport::BlockBuilder{}.end().build();
    cut.insert(cut.end(), end.begin(), end.end());
    const auto cutPath = writeFile(dir.path(), "cut.shp", cut);
    run = unpack(cutPath, out);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, std::string(messages::CaptionWentWrong) + ": " +
                           messages::formatText(messages::Truncated.text, cutPath.string()) +
                           "\nkorvex-shp: \"" + out.string() +
                           "\" was not written, because the input file could not be read "
                           "completely\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(UnpackCommand, UnwritableOutputExitsWithOne)
{
    const auto in = writeFile(dir.path(), "plain.shp", plain);
    const auto out = dir.path() / "no-such-dir" / "out.shp";
    const auto run = unpack(in, out);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, std::string(messages::CaptionWarning) + ": Error saving file \"" +
                           out.string() + "\"\n");
}

} // namespace
