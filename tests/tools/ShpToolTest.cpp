#include "korvex/Version.h"
#include "tests/support/ShipMaker.h"
#include "tests/tools/ToolRunner.h"

#include <gtest/gtest.h>

namespace {

using tooltests::runShpTool;

TEST(ShpToolUsage, BadCommandLinesExitWithTwoAndShowUsage)
{
    tooltests::TemporaryDirectory dir;
    const std::string ship = tooltests::writeFile(dir.path(), "ship.shp",
                                                  testsupport::buildShip(testsupport::sampleShip()))
                                 .string();
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"bogus"},
        {"info"},
        {"info", ship, ship},
        {"info", "--xml", ship},
        {"info", "--json"},
        {"unpack", ship},
        {"unpack", ship, ship, ship},
        {"unpack", "--json", ship, ship},
    };
    for (const auto& args : bad) {
        const auto run = runShpTool(args, dir.path());
        const std::string shown = args.empty() ? "(none)" : args.front();
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_NE(run.err.find("usage: korvex-shp "), std::string::npos) << shown;
    }
    EXPECT_EQ(runShpTool({"bogus"}, dir.path()).err.find("korvex-shp: unknown command \"bogus\"\n"),
              0u);
    EXPECT_EQ(runShpTool({"info"}, dir.path()).err, "usage: korvex-shp info FILE [--json]\n");
    // An unknown option is named before the usage.
    EXPECT_EQ(runShpTool({"info", "--xml", ship}, dir.path()).err,
              "korvex-shp: unknown option \"--xml\"\nusage: korvex-shp info FILE [--json]\n");
    EXPECT_EQ(runShpTool({"unpack", "--json", ship, ship}, dir.path())
                  .err.find("korvex-shp: unknown option \"--json\"\nusage: "),
              0u);

    // "--" ends the options, so a file may be named like one.
    const auto run = runShpTool({"info", "--json", "--", ship}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.front(), '{');
}

TEST(ShpToolUsage, HelpAndVersionGoToStdout)
{
    tooltests::TemporaryDirectory dir;
    for (const char* help : {"--help", "-h", "help"}) {
        const auto run = runShpTool({help}, dir.path());
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("  korvex-shp info FILE [--json]\n    exit status 3: "),
                  std::string::npos);
        EXPECT_NE(run.out.find("  korvex-shp unpack IN OUT\n"), std::string::npos);
        EXPECT_NE(run.out.find("  korvex-shp --help | --version\n"), std::string::npos);
    }
    const auto version = runShpTool({"--version"}, dir.path());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "korvex-shp " KORVEX_VERSION "\n");
}

} // namespace
