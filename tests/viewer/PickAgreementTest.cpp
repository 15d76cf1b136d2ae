#include "tests/viewer/AxisShip.h"
#include "tests/viewer/RenderFixture.h"
#include "viewer/FixedViews.h"
#include "viewer/Picking.h"

#include <string>

namespace viewertest {
namespace {

// Picking agrees with the picture: every pixel that shows a component's colour picks that
// component, and every background pixel picks nothing, in several views and zooms.
class PickAgreement : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        useTextures(colourTextures());

        Ship ship;
        Component red, green, blue, hidden;
        red.textures = {"red"};
        testsupport::addCuboid(red, {30, 0, 0}, {40, 30, 50});
        green.textures = {"green"};
        green.origin = {-20, 20, 10};
        testsupport::addCuboid(green, {0, 0, 0}, {30, 30, 30});
        blue.textures = {"blue"};
        // Seen from one side only: culling selector 0 hides the back, 3 the front.
        addRectangle(blue, -60, -50, 60, -10, 0, 15);
        addRectangle(blue, -60, -75, 60, -55, 0, 15);
        blue.faces[2].cull = blue.faces[3].cull = 3;
        hidden.name = "wingdest";
        hidden.textures = {"red"};
        testsupport::addCuboid(hidden, {0, 0, 60}, {80, 80, 10});
        ship.components = {red, green, blue, hidden};
        load(ship);
    }

    // -1 background, 0..2 the component of that colour, -2 anything else.
    static int colourClass(const QColor& c)
    {
        if (isGrey(c))
            return -1;
        if (sameColour(c, 255, 0, 0, 8))
            return 0;
        if (sameColour(c, 0, 255, 0, 8))
            return 1;
        if (sameColour(c, 0, 0, 255, 8))
            return 2;
        return -2;
    }

    std::string disagreements()
    {
        std::string wrong;
        int checked = 0;
        for (int y = 2; y < 386; y += 3)
            for (int x = 2; x < 386; x += 3) {
                const int shown = colourClass(at(x, y));
                // Edges are left out: which side a pixel on an edge falls to is the
                // rasteriser's business.
                if (shown == -2 || colourClass(at(x - 1, y)) != shown ||
                    colourClass(at(x + 1, y)) != shown || colourClass(at(x, y - 1)) != shown ||
                    colourClass(at(x, y + 1)) != shown)
                    continue;
                ++checked;
                const viewer::Pick pick =
                    viewer::pickAt(view, {file.get(), -1, -1}, {}, x + 0.5, 387.5 - y);
                if (pick.component != shown)
                    wrong += "(" + std::to_string(x) + ", " + std::to_string(y) + ") shows " +
                             std::to_string(shown) + ", picks " + std::to_string(pick.component) +
                             "; ";
            }
        return checked > 5000 ? wrong : "too few pixels checked";
    }
};

TEST_F(PickAgreement, EveryPixelPicksWhatItShows)
{
    viewer::Matrix4 turned;
    turned.rotateX(35);
    turned.rotateY(-50);
    struct Case
    {
        const char* name;
        std::optional<viewer::ViewChoice> view; // none: the turned orientation
        double zoom;
    };
    for (const Case& c :
         {Case{"front", viewer::ViewChoice::Front, 0.4},
          Case{"back", viewer::ViewChoice::Back, 0.5}, Case{"top", viewer::ViewChoice::Top, 0.45},
          Case{"turned", std::nullopt, 0.5}, Case{"far", std::nullopt, 1.0}}) {
        viewer::Matrix4 m = turned;
        if (c.view)
            viewer::applyFixedView(*c.view, m);
        view.setOrientation(m);
        view.zoom = c.zoom;
        ASSERT_TRUE(render()) << c.name;
        EXPECT_EQ(disagreements(), "") << c.name;
    }
}

} // namespace
} // namespace viewertest
