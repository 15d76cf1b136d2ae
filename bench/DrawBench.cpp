// Draws a 20,000-face textured ship with the editor's ShipView::draw, beside the floor of this
// driver: the same triangles from one vertex array, one texture bind and one draw call per
// texture. Also the cost of finding a cached texture as the cache grows. The summary at the end
// sets the draw beside the floor that keeps the file's face order, by the main thread's CPU time
// (llvmpipe rasterises on threads of its own, which the wall clock alone hides) and by wall
// time. The draw again with the preview on and during animation playback, beside the plain
// draw. Needs an X display:
//   xvfb-run -a -s '-screen 0 1280x1024x24' build/release/bench/draw_bench
#include "bench/BenchShip.h"
#include "bench/MedianReporter.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"
#include "shipmaker/ShipBuilder.h"
#include "shipmaker/TcacheBuilder.h"
#include "viewer/Camera.h"
#include "viewer/OffscreenRenderer.h"
#include "viewer/ShipView.h"
#include "viewer/TextureCache.h"

#include <QGuiApplication>

#include <GL/gl.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace benchship;
using shipmaker::Component;
using shipmaker::Face;

// The bench ship with what the preview and playback draw: on each component two engine flames,
// two blinking lights, a gun, a gun object and a missile mount, and a swaying animation. They
// cost nothing in the plain draw, which shows no attachment without a selection.
shipmaker::Ship withPreviewParts(int facesPerRun)
{
    shipmaker::Ship ship = benchShip(facesPerRun);
    for (Component& c : ship.components) {
        for (const int kind : {2, 2, 4, 4, 3, 1, 0}) {
            shipmaker::Attachment a;
            a.kind = kind;
            a.position = {static_cast<float>(c.attachments.size()) * 10 - 30, 0, -90};
            // Sized for a hull this big, as the demo ships' are.
            if (kind == 2)
                a.size = shipfile::Vec3{8, 8, -30};
            else if (kind == 4)
                a.size = shipfile::Vec3{5, 5, 0};
            c.attachments.push_back(a);
        }
        // A slight sway, so the picture covers what the plain one does and the difference is
        // the playback's own work.
        shipmaker::Animation sway;
        sway.totalTime = 4000;
        sway.type = 3;
        sway.frames = {{0, {}, {}}, {4000, {0, 0.02f, 0}, {1, 0, 0}}};
        c.animation = sway;
    }
    return ship;
}

// How a draw runs: as the editor starts, with the preview on, or while an animation plays.
enum class DrawMode
{
    Plain,
    Preview,
    Playback,
};

// Everything a draw needs, built once per benchmark.
struct Fixture
{
    Fixture()
    {
        tcache = std::filesystem::temp_directory_path() / "korvex-draw-bench.dat";
        benchTextures(TextureCount).write(tcache);
        textures.setTexturePath(tcache.string());
        view.highQualityTextures = true;
    }

    shipfile::ShipFile& ship(int facesPerRun)
    {
        auto& file = files[facesPerRun];
        if (!file)
            file = shipfile::ShipFile::fromBytes(shipmaker::buildShip(withPreviewParts(facesPerRun)),
                                                 "bench.shp", sink);
        return *file;
    }
    ~Fixture() { std::filesystem::remove(tcache); }

    std::filesystem::path tcache;
    shipfile::SilentSink sink;
    viewer::OffscreenRenderer renderer;
    viewer::ShipView view;
    viewer::TextureCache textures;
    std::map<int, std::unique_ptr<shipfile::ShipFile>> files; // by faces per run
    std::map<int, std::vector<std::uint8_t>> drawnPictures;   // what ShipView::draw drew
};

