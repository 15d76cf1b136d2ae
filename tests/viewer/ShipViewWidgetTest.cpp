#include "viewer/ShipViewWidget.h"

#include "tests/viewer/RenderFixture.h"

#include <QTest>

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

TEST_F(ShipViewWidgetTest, ShowsCompleteFramesAndKeepsThePictureOfAnAbandonedOne)
{
    EXPECT_EQ(widget.size(), QSize(388, 388));
    auto good = ship(true);
    auto bad = ship(false);
    shipfile::ShipFile* current = good.get();
    widget.setSceneProvider([&] { return viewer::Scene{current, 0, -1}; });
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
}

TEST_F(ShipViewWidgetTest, ShowsADrawingProblemOnceForTheSameShipAndSelection)
{
    auto bad = ship(false);
    int selected = 0;
    widget.setSceneProvider([&] { return viewer::Scene{bad.get(), selected, -1}; });
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QTest::qWait(50); // the first picture, drawn once the context exists
    sink.messages.clear();
    widget.forgetShownProblems();

    widget.redraw();
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 1u);

    // Another selection, a changed ship and a ship opened anew report again.
    selected = -1;
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 2u);
    bad->first()->records[0] ^= 1;
    widget.redraw();
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 3u);
    widget.forgetShownProblems();
    widget.redraw();
    EXPECT_EQ(sink.messages.size(), 4u);
}

} // namespace
} // namespace viewertest
