#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRunner.h"
#include "tests/viewer/AxisShip.h"
#include "tests/viewer/Pixels.h"

#include <QImage>
#include <QString>

#include <cstdlib>
#include <gtest/gtest.h>

// korvex-shp render, run as a separate process.
namespace viewertest {
namespace {

using tooltests::runShpTool;
using tooltests::ToolRun;

class RenderCommand : public ::testing::Test
{
protected:
    std::string pathOf(const std::string& name) const { return (dir.path() / name).string(); }

    void writeShip(const testsupport::Ship& ship, const std::string& name = "ship.shp")
    {
        dir.write(name, testsupport::buildShip(ship));
    }

    ToolRun render(std::vector<std::string> options)
    {
        std::vector<std::string> args = {"render", pathOf("ship.shp"), "-o", pathOf("out.png")};
        args.insert(args.end(), options.begin(), options.end());
        return runShpTool(args, dir.path());
    }

    QImage picture() const { return QImage(QString::fromStdString(pathOf("out.png"))); }

    testsupport::TempDir dir;
};

TEST_F(RenderCommand, OptionsSetTheViewsFlagsAndSelection)
{
    testsupport::Ship ship;
    testsupport::Component hull;
    hull.name = "Hull";
    testsupport::addCuboid(hull, {0, 0, 0}, {4, 4, 4});
    hull.attachments.push_back({0, {0, -10, 0}});
    hull.boxes.push_back({{0, 0, 0}, {20, 20, 20}});
    testsupport::Component dest;
    dest.name = "wingdest";
    testsupport::addCuboid(dest, {0, 30, 0}, {4, 4, 4});
    ship.components = {hull, dest};
    writeShip(ship);

    // Selected by name, marked: the cube is filled black; the box is drawn; the attachment
    // marker sits 10 units down at zoom 1 and 5 at zoom 2, at one size.
    ToolRun run = render({"--select", "hull", "--mark", "--attachment", "0", "--zoom", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QImage image = picture();
    EXPECT_TRUE(isBlack(pixel(image, 194, 155)));
    EXPECT_TRUE(isYellow(pixel(image, 194, 155 - 10)));
    EXPECT_TRUE(isWhite(pixel(image, 194 - 19, 155)) || isWhite(pixel(image, 194 - 20, 155)));
    const auto blackAround = [&](int cx, int cy) {
        int n = 0;
        for (int y = cy - 6; y <= cy + 6; ++y)
            for (int x = cx - 6; x <= cx + 6; ++x)
                n += isBlack(pixel(image, x, y));
        return n;
    };
    // The dest component, 30 units up, is left out.
    EXPECT_EQ(blackAround(194, 155 + 29), 0);

    run = render({"--select", "0", "--no-boxes", "--keep-dest", "--wireframe"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    image = picture();
    int whiteCount = 0, yellowCount = 0;
    for (int y = 0; y < 388; ++y)
        for (int x = 0; x < 388; ++x) {
            whiteCount += isWhite(pixel(image, x, y));
            yellowCount += isYellow(pixel(image, x, y));
        }
    EXPECT_EQ(whiteCount, 0);
    EXPECT_EQ(yellowCount, 0); // no attachment chosen
    // Wireframe, the dest component now drawn.
    EXPECT_GT(blackAround(194, 155 + 58), 0);
}

TEST_F(RenderCommand, SizeFitAndSheetShowTheShipAsTheEditorWould)
{
    writeShip(axisShip());
    ASSERT_TRUE(colourTextures().write(dir.path() / "tcachehw.dat"));
    const std::string textures = pathOf("tcachehw.dat");

    // A larger picture at the same scale, the anchor in the middle of the extra room.
    ToolRun run = render({"--view", "Front", "--size", "600", "--textures", textures});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QImage image = picture();
    ASSERT_EQ(image.size(), QSize(600, 600));
    // From the front +z comes toward the viewer at the anchor, +x lies 50 units to its left.
    EXPECT_TRUE(isBlue(pixel(image, 194 + 106, 155 + 106)));
    EXPECT_TRUE(isRed(pixel(image, 194 + 106 - 97, 155 + 106)));

    // Fitted from far away: the ship fills most of the picture and stays inside it.
    run = render({"--view", "Top", "--zoom", "500", "--fit", "--textures", textures});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    image = picture();
    const QColor grey = pixel(image, 0, 0);
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pixel(image, x, y) != grey)
                bounds |= QRect(x, y, 1, 1);
    EXPECT_TRUE(QRect(5, 5, 378, 378).contains(bounds)) << bounds.width();
    EXPECT_GT(std::max(bounds.width(), bounds.height()), 388 * 0.8);

    // The sheet: seven pictures four to a row, each the one render draws, named underneath.
    run = render({"--sheet", "--size", "100", "--textures", textures});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage sheet = picture();
    ASSERT_EQ(sheet.width(), 400);
    const int labelHeight = sheet.height() / 2 - 100;
    ASSERT_GT(labelHeight, 8);
    const struct
    {
        const char* view;
        QPoint corner;
    } panels[] = {{"Left", {100, 0}}, {"FreeView", {200, 100 + labelHeight}}};
    for (const auto& panel : panels) {
        run = render({"--view", panel.view, "--size", "100", "--textures", textures});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(
            sheet.copy(QRect(panel.corner, QSize(100, 100))).convertToFormat(QImage::Format_RGB32),
            picture().convertToFormat(QImage::Format_RGB32))
            << panel.view;
        int ink = 0;
        for (int y = 0; y < labelHeight; ++y)
            for (int x = 0; x < 100; ++x)
                ink += sheet.pixelColor(panel.corner + QPoint(x, 100 + y)).lightness() < 100;
        EXPECT_GT(ink, 10) << panel.view;
    }
}

TEST_F(RenderCommand, TimeShowsAnimatedComponentsAtThatMoment)
{
    // A square that moves 50 units along x in its first second, and back in the next.
    testsupport::Ship ship;
    testsupport::Component c;
    testsupport::addCuboid(c, {0, 0, 0}, {10, 10, 10});
    c.animation = testsupport::Animation{2000, 3, "", {{0, {}, {}}, {1000, {}, {50, 0, 0}}}};
    ship.components = {c};
    writeShip(ship);
    const auto blackAt = [&](int shipX) {
        return isBlack(pixel(picture(), static_cast<int>(194 - shipX * 1.94), 155));
    };
    for (const auto& [time, shipX] : {std::pair{"0", 0}, {"1000", 50}, {"3000", 50}, {"4000", 0}}) {
        const ToolRun run = render({"--select", "0", "--mark", "--time", time});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(blackAt(shipX)) << time;
        EXPECT_FALSE(blackAt(50 - shipX)) << time;
    }
}

TEST_F(RenderCommand, BadCommandLinesAreRefusedWithTheUsage)
{
    writeShip(axisShip());
    const std::string ship = pathOf("ship.shp"), out = pathOf("out.png");
    const std::string usage = "usage: korvex-shp render FILE -o OUT.png";
    const struct
    {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    } cases[] = {
        {{"render", ship}, 2, usage},
        {{"render", "-o", out}, 2, usage},
        {{"render", ship, "-o"}, 2, usage},
        {{"render", ship, ship, "-o", out}, 2, usage},
        {{"render", ship, "-o", out, "--spin"},
         2,
         "korvex-shp: unknown option \"--spin\"\n" + usage},
        {{"render", ship, "-o", out, "--view", "Sideways"}, 2, "unknown view \"Sideways\""},
        {{"render", ship, "-o", out, "--zoom", "0"},
         2,
         "the zoom must be a whole number from 1 to 500"},
        {{"render", ship, "-o", out, "--zoom", "501"}, 2, "the zoom must be"},
        {{"render", ship, "-o", out, "--zoom", "2x"}, 2, "the zoom must be"},
        {{"render", ship, "-o", out, "--size", "15"},
         2,
         "the size must be a whole number of pixels from 16 to 4096"},
        {{"render", ship, "-o", out, "--size", "4097"}, 2, "the size must be"},
        {{"render", ship, "-o", out, "--time", "-1"}, 2, "the time must be a whole number"},
        {{"render", ship, "-o", out, "--attachment", "-1"}, 2, ""},
        // An attachment belongs to a component; one the component lacks is no choice either.
        {{"render", ship, "-o", out, "--attachment", "0"}, 2, "--attachment needs --select"},
        {{"render", ship, "-o", out, "--select", "0", "--attachment", "99"},
         1,
         "korvex-shp: the component has no attachment \"99\"\n"},
        {{"render", ship, "-o", out, "--select", "turret"},
         1,
         "korvex-shp: the ship has no component \"turret\"\n"},
        {{"render", ship, "-o", out, "--select", "1"}, 1, "the ship has no component"},
        // A picture is written in the format its name ends in, or not at all.
        {{"render", ship, "-o", pathOf("out.xyz")}, 2, "cannot write a picture named"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runShpTool(c.args, dir.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.back();
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.xyz"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.png"));
    const ToolRun jpeg =
        runShpTool({"render", ship, "-o", pathOf("out.jpg"), "--wireframe"}, dir.path());
    ASSERT_EQ(jpeg.exitCode, 0) << jpeg.err;
    EXPECT_EQ(testsupport::readBytes(dir / "out.jpg").at(0), 0xFF);
}

TEST_F(RenderCommand, ProblemsWithTheShipWriteNoPictureAndNoDisplayIsNeeded)
{
    // A frame the view abandons is not written.
    testsupport::Ship broken = axisShip();
    broken.components[0].withFaceBlock = false;
    writeShip(broken);
    ToolRun run = render({});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("ERROR: Empty vertices or face block!\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.png"));

    // Without an X or Wayland display (CI, SSH) the very same picture comes out.
    writeShip(axisShip());
    ASSERT_EQ(render({"--sheet", "--size", "64"}).exitCode, 0);
    const std::vector<std::uint8_t> withDisplay = testsupport::readBytes(dir / "out.png");
    std::filesystem::remove(dir / "out.png");
    std::vector<std::pair<const char*, std::string>> saved;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (const char* value = std::getenv(name))
            saved.emplace_back(name, value);
        unsetenv(name);
    }
    run = render({"--sheet", "--size", "64"});
    for (const auto& [name, value] : saved)
        setenv(name, value.c_str(), 1);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(testsupport::readBytes(dir / "out.png"), withDisplay);
}

TEST_F(RenderCommand, TexturesComeFromTheGameInstallationAsTheEditorFindsIt)
{
    writeShip(axisShip());
    const char* before = std::getenv("WINEPREFIX");
    const std::string saved = before ? before : "";
    const auto restore = [&] {
        if (before)
            setenv("WINEPREFIX", saved.c_str(), 1);
        else
            unsetenv("WINEPREFIX");
    };

    // The game's registry entry names its directory; its texture cache is the one used.
    const auto prefix = dir.path() / "prefix";
    std::filesystem::create_directories(prefix / "drive_c" / "Game");
    ASSERT_TRUE(testsupport::writeSystemReg(prefix, {true, "C:\\Game"}));
    setenv("WINEPREFIX", prefix.c_str(), 1);
    ToolRun run = render({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("korvex-shp: textures from \"" +
                           (prefix / "drive_c" / "Game" / "tcachehw.dat").string() + "\"\n"),
              std::string::npos)
        << run.err;
    // Wireframe asks for none.
    run = render({"--wireframe"});
    EXPECT_EQ(run.err.find("korvex"), std::string::npos) << run.err;
    // A prefix without the game: the advice names what the command line has, not a menu.
    setenv("WINEPREFIX", dir.path().c_str(), 1);
    run = render({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("Error opening registry key! Textures will be unavailable!\n\n"
                           "To use the game's textures, set WINEPREFIX to the game's Wine "
                           "prefix, or give --textures with the path of tcachehw.dat.\n"),
              std::string::npos)
        << run.err;
    restore();

    // A texture cache that cannot be read: said why, and drawn without textures.
    std::filesystem::remove(dir / "out.png");
    run = render({"--textures", pathOf("absent.dat")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("Something went wrong...: Error opening the TCACHE file! Textures "
                           "will be unavailable!\n"),
              std::string::npos);
    EXPECT_FALSE(picture().isNull());
}

} // namespace
} // namespace viewertest