std::vector<std::uint8_t> readPicture()
{
    const int side = viewer::camera::ViewportPixels;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(side * side * 4));
    glReadPixels(0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// Pixels of the last picture that differ from what ShipView::draw drew of the same ship.
double differingPixels(Fixture& f, int facesPerRun)
{
    const std::vector<std::uint8_t> picture = readPicture();
    const std::vector<std::uint8_t>& drawn = f.drawnPictures[facesPerRun];
    if (picture.size() != drawn.size())
        return -1;
    double n = 0;
    for (std::size_t i = 0; i < picture.size(); i += 4)
        n += std::equal(picture.begin() + static_cast<std::ptrdiff_t>(i),
                        picture.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                        drawn.begin() + static_cast<std::ptrdiff_t>(i))
                 ? 0
                 : 1;
    return n;
}

// Made in main and gone before the application, which its GL context needs.
std::unique_ptr<Fixture> theFixture;

Fixture& fixture()
{
    if (!theFixture)
        theFixture = std::make_unique<Fixture>();
    return *theFixture;
}

void BM_ShipViewDraw(benchmark::State& state)
{
    Fixture& f = fixture();
    const int facesPerRun = static_cast<int>(state.range(0));
    const auto mode = static_cast<DrawMode>(state.range(1));
    shipfile::ShipFile& ship = f.ship(facesPerRun);
    if (!f.renderer.makeCurrent()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    f.view.initialiseGl();
    f.view.preview = mode == DrawMode::Preview;
    viewer::Scene scene{&ship, -1, -1};
    double ms = 0;
    for (auto _ : state) {
        // Each frame a moment later, as at 60 frames a second.
        ms += 1000.0 / 60;
        scene.blinkMs = ms;
        if (mode == DrawMode::Playback)
            scene.playbackMs = ms;
        if (!f.view.draw(scene, f.textures, f.sink) || !f.view.textureMap) {
            state.SkipWithError("draw failed");
            break;
        }
        glFinish();
    }
    f.view.preview = false;
    if (mode == DrawMode::Plain)
        f.drawnPictures[facesPerRun] = readPicture();
    f.renderer.doneCurrent();
    state.counters["faces"] = ComponentCount * GridSide * GridSide * 2;
}
BENCHMARK(BM_ShipViewDraw)
    ->Args({400, static_cast<int>(DrawMode::Plain)})
    ->Args({400, static_cast<int>(DrawMode::Preview)})
    ->Args({400, static_cast<int>(DrawMode::Playback)})
    ->Args({40, static_cast<int>(DrawMode::Plain)})
    ->Unit(benchmark::kMillisecond);

// The floor: the ship's triangles in one client-side vertex array, drawn with the same camera,
// culling and filters. Sorted by texture (range(1) = 1): one bind and one glDrawArrays per
// texture. In file order (range(1) = 0): one per run of faces with one texture, the least an
// order-keeping draw can do.
void BM_VertexArrayFloor(benchmark::State& state)
{
    Fixture& f = fixture();
    const int facesPerRun = static_cast<int>(state.range(0));
    const bool sortByTexture = state.range(1) != 0;
    const shipmaker::Ship ship = benchShip(facesPerRun);
    // Batches of corners (x y z u v each), keyed by texture or by run.
    std::map<std::pair<int, std::uint32_t>, std::vector<float>> batchCorners;
    int run = 0;
    std::uint32_t lastTexture = TextureCount;
    for (const Component& c : ship.components)
        for (const Face& face : c.faces) {
            if (face.texture != lastTexture)
                ++run;
            lastTexture = face.texture;
            auto& out = batchCorners[{sortByTexture ? 0 : run, face.texture}];
            for (int k = 0; k < 3; ++k) {
                const auto& v = c.vertices[(k == 0 ? face.a : k == 1 ? face.b : face.c)];
                out.insert(out.end(), {v.x, v.y, v.z, face.u[k], face.v[k]});
            }
        }
    std::vector<float> vertices;
    std::vector<std::pair<GLuint, std::pair<GLint, GLsizei>>> batches;
    if (!f.renderer.makeCurrent()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (const auto& [key, corners] : batchCorners) {
        const GLuint id =
            f.textures.bind(textureName(static_cast<int>(key.second)), f.view, f.sink);
        batches.push_back(
            {id,
             {static_cast<GLint>(vertices.size() / 5), static_cast<GLsizei>(corners.size() / 5)}});
        vertices.insert(vertices.end(), corners.begin(), corners.end());
    }
    f.view.initialiseGl();
    const viewer::Matrix4 frame = viewer::camera::componentFrame(
        viewer::camera::centredFrame(viewer::camera::cameraTransform(f.view.orientation), {}, 1), 1,
        {});
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 5 * sizeof(float), vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 5 * sizeof(float), vertices.data() + 3);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadMatrixd(frame.data());
        glEnable(GL_CULL_FACE);
        glColor3f(1, 1, 1);
        for (const auto& [id, range] : batches) {
            glBindTexture(GL_TEXTURE_2D, id);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glDrawArrays(GL_TRIANGLES, range.first, range.second);
        }
        glDisable(GL_CULL_FACE);
        glFinish();
    }
    state.counters["differingPixels"] = differingPixels(f, facesPerRun);
    state.counters["batches"] = static_cast<double>(batches.size());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    f.renderer.doneCurrent();
}
BENCHMARK(BM_VertexArrayFloor)
    ->Args({400, 1})
    ->Args({400, 0})
    ->Args({40, 1})
    ->Args({40, 0})
    ->Unit(benchmark::kMillisecond);

// For comparison: every face sent on its own with all of its state, as a plain reading of the
// drawing rules would (bind by name, filters, culling on and off, one glBegin/glEnd per face).
void BM_FaceByFace(benchmark::State& state)
{
    Fixture& f = fixture();
    const int facesPerRun = static_cast<int>(state.range(0));
    const shipmaker::Ship ship = benchShip(facesPerRun);
    if (!f.renderer.makeCurrent()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    f.view.initialiseGl();
    const viewer::Matrix4 frame = viewer::camera::componentFrame(
        viewer::camera::centredFrame(viewer::camera::cameraTransform(f.view.orientation), {}, 1), 1,
        {});
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadMatrixd(frame.data());
        for (const Component& c : ship.components)
            for (const Face& face : c.faces) {
                glFrontFace(GL_CCW);
                glEnable(GL_CULL_FACE);
                glCullFace(GL_BACK);
                glColor3f(1, 1, 1);
                f.textures.bind(c.textures[face.texture], f.view, f.sink);
                glBegin(GL_TRIANGLES);
                for (int k = 0; k < 3; ++k) {
                    const auto& v = c.vertices[(k == 0 ? face.a : k == 1 ? face.b : face.c)];
                    glTexCoord2f(face.u[k], face.v[k]);
                    glVertex3f(v.x, v.y, v.z);
                }
                glEnd();
                glDisable(GL_CULL_FACE);
            }
        glFinish();
    }
    state.counters["differingPixels"] = differingPixels(f, facesPerRun);
    f.renderer.doneCurrent();
}
BENCHMARK(BM_FaceByFace)->Arg(400)->Arg(40)->Unit(benchmark::kMillisecond);

// Finding a cached texture by name, in another letter case, with `range(0)` textures cached.
void BM_FindCachedTexture(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const auto path = std::filesystem::temp_directory_path() / "korvex-find-bench.dat";
    benchTextures(count).write(path);
    viewer::OffscreenRenderer renderer(16);
    viewer::ShipView view;
    viewer::TextureCache cache(path.string());
    shipfile::SilentSink sink;
    if (!renderer.makeCurrent()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (int t = 0; t < count; ++t)
        cache.bind(textureName(t), view, sink);
    std::vector<std::string> wanted;
    for (int t = 0; t < count; t += std::max(1, count / 16)) {
        std::string name = textureName(t);
        name[0] = 'p';
        wanted.push_back(name);
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cache.findTexture(wanted[i]));
        i = (i + 1) % wanted.size();
    }
    renderer.doneCurrent();
    std::filesystem::remove(path);
    if (cache.size() != static_cast<std::size_t>(count))
        state.SkipWithError("textures missing");
}
BENCHMARK(BM_FindCachedTexture)->Arg(10)->Arg(100)->Arg(1000);

// ShipView::draw against the in-order floor, the fair comparison: the draw keeps the file's
// face order, so sorting by texture is beyond it.
void summarise(const bench::MedianReporter& reporter)
{
    std::printf("\nDraw summary: medians of %zu repetitions, ms per frame, main thread CPU / "
                "wall\n",
                reporter.repetitions("BM_ShipViewDraw/400/0"));
    std::printf("%-14s %20s %20s %20s %9s %9s\n", "faces per run", "ShipView::draw",
                "in-order floor", "sorted floor", "CPU x", "wall x");
    const auto show = [](std::optional<bench::MedianReporter::Seconds> t) {
        char text[48] = "-";
        if (t)
            std::snprintf(text, sizeof text, "%.2f / %.2f", t->cpu * 1e3, t->wall * 1e3);
        return std::string(text);
    };
    bool met = true;
    for (const char* run : {"400", "40"}) {
        const auto draw = reporter.median(std::string("BM_ShipViewDraw/") + run + "/0");
        const auto inOrder = reporter.median(std::string("BM_VertexArrayFloor/") + run + "/0");
        const auto sorted = reporter.median(std::string("BM_VertexArrayFloor/") + run + "/1");
        const double cpu = draw && inOrder ? draw->cpu / inOrder->cpu : 0;
        const double wall = draw && inOrder ? draw->wall / inOrder->wall : 0;
        met = met && cpu > 0 && cpu <= 1.5 && wall <= 1.3;
        std::printf("%-14s %20s %20s %20s %8.2fx %8.2fx\n", run, show(draw).c_str(),
                    show(inOrder).c_str(), show(sorted).c_str(), cpu, wall);
    }
    std::printf("Target: ShipView::draw at most 1.5x the in-order floor in main-thread CPU time "
                "and 1.3x in wall time: %s\n",
                met ? "met" : "MISSED");

    // The preview and playback beside the plain draw of the same ship.
    const auto plain = reporter.median("BM_ShipViewDraw/400/0");
    bool within = true;
    for (const auto& [name, mode] : {std::pair{"preview on", DrawMode::Preview},
                                     std::pair{"playback", DrawMode::Playback}}) {
        const auto t = reporter.median("BM_ShipViewDraw/400/" +
                                       std::to_string(static_cast<int>(mode)));
        const double cpu = t && plain ? t->cpu / plain->cpu : 0;
        const double wall = t && plain ? t->wall / plain->wall : 0;
        within = within && cpu > 0 && cpu <= 1.1 && wall <= 1.1;
        std::printf("%-14s %20s %20s %29s %8.2fx %8.2fx\n", name, show(t).c_str(),
                    show(plain).c_str(), "(plain draw)", cpu, wall);
    }
    std::printf("Target: a frame with the preview on or during playback at most 1.1x the plain "
                "draw: %s\n",
                within ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    bench::initialise(argc, argv,
                      {"--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true"});
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    theFixture.reset();
    summarise(reporter);
    return 0;
}
