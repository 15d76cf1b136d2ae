#include "tests/viewer/RenderFixture.h"

#include <GL/gl.h>
#include <cctype>
#include <functional>

namespace viewertest {
namespace {

using testsupport::TcacheBuilder;
using testsupport::TcacheEntry;

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

TEST_F(TextureCacheGl, OneNameInAnyCaseSharesOneTextureObjectAndReadsTheFileOnce)
{
    TcacheBuilder b;
    b.add16("Hull_Plate", 2, 1, {0xF800, 0x0000});
    useTextures(b);

    const unsigned int first = bind("hull_plate");
    ASSERT_NE(first, 0u);
    std::filesystem::remove(tcachePath); // later binds must not need the file
    EXPECT_EQ(bind("HULL_PLATE"), first);
    EXPECT_EQ(textures.findTexture("hUlL_pLaTe"), first);
    EXPECT_EQ(textures.findTexture("hull_plat"), 0u);
    EXPECT_EQ(textures.size(), 1u);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(TextureCacheGl, FacesNamingATextureInDifferentCaseShareItInOneDraw)
{
    TcacheBuilder b;
    b.solid16("panel", 2, 2, 0x07E0);
    useTextures(b);
    Ship ship;
    Component a;
    a.textures = {"PANEL"};
    addRectangle(a, 10, 0, 30, 20);
    Component z = a;
    z.name = "other";
    z.textures = {"panel"};
    z.vertices.clear();
    z.faces.clear();
    addRectangle(z, -30, 0, -10, 20);
    ship.components = {a, z};
    load(ship);
    ASSERT_TRUE(render());
    EXPECT_EQ(textures.size(), 1u);
    EXPECT_TRUE(sameColour(at(AnchorX - 39, AnchorY + 19), 0, 255, 0));
    EXPECT_TRUE(sameColour(at(AnchorX + 39, AnchorY + 19), 0, 255, 0));
}

TEST_F(TextureCacheGl, FiltersFollowTheHighQualityFlagAtEveryBindAndDraw)
{
    TcacheBuilder b;
    b.solid16("hull", 2, 2, 0xFFFF);
    useTextures(b);
    const unsigned int id = bind("hull");
    EXPECT_EQ(filtersOf(id), (std::pair<GLint, GLint>{GL_LINEAR, GL_LINEAR}));
    view.highQualityTextures = 0;
    bind("HULL");
    EXPECT_EQ(filtersOf(id), (std::pair<GLint, GLint>{GL_NEAREST, GL_NEAREST}));

    // A cached texture follows the flag at the next draw.
    Ship ship;
    Component c;
    c.textures = {"hull"};
    addRectangle(c, -1, -1, 1, 1);
    ship.components = {c};
    load(ship);
    view.highQualityTextures = 1;
    ASSERT_TRUE(render());
    EXPECT_EQ(filtersOf(id), (std::pair<GLint, GLint>{GL_LINEAR, GL_LINEAR}));
    view.highQualityTextures = 0;
    ASSERT_TRUE(render());
    EXPECT_EQ(filtersOf(id), (std::pair<GLint, GLint>{GL_NEAREST, GL_NEAREST}));
}

struct FailureCase
{
    const char* what;
    std::function<void(const std::filesystem::path&)> prepare;
    const char* message;
};

class TextureFailures : public TextureCacheGl, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(TextureFailures, ShowOneMessageSwitchTexturesOffAndAddNothing)
{
    GetParam().prepare(tcachePath);
    EXPECT_EQ(bind("hull"), 0u);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, GetParam().message);
    EXPECT_EQ(sink.messages[0].caption, "Something went wrong...");
    EXPECT_EQ(sink.messages[0].icon, shipfile::MessageIcon::Stop);
    EXPECT_FALSE(sink.messages[0].ownedByMainWindow);
    EXPECT_EQ(view.textureMap, 0);
    EXPECT_EQ(untickCount, 1);
    EXPECT_EQ(textures.size(), 0u);
    EXPECT_EQ(textures.findTexture("hull"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EachFailure, TextureFailures,
    ::testing::Values(
        FailureCase{"missing file", [](const std::filesystem::path&) {},
                    "Error opening the TCACHE file! Textures will be unavailable!"},
        FailureCase{"no such name",
                    [](const std::filesystem::path& p) {
                        TcacheBuilder().solid16("hul", 1, 1, 1).write(p);
                    },
                    "Texture not found on TCACHE file!"},
        FailureCase{"count zero",
                    [](const std::filesystem::path& p) {
                        TcacheBuilder().solid16("hull", 1, 1, 1).claimCount(0).write(p);
                    },
                    "Texture not found on TCACHE file!"},
        FailureCase{"32-bit format",
                    [](const std::filesystem::path& p) {
                        TcacheBuilder().entry({"hull", 1, 1, 3, {0, 0, 0, 0}, {}}).write(p);
                    },
                    "This version of Korvex can only handle 8 or 16 bit textures."},
        FailureCase{"pixels past the end",
                    [](const std::filesystem::path& p) {
                        TcacheBuilder().solid16("hull", 64, 64, 1).truncateTo(2000).write(p);
                    },
                    "This texture's entry in the TCACHE file is damaged! Textures will be "
                    "unavailable!"}),
    [](const ::testing::TestParamInfo<FailureCase>& param) {
        std::string name = param.param.what;
        std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
        return name;
    });

TEST_F(TextureCacheGl, TickingTexturesAgainRetriesTheLookup)
{
    EXPECT_EQ(bind("hull"), 0u); // no file yet
    EXPECT_EQ(view.textureMap, 0);

    TcacheBuilder b;
    b.solid16("other", 1, 1, 0xFFFF);
    useTextures(b);
    view.textureMap = 1;
    EXPECT_EQ(bind("hull"), 0u); // not in the file: searched again, fails again
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[1].text, "Texture not found on TCACHE file!");

    b.solid16("HULL", 1, 1, 0xFFFF);
    useTextures(b);
    view.textureMap = 1;
    EXPECT_NE(bind("hull"), 0u);
    EXPECT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(view.textureMap, 1);
    EXPECT_EQ(untickCount, 2);
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
    EXPECT_TRUE(sameColour(at(AnchorX - 39, rightY), 0, 0, 255));
    EXPECT_TRUE(isWhite(at(rightX, rightY)));
    EXPECT_TRUE(isWhite(at(AnchorX, AnchorY + 68)));
}

} // namespace
} // namespace viewertest
