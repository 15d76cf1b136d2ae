#pragma once

#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"
#include "tests/viewer/Pixels.h"
#include "tests/viewer/Shapes.h"
#include "viewer/OffscreenRenderer.h"
#include "viewer/ShipView.h"
#include "viewer/TextureCache.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <utility>

namespace viewertest {

using shipfile::Vec3;
using testsupport::Component;
using testsupport::Face;
using testsupport::Ship;

/// The anchor point in pixels: view (1000, 800) of 2000 x 2000 on 388 x 388 pixels.
inline constexpr int AnchorX = 194;
inline constexpr int AnchorY = 155;
/// Pixels per ship unit at zoom 1.
inline constexpr double PixelsPerUnit = 10.0 * 388.0 / 2000.0;

/// Draws ships built in code with the offscreen renderer and reads back pixels, counted from
/// the lower-left corner like OpenGL.
class RenderFixture : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(renderer.isValid()) << "no OpenGL context"; }

    void load(const Ship& ship)
    {
        file = shipfile::ShipFile::fromBytes(testsupport::buildShip(ship), "test.shp", fileSink);
        ASSERT_TRUE(file && !file->empty());
    }

    /// Writes the texture cache file and points the cache at it.
    void useTextures(const testsupport::TcacheBuilder& builder)
    {
        ASSERT_TRUE(builder.write(tcachePath));
    }

    bool render(int selectedComponent = -1, int selectedAttachment = -1)
    {
        return renderer.render(view, {file.get(), selectedComponent, selectedAttachment}, textures,
                               sink);
    }

    QColor at(int x, int y) const { return pixel(renderer.image(), x, y); }

    /// First and last column in row y whose pixel matches, or nothing.
    template <typename Match> std::optional<std::pair<int, int>> runInRow(int y, Match match) const
    {
        std::optional<std::pair<int, int>> run;
        for (int x = 0; x < 388; ++x)
            if (match(at(x, y)))
                run = run ? std::pair{run->first, x} : std::pair{x, x};
        return run;
    }
    template <typename Match> int countInPicture(Match match) const
    {
        int n = 0;
        for (int y = 0; y < 388; ++y)
            for (int x = 0; x < 388; ++x)
                n += match(at(x, y)) ? 1 : 0;
        return n;
    }

    testsupport::TempDir dir;
    std::filesystem::path tcachePath = dir / "tcachehw.dat";
    viewer::OffscreenRenderer renderer;
    viewer::ShipView view;
    viewer::TextureCache textures{tcachePath.string()};
    testsupport::RecordingSink sink;
    testsupport::RecordingSink fileSink;
    std::unique_ptr<shipfile::ShipFile> file;
};

} // namespace viewertest
