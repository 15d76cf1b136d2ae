#include "tests/viewer/RenderFixture.h"

#include <GL/gl.h>

namespace viewertest {
namespace {

using testsupport::TcacheBuilder;

class TextureCacheGl : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        textures.onTexturesDisabled = [this] { ++untickCount; };
    }

    // Binds in the renderer's context, as a draw would.
    unsigned int bind(std::string_view name)
    {
        EXPECT_TRUE(renderer.makeCurrent());
        const unsigned int id = textures.bind(name, view, sink);
        renderer.doneCurrent();
        return id;
    }

    std::pair<GLint, GLint> filtersOf(unsigned int id)
    {
        EXPECT_TRUE(renderer.makeCurrent());
        glBindTexture(GL_TEXTURE_2D, id);
        GLint minFilter = 0, magFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        renderer.doneCurrent();
        return {minFilter, magFilter};
    }

    int untickCount = 0;
};

TEST_F(TextureCacheGl, OneNameInAnyCaseIsReadOnceIntoOneTextureObject)
{
    TcacheBuilder b;
    b.solid16("Panel", 2, 2, 0x07E0);
    useTextures(b);
    const unsigned int first = bind("PANEL");
    ASSERT_NE(first, 0u);
    std::filesystem::remove(tcachePath); // later binds and draws must not need the file
    EXPECT_EQ(bind("panel"), first);
    EXPECT_EQ(textures.findTexture("pAnEl"), first);
    EXPECT_EQ(textures.findTexture("pane"), 0u);

    // Texture records naming it in two cases draw with it both.
    Ship ship;
    Component c;
    c.textures = {"PANEL", "panel"};
    addRectangle(c, 10, 0, 30, 20, 0);
    addRectangle(c, -30, 0, -10, 20, 1);
    ship.components = {c};
    load(ship);
    ASSERT_TRUE(render());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(sameColour(at(AnchorX - 39, AnchorY + 19), 0, 255, 0));
    EXPECT_TRUE(sameColour(at(AnchorX + 39, AnchorY + 19), 0, 255, 0));
}

TEST_F(TextureCacheGl, FiltersFollowTheHighQualityFlagAtEveryDraw)
{
    TcacheBuilder b;
    b.solid16("hull", 2, 2, 0xFFFF);
    useTextures(b);
    Ship ship;
    Component c;
    c.textures = {"hull"};
    addRectangle(c, -1, -1, 1, 1);
    ship.components = {c};
    load(ship);
    // Loaded by the first draw, taken from the cache by the others.
    for (const bool high : {false, true, false}) {
        view.highQualityTextures = high;
        ASSERT_TRUE(render());
        const GLint filter = high ? GL_LINEAR : GL_NEAREST;
        EXPECT_EQ(filtersOf(textures.findTexture("hull")), (std::pair{filter, filter})) << high;
    }
}

TEST_F(TextureCacheGl, FailureShowsOneMessageSwitchesTexturesOffAndCachesNothing)
{
    EXPECT_EQ(bind("hull"), 0u); // no file
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "Error opening the TCACHE file! Textures will be unavailable!");
    EXPECT_EQ(sink.messages[0].caption, "Something went wrong...");
    EXPECT_EQ(sink.messages[0].icon, shipfile::MessageIcon::Stop);
    EXPECT_EQ(view.textureMap, 0);
    EXPECT_EQ(untickCount, 1);
    EXPECT_EQ(textures.findTexture("hull"), 0u);
}

TEST_F(TextureCacheGl, FailureInADrawTurnsTheRestOfTheFrameToWireframe)
{
    TcacheBuilder b;
    b.solid16("white", 2, 2, 0xFFFF);
    useTextures(b);
    Ship ship;
    Component c;
    c.textures = {"missing", "white"};
    addRectangle(c, 10, 0, 30, 20, 0);
    addRectangle(c, -30, 0, -10, 20, 1);
    Component later = c;
    later.name = "later";
    later.vertices.clear();
    later.faces.clear();
    addRectangle(later, -5, 30, 5, 40, 1);
    ship.components = {c, later};
    load(ship);

    ASSERT_TRUE(render());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Texture not found on TCACHE file!");
    EXPECT_EQ(view.textureMap, 0);
    EXPECT_EQ(untickCount, 1);
    // Everything after the failing face is black wireframe: hollow, outlined.
    const int rightY = AnchorY + 19, rightX = AnchorX + 39;
    EXPECT_TRUE(isGrey(at(rightX, rightY)));
    EXPECT_TRUE(isGrey(at(AnchorX, AnchorY + 68)));
    const auto outline = runInRow(rightY, isBlack);
    ASSERT_TRUE(outline);

    // Ticked again with the texture now in the file: all textured, no message.
    b.solid16("missing", 2, 2, 0x001F);
    useTextures(b);
    view.textureMap = 1;
    ASSERT_TRUE(render());
    EXPECT_EQ(sink.messages.size(), 1u);
    EXPECT_TRUE(isBlue(at(AnchorX - 39, rightY)));
    EXPECT_TRUE(isWhite(at(rightX, rightY)));
    EXPECT_TRUE(isWhite(at(AnchorX, AnchorY + 68)));
}

} // namespace
} // namespace viewertest
