#include "viewer/ShipViewWidget.h"

#include "tests/viewer/RenderFixture.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

namespace viewertest {
namespace {

// The widget shows only complete frames and hands messages on once the frame is done.
class ShipViewWidgetTest : public ::testing::Test
{
protected:
    std::unique_ptr<shipfile::ShipFile> ship(bool withFaces)
    {
        Ship s;
        Component c;
        addRectangle(c, -5, -5, 5, 5);
        c.withFaceBlock = withFaces;
        s.components = {c};
        return shipfile::ShipFile::fromBytes(testsupport::buildShip(s), "w.shp", fileSink);
    }

    QColor anchorPixel()
    {
        const QImage frame = widget.grabFramebuffer();
        const double ratio = widget.devicePixelRatioF();
        return frame.pixelColor(static_cast<int>(AnchorX * ratio),
                                frame.height() - 1 - static_cast<int>(AnchorY * ratio));
    }

    viewer::ShipView view;
    viewer::TextureCache textures;
    testsupport::RecordingSink sink;
    testsupport::RecordingSink fileSink;
    viewer::ShipViewWidget widget{view, textures, sink};
};

TEST_F(ShipViewWidgetTest, ShowsCompleteFramesAndEachDrawingProblemOnce)
{
    EXPECT_EQ(widget.size(), QSize(388, 388));
    auto good = ship(true);
    auto bad = ship(false);
    shipfile::ShipFile* current = good.get();
    int selected = 0;
    widget.setSceneProvider([&] { return viewer::Scene{current, selected, -1}; });
    view.textureMap = 0;
    view.markSelected = 1;

    widget.redraw(); // no context yet: nothing happens
    EXPECT_TRUE(sink.messages.empty());

    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    // The first picture is drawn just after the context is made.
    EXPECT_TRUE(QTest::qWaitFor([&] { return isBlack(anchorPixel()); }, 5000))
        << anchorPixel().name().toStdString();

    current = bad.get();
    widget.redraw();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Empty vertices or face block!");
    EXPECT_TRUE(isBlack(anchorPixel()));

    current = good.get();
    view.markSelected = 0; // a hollow outline now
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 1u);
    EXPECT_TRUE(isGrey(anchorPixel()));

    // A problem is shown once for the same ship and selection; another selection, a changed
    // ship and a ship opened anew report it again.
    current = bad.get();
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 1u);
    selected = -1;
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 2u);
    bad->first()->record(0)[0] ^= 1;
    widget.redraw();
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 3u);
    widget.forgetShownProblems();
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 4u);
}

// At a device pixel ratio of 2 (the run under QT_SCALE_FACTOR=2) the view draws every device
// pixel: the ship and the markers keep their size in logical pixels, lines their thickness.
TEST_F(ShipViewWidgetTest, DrawsAtTheScreensFullResolution)
{
    const double ratio = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                             ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                             : 1.0;
    Ship s;
    Component c;
    addRectangle(c, -20, -20, 20, 20);
    c.attachments.push_back({0, {0, 0, 0}});
    s.components = {c};
    auto file = shipfile::ShipFile::fromBytes(testsupport::buildShip(s), "w.shp", fileSink);
    widget.setSceneProvider([&] { return viewer::Scene{file.get(), 0, 0}; });
    view.textureMap = 0;
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    EXPECT_DOUBLE_EQ(widget.devicePixelRatioF(), ratio);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !isGrey(anchorPixel()); }, 5000));

    const QImage frame = widget.grabFramebuffer();
    EXPECT_EQ(frame.size(), QSize(388, 388) * ratio);
    const int row = frame.height() - 1 - static_cast<int>(AnchorY * ratio);
    std::vector<int> black, yellow;
    for (int x = 0; x < frame.width(); ++x) {
        const QColor pixel = frame.pixelColor(x, row);
        if (isBlack(pixel))
            black.push_back(x);
        if (sameColour(pixel, 255, 255, 0))
            yellow.push_back(x);
    }
    // The square's sides, 40 units apart, and the marker, 60 view units across.
    ASSERT_FALSE(black.empty());
    ASSERT_FALSE(yellow.empty());
    EXPECT_NEAR(black.back() - black.front() + 1, 40 * PixelsPerUnit * ratio, 2 * ratio);
    EXPECT_NEAR(yellow.back() - yellow.front() + 1, 60 * 388.0 / 2000.0 * ratio, 2 * ratio);
    // Each side is one logical pixel thick, in whole device pixels.
    const auto leftSide = std::count_if(black.begin(), black.end(),
                                        [&](int x) { return x < black.front() + 4 * ratio; });
    EXPECT_EQ(leftSide, std::lround(ratio));
}

} // namespace
} // namespace viewertest
