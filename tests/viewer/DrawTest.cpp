#include "editing/Scaling.h"
#include "exporter/ExportScene.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "tests/support/LoadedShip.h"
#include "tests/viewer/AxisShip.h"
#include "tests/viewer/RenderFixture.h"
#include "viewer/Picking.h"

#include <GL/gl.h>
#include <cmath>
#include <functional>

namespace viewertest {
namespace {

using testsupport::Attachment;
using testsupport::Box;

// Nearest pixel to a ship point at zoom 1, centre at the origin, front orientation.
int pixelX(double shipX)
{
    return static_cast<int>(std::floor(AnchorX - shipX * PixelsPerUnit));
}
int pixelY(double shipY)
{
    return static_cast<int>(std::floor(155.2 + shipY * PixelsPerUnit));
}

class Draw : public RenderFixture
{
protected:
    // Filled black triangles for the selected component: the plainest picture to measure.
    void solidBlack()
    {
        view.textureMap = 0;
        view.markSelected = 1;
    }

    void useColourTextures()
    {
        useTextures(colourTextures());
        view.highQualityTextures = 0;
    }

    // Whether some pixel within `radius` of (x, y) matches.
    template <typename Match> bool anyNear(int x, int y, int radius, Match match) const
    {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (match(at(x + dx, y + dy)))
                    return true;
        return false;
    }
};

TEST_F(Draw, CentreLandsOnTheAnchorAndOneUnitCoversTenViewUnitsOverTheZoomMirrored)
{
    // Seen from ten times farther: a square of 20 view units around the centre (100, 0, 0), and
    // a bar of 200 ship units along +x above it, 38.8 pixels long.
    Ship ship;
    Component c;
    addRectangle(c, 90, -10, 110, 10);
    addRectangle(c, 100, 200, 300, 220);
    ship.components = {c};
    load(ship);
    solidBlack();
    view.centerOnObject = 0;
    view.center = {100, 0, 0};
    view.zoom = 10;
    ASSERT_TRUE(render(0));

    EXPECT_TRUE(isBlack(at(AnchorX, AnchorY)));
    EXPECT_TRUE(isGrey(at(AnchorX - 4, AnchorY)));
    EXPECT_TRUE(isGrey(at(AnchorX + 4, AnchorY)));
    EXPECT_TRUE(isGrey(at(AnchorX, AnchorY - 4)));
    EXPECT_TRUE(isGrey(at(AnchorX, AnchorY + 4)));
    const auto bar = runInRow(pixelY(21), isBlack); // 210 ship units up at zoom 10
    ASSERT_TRUE(bar);
    EXPECT_NEAR(bar->first, 155, 1);
    EXPECT_NEAR(bar->second, 193, 1);
}

TEST_F(Draw, CentringOnTheSelectedComponentMovesItsOriginToTheAnchor)
{
    Ship ship;
    Component hull;
    addRectangle(hull, -1, -1, 1, 1);
    Component turret;
    turret.name = "turret";
    turret.origin = {30, 0, 0};
    addRectangle(turret, -1, -1, 1, 1);
    ship.components = {hull, turret};
    load(ship);
    solidBlack();

    ASSERT_TRUE(render(1));
    EXPECT_EQ(view.center, (Vec3{30, 0, 0}));
    EXPECT_TRUE(isBlack(at(AnchorX, AnchorY)));

    // Unticked, the check box puts the centre back at the ship's origin.
    view.centerOnObject = 0;
    view.center = {};
    ASSERT_TRUE(render(1));
    EXPECT_TRUE(isBlack(at(pixelX(30), AnchorY)));
    EXPECT_TRUE(isGrey(at(AnchorX, AnchorY))); // the hull's outline only, hollow
}

TEST_F(Draw, FaceRecordsTooShortForACullingSelectorShowBothSides)
{
    // Triangle a is counter-clockwise seen from +z, b is its mirror image (clockwise). The
    // camera's mirror turns a clockwise on screen, so selector 3 would show a and hide b.
    Ship ship;
    Component c;
    c.vertices = {{20, 0, 0}, {40, 0, 0}, {20, 20, 0}, {-20, 0, 0}, {-40, 0, 0}, {-20, 20, 0}};
    Face a;
    a.a = 0, a.b = 1, a.c = 2, a.cull = 3;
    Face b;
    b.a = 3, b.b = 4, b.c = 5, b.cull = 3;
    c.faces = {a, b};
    ship.components = {c};
    load(ship);
    withRecordSize(*file, shipfile::nthBlockOfType(*file, shipfile::layout::type::Faces, 0), 76);
    solidBlack();
    ASSERT_TRUE(render(0));
    EXPECT_TRUE(isBlack(at(pixelX(25), pixelY(5))));
    EXPECT_TRUE(isBlack(at(pixelX(-25), pixelY(5))));
}

TEST_F(Draw, MarkSelectedTintsTexturedAndFillsWireframeTrianglesOfTheSelectedOnly)
{
    Ship ship;
    Component left;
    left.textures = {"white"};
    addRectangle(left, 10, 0, 30, 20);
    Component right = left;
    right.name = "right";
    right.vertices.clear();
    right.faces.clear();
    addRectangle(right, -30, 0, -10, 20);
    ship.components = {left, right};
    load(ship);
    useColourTextures();
    view.centerOnObject = 0;
    const int y = pixelY(10), lx = pixelX(20), rx = pixelX(-20);

    view.markSelected = 1;
    ASSERT_TRUE(render(0));
    EXPECT_TRUE(sameColour(at(lx, y), 255, 77, 77)) << at(lx, y).name().toStdString();
    EXPECT_TRUE(isWhite(at(rx, y)));

    view.markSelected = 0;
    ASSERT_TRUE(render(0));
    EXPECT_TRUE(isWhite(at(lx, y)));

    view.textureMap = 0;
    view.markSelected = 1;
    ASSERT_TRUE(render(0));
    EXPECT_TRUE(isBlack(at(lx, y)));
    EXPECT_TRUE(isGrey(at(pixelX(-15), pixelY(5)))); // hollow black outline
    const auto outline = runInRow(y, isBlack);
    ASSERT_TRUE(outline);
    EXPECT_NEAR(outline->second, pixelX(-30), 1);
}

TEST_F(Draw, DestComponentsAreLeftOutButKeepTheirMarkersAndBoxes)
{
    Ship ship;
    Component dest;
    dest.name = "engineDEST";
    dest.textures = {"white"};
    addRectangle(dest, 10, 0, 20, 10);
    dest.attachments.push_back(Attachment{0, {0, -15, 0}});
    dest.boxes.push_back(Box{{0, -30, 0}, {5, 5, 5}});
    Component other; // which names are "dest" ones is the catalogue's to say
    other.name = "destroyer";
    other.textures = {"white"};
    addRectangle(other, -20, 0, -10, 10);
    ship.components = {dest, other};
    load(ship);
    useColourTextures();
    view.centerOnObject = 0;

    ASSERT_TRUE(render(0, 0));
    EXPECT_TRUE(isGrey(at(pixelX(15), pixelY(5))));
    EXPECT_TRUE(isWhite(at(pixelX(-15), pixelY(5))));
    EXPECT_TRUE(isYellow(at(AnchorX, pixelY(-15))));
    EXPECT_TRUE(anyNear(pixelX(5), pixelY(-30), 1, isWhite));

    view.ignoreDest = 0;
    ASSERT_TRUE(render(0, 0));
    EXPECT_TRUE(isWhite(at(pixelX(15), pixelY(5))));
}

TEST_F(Draw, AttachmentMarkersKeepTheirSizeAtEveryZoomAndShowTheirKind)
{
    Ship ship;
    Component c;
    c.attachments = {Attachment{0, {0, 0, 0}},   Attachment{1, {-20, 0, 0}},
                     Attachment{2, {-40, 0, 0}}, Attachment{3, {20, 0, 0}},
                     Attachment{4, {40, 0, 0}},  Attachment{7, {0, 20, 0}}};
    addRectangle(c, -60, -80, 60, -70); // a ship part to compare sizes with
    ship.components = {c};
    load(ship);
    solidBlack();

    ASSERT_TRUE(render(0, -1));
    EXPECT_EQ(countInPicture(isYellow), 0);

    ASSERT_TRUE(render(0, 0));
    const auto filled = runInRow(AnchorY, isYellow);
    ASSERT_TRUE(filled);
    const int width = filled->second - filled->first + 1;
    EXPECT_NEAR(width, 12, 1); // 60 view units
    // The others are outlines in their kind's colour: hollow inside, edges 30 view units out.
    const struct
    {
        double x, y;
        std::function<bool(const QColor&)> colour;
    } outlines[] = {
        {-20, 0, isBlue}, {-40, 0, isRed}, {20, 0, isBlue}, {40, 0, isMagenta}, {0, 20, isRed}};
    for (const auto& o : outlines) {
        const double centreX = AnchorX - o.x * PixelsPerUnit;
        EXPECT_TRUE(isGrey(at(pixelX(o.x), pixelY(o.y)))) << o.x << "," << o.y;
        EXPECT_TRUE(anyNear(static_cast<int>(centreX + 5.82), pixelY(o.y), 1, o.colour))
            << o.x << "," << o.y;
    }
    const auto part = runInRow(pixelY(-75), isBlack);
    ASSERT_TRUE(part);
    EXPECT_NEAR(part->second - part->first + 1, 233, 2);

    // Ten times farther, alone (the other markers would crowd it), the cube keeps its size
    // while the ship part shrinks tenfold.
    c.attachments.resize(1);
    ship.components = {c};
    load(ship);
    view.zoom = 10;
    ASSERT_TRUE(render(0, 0));
    const auto zoomed = runInRow(AnchorY, isYellow);
    ASSERT_TRUE(zoomed);
    EXPECT_NEAR(zoomed->second - zoomed->first + 1, width, 1);
    const auto shrunk = runInRow(static_cast<int>(155.2 - 7.5 * PixelsPerUnit), isBlack);
    ASSERT_TRUE(shrunk);
    EXPECT_NEAR(shrunk->second - shrunk->first + 1, 23, 2);
}

TEST_F(Draw, BoxesScaleWithTheShipAndFollowTheirRecordsRows)
{
    Ship ship;
    Component c;
    c.boxes.push_back(Box{{0, 0, 0}, {10, 10, 10}});
    ship.components = {c};
    load(ship);
    solidBlack();

    ASSERT_TRUE(render(0));
    EXPECT_TRUE(anyNear(pixelX(10), AnchorY, 1, isWhite));
    EXPECT_TRUE(anyNear(pixelX(-10), AnchorY, 1, isWhite));
    EXPECT_TRUE(isGrey(at(AnchorX, AnchorY)));

    view.zoom = 2;
    ASSERT_TRUE(render(0));
    EXPECT_TRUE(anyNear(pixelX(5), AnchorY, 1, isWhite));
    EXPECT_TRUE(anyNear(pixelX(-5), AnchorY, 1, isWhite));
    EXPECT_FALSE(anyNear(pixelX(10), AnchorY, 1, isWhite));

    view.showBoxes = 0;
    ASSERT_TRUE(render(0));
    EXPECT_EQ(countInPicture(isWhite), 0);

    // Turned 30 degrees about z by its rows: the far end of the long axis lies up, not down.
    const float s = 0.5f, co = std::sqrt(3.0f) / 2;
    Box turned{{0, 0, 0}, {20, 2, 2}};
    const float rows[9] = {co, -s, 0, s, co, 0, 0, 0, 1};
    std::copy(std::begin(rows), std::end(rows), turned.matrix);
    c.boxes = {turned};
    ship.components = {c};
    load(ship);
    view.zoom = 1;
    view.showBoxes = 1;
    ASSERT_TRUE(render(0));
    EXPECT_TRUE(anyNear(pixelX(20 * co), pixelY(20 * s), 3, isWhite));
    EXPECT_FALSE(anyNear(pixelX(20 * co), pixelY(-20 * s), 3, isWhite));
}

TEST_F(Draw, MissingFaceBlockAbandonsTheFrameWithOneMessagePerDraw)
{
    Ship good;
    Component c;
    addRectangle(c, -1, -1, 1, 1);
    good.components = {c};
    load(good);
    solidBlack();
    ASSERT_TRUE(render(0));
    const QImage before = renderer.image();

    Ship bad = good;
    Component broken;
    broken.name = "broken";
    broken.withFaceBlock = false;
    broken.origin = {-50, 0, 0};
    bad.components.push_back(broken);
    load(bad);
    view.markSelected = 0;
    for (std::size_t draws = 1; draws <= 2; ++draws) {
        EXPECT_FALSE(render(0));
        ASSERT_EQ(sink.messages.size(), draws);
        EXPECT_EQ(sink.messages.back().text, "Empty vertices or face block!");
        EXPECT_EQ(sink.messages.back().caption, "ERROR");
    }
    EXPECT_EQ(renderer.image(), before);
    EXPECT_TRUE(fileSink.messages.empty());
}

TEST_F(Draw, LeavesTheGlStateAsItFoundItEvenWhenAbandoned)
{
    Ship ship;
    Component c;
    c.textures = {"white"};
    addRectangle(c, -1, -1, 1, 1);
    Face culled;
    culled.cull = 3;
    c.faces.push_back(culled);
    ship.components = {c, Component{}};
    ship.components[1].withVertexBlock = false;
    useColourTextures();

    for (const bool abandoned : {false, true}) {
        Ship s = ship;
        if (!abandoned)
            s.components.pop_back();
        load(s);
        ASSERT_TRUE(renderer.makeCurrent());
        view.initialiseGl();
        double projectionBefore[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projectionBefore);
        EXPECT_EQ(view.draw({file.get(), 0, 0}, textures, sink), !abandoned);
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        double projectionAfter[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projectionAfter);
        EXPECT_EQ(depth, 1);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(std::equal(std::begin(projectionBefore), std::end(projectionBefore),
                               std::begin(projectionAfter)));
        renderer.doneCurrent();
    }
}

TEST_F(Draw, NoFileDrawsNothingAndNoComponentsGiveAnEmptyGreyFrame)
{
    EXPECT_FALSE(render());
    EXPECT_TRUE(renderer.image().isNull());
    EXPECT_TRUE(sink.messages.empty());

    Ship empty;
    load(empty);
    ASSERT_TRUE(render());
    EXPECT_EQ(countInPicture(isGrey), 388 * 388);
}

TEST_F(Draw, MissingAttachmentBlockIsReportedAndTheDrawGoesOn)
{
    Ship ship;
    Component hull;
    addRectangle(hull, -1, -1, 1, 1);
    Component turret = hull;
    turret.name = "turret";
    turret.withAttachmentBlock = false;
    ship.components = {hull, turret};
    load(ship);
    solidBlack();
    ASSERT_TRUE(render(0));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, shipfile::messages::MissingAttachmentBlock.text);
    EXPECT_EQ(sink.messages[0].caption, "Uh oh...");
    EXPECT_TRUE(isBlack(at(AnchorX, AnchorY)));
}

TEST_F(Draw, FacesWithIndexesPastTheirBlocksAreSkippedOrDrawnUntextured)
{
    Ship ship;
    Component c;
    c.textures = {"red"};
    addRectangle(c, 10, 0, 30, 20, 0);   // red
    addRectangle(c, -30, 0, -10, 20, 5); // no texture record 5: untextured white
    Face wild;
    wild.a = 0, wild.b = 1, wild.c = 999; // no vertex 999: not drawn
    c.faces.push_back(wild);
    Component bare;
    bare.name = "bare";
    bare.withTextureBlock = false;
    addRectangle(bare, -5, 30, 5, 40, 0);
    ship.components = {c, bare};
    load(ship);
    useColourTextures();
    view.centerOnObject = 0;

    ASSERT_TRUE(render());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(isRed(at(pixelX(20), pixelY(10))));
    EXPECT_TRUE(isWhite(at(pixelX(-20), pixelY(10))));
    EXPECT_TRUE(isWhite(at(pixelX(0), pixelY(35))));
    EXPECT_EQ(view.textureMap, 1);
}

// A component without a box block has no box: the view shows the missing-box message and no
// other component's box, picking finds it as drawn, the export gives it no box node, and the
// box commands leave the ship alone.
TEST_F(Draw, AComponentWithoutABoxBlockHasNoBoxAnywhere)
{
    Ship ship;
    Component hull, turret, fin;
    addRectangle(hull, 50, 50, 60, 60);
    hull.boxes.push_back(Box{{0, 0, 0}, {2, 2, 2}});
    turret.name = "turret";
    turret.withBoxBlock = false;
    addRectangle(turret, -5, -5, 5, 5);
    fin.name = "fin";
    fin.origin = {200, 0, 0};
    addRectangle(fin, -1, -1, 1, 1);
    fin.boxes.push_back(Box{{0, 0, 0}, {40, 40, 40}});
    ship.components = {hull, turret, fin};
    load(ship);
    solidBlack();
    view.centerOnObject = 0;

    ASSERT_TRUE(render(1));
    EXPECT_EQ(sink.texts(),
              std::vector<std::string>{std::string(shipfile::messages::MissingBoxes.text)});
    EXPECT_EQ(countInPicture(isWhite), 0) << "the fin's box is not drawn under the turret";
    EXPECT_EQ(viewer::pickAt(view, {file.get(), 1, -1}, {}, AnchorX + 0.5, 387.5 - AnchorY)
                  .component,
              1);

    exporter::ExportOptions withBoxes;
    withBoxes.boxes = true;
    const exporter::ExportScene scene = exporter::buildScene(*file, withBoxes);
    ASSERT_EQ(scene.components.size(), 3u);
    EXPECT_EQ(scene.components[0].boxes.size(), 1u);
    EXPECT_TRUE(scene.components[1].boxes.empty());
    EXPECT_EQ(scene.components[2].boxes.size(), 1u);

    const auto before = file->serialise();
    EXPECT_FALSE(editing::createBox(*file, 1));
    EXPECT_FALSE(editing::clearBoxes(*file, 1));
    EXPECT_EQ(file->serialise(), before);
    EXPECT_TRUE(editing::clearBoxes(*file, 2)) << "the fin's own box is the fin's";
    EXPECT_EQ(shipfile::componentParts(*file, 2).boxes->count(), 0u);
}

TEST_F(Draw, PreviewGlowsFlamesAndLightsInTheirColoursAndBlinksTheLights)
{
    // A blue flame pointing away from the viewer, a green light and a gun, side by side.
    Attachment flame{2, {40, 0, 0}, 4};
    Attachment light{4, {-40, 0, 0}, 1};
    Attachment gun{3, {0, 40, 0}};
    Component c;
    c.attachments = {flame, light, gun};
    Ship ship;
    ship.components = {c};
    load(ship);
    namespace lay = shipfile::layout;
    // Its size values: 20 wide and high, 60 long; the light's: 16 and 16.
    shipfile::ShipBlock& block = *shipfile::componentParts(*file, 0).attachments;
    for (const auto& [offset, value] : {std::pair{0u, 20.0f}, {4u, 20.0f}, {8u, -60.0f}})
        shipfile::writeF32(block.record(0), lay::attachment::Size + offset, value);
    const auto blue = colour(26, 77, 255), green = colour(26, 255, 51);

    // Off, as at start-up: nothing but grey where they are.
    ASSERT_TRUE(render());
    EXPECT_TRUE(isGrey(at(pixelX(40), pixelY(0))));
    EXPECT_TRUE(isGrey(at(pixelX(-40), pixelY(0))));
    EXPECT_TRUE(isGrey(at(pixelX(0), pixelY(40))));

    view.preview = true;
    const auto show = [&](double ms) {
        viewer::Scene scene{file.get(), -1, -1};
        scene.blinkMs = ms;
        return renderer.render(view, scene, textures, sink);
    };
    // The light is lit for its first 100 ms of every 1,600.
    ASSERT_TRUE(show(1600 + 50));
    EXPECT_TRUE(blue(at(pixelX(40), pixelY(0))));
    EXPECT_TRUE(anyNear(pixelX(40) + 15, pixelY(0), 2, [](const QColor& glow) {
        return glow.blue() > 200 && glow.red() < 170; // the outer glow over the grey
    }));
    EXPECT_TRUE(green(at(pixelX(-40), pixelY(0))));
    EXPECT_TRUE(anyNear(pixelX(0), pixelY(40), 2, isBlue)); // the gun's shape

    ASSERT_TRUE(show(1600 + 500));
    EXPECT_TRUE(blue(at(pixelX(40), pixelY(0))));
    EXPECT_TRUE(isGrey(at(pixelX(-40), pixelY(0))));
}

} // namespace
} // namespace viewertest
