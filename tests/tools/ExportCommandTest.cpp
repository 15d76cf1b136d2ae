#include "shipfile/Messages.h"
#include "tests/support/ShipMaker.h"
#include "tests/tools/ToolRunner.h"
#include "tools/Messages.h"

#include <gtest/gtest.h>

namespace {

namespace messages = shipfile::messages;
using tooltests::runShpTool;

TEST(ExportCommand, SaysWhatItWroteAndRefusesBadCommandLines)
{
    tooltests::TemporaryDirectory dir;
    const std::string ship = tooltests::writeFile(dir.path(), "sample.shp",
                                                  testsupport::buildShip(testsupport::sampleShip()))
                                 .string();
    const std::string out = (dir.path() / "sample.obj").string();
    auto run = runShpTool({"export", ship, "-o", out, "--boxes"}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.substr(0, out.size() + 9), "wrote \"" + out + "\":");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "sample.mtl"));

    const std::string usage =
        std::string(tools::messages::UsagePrefix) + std::string(tools::messages::UsageExport) + "\n";
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"export", ship}, 2, usage},
        {{"export", ship, "-o"}, 2, usage},
        {{"export", ship, "-o", out, "--wireframe"}, 2, usage},
        {{"export", ship, "-o", "ship.png"},
         2,
         "korvex-shp: " + messages::formatText(tools::messages::BadExportFormat, "ship.png") + "\n"},
        {{"export", (dir.path() / "missing.shp").string(), "-o", out}, 1, ""},
    };
    for (const Case& c : cases) {
        run = runShpTool(c.args, dir.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.back();
        if (!c.err.empty()) {
            EXPECT_EQ(run.err, c.err);
        }
    }
}

} // namespace
