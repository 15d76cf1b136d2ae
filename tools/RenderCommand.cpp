#include "gamedata/GameInstallation.h"
#include "gamedata/Messages.h"
#include "gamedata/WineRegistry.h"
#include "platform/QtText.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "tools/Messages.h"
#include "tools/ShpCommands.h"
#include "viewer/FixedViews.h"
#include "viewer/Framing.h"
#include "viewer/OffscreenRenderer.h"
#include "viewer/ShipView.h"
#include "viewer/TextureCache.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace tools {

namespace {
struct RenderOptions
{
    std::string_view input;
    std::string_view output;
    viewer::ViewChoice view = viewer::ViewChoice::FreeView;
    int zoom = 1;
    std::optional<std::string_view> component;
    int attachment = -1;
    bool wireframe = false;
    bool mark = false;
    bool boxes = true;
    bool keepDest = false;
    std::string_view textures;
    int size = viewer::camera::ViewportPixels;
    bool fit = false;
    bool sheet = false;
    bool preview = false;
    /// The moment of animation playback and of the lights' blinking; nothing: all at rest.
    std::optional<int> timeMs;
};

constexpr int SmallestSize = 16;
constexpr int LargestSize = 4096;

// The contact sheet: the six fixed views, then FreeView, four to a row, each named under it.
constexpr std::array<viewer::ViewChoice, 7> SheetViews = {
    viewer::ViewChoice::Bottom,  viewer::ViewChoice::Left,  viewer::ViewChoice::Front,
    viewer::ViewChoice::Top,     viewer::ViewChoice::Right, viewer::ViewChoice::Back,
    viewer::ViewChoice::FreeView};
constexpr int SheetColumns = 4;

// Reads the command line; nothing after printing the reason when it is not usable.
std::optional<RenderOptions> parse(Arguments args)
{
    RenderOptions o;
    const auto bad = [](std::string_view format, std::string_view value) {
        printError(messages::formatText(format, value));
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool takesValue = arg == "-o" || arg == "--view" || arg == "--zoom" ||
                                arg == "--select" || arg == "--attachment" || arg == "--textures" ||
                                arg == "--size" || arg == "--time";
        if (takesValue && i + 1 == args.size())
            return std::nullopt;
        const std::string_view value = takesValue ? args[++i] : std::string_view();
        if (arg == "-o") {
            o.output = value;
        } else if (arg == "--view") {
            const auto view = viewer::viewChoiceFromText(value);
            if (!view)
                return bad(messages::UnknownView, value);
            o.view = *view;
        } else if (arg == "--zoom") {
            const auto zoom = wholeNumber(value);
            if (!zoom || *zoom < viewer::camera::MinZoom || *zoom > viewer::camera::MaxZoom)
                return bad(messages::BadZoom, value);
            o.zoom = *zoom;
        } else if (arg == "--select") {
            o.component = value;
        } else if (arg == "--attachment") {
            const auto attachment = wholeNumber(value);
            if (!attachment || *attachment < 0)
                return bad(messages::BadAttachment, value);
            o.attachment = *attachment;
        } else if (arg == "--size") {
            const auto size = wholeNumber(value);
            if (!size || *size < SmallestSize || *size > LargestSize)
                return bad(messages::BadSize, value);
            o.size = *size;
        } else if (arg == "--time") {
            const auto ms = wholeNumber(value);
            if (!ms || *ms < 0)
                return bad(messages::BadTime, value);
            o.timeMs = *ms;
        } else if (arg == "--preview") {
            o.preview = true;
        } else if (arg == "--fit") {
            o.fit = true;
        } else if (arg == "--sheet") {
            o.sheet = true;
        } else if (arg == "--textures") {
            o.textures = value;
        } else if (arg == "--wireframe") {
            o.wireframe = true;
        } else if (arg == "--mark") {
            o.mark = true;
        } else if (arg == "--no-boxes") {
            o.boxes = false;
        } else if (arg == "--keep-dest") {
            o.keepDest = true;
        } else if (arg.starts_with("-")) {
            printError(messages::formatText(messages::UnknownOption, arg));
            return std::nullopt;
        } else if (!o.input.empty()) {
            return std::nullopt;
        } else {
            o.input = arg;
        }
    }
    if (o.input.empty() || o.output.empty())
        return std::nullopt;
    if (o.attachment >= 0 && !o.component) {
        printError(messages::AttachmentWithoutComponent);
        return std::nullopt;
    }
    return o;
}

// A component by its number in the component list or by its name, ignoring case.
// Draws the ship as seen from `choice`; with `fit`, zoomed and centred on the selected
// component or the whole ship as the F key does. Nothing when the frame was abandoned.
std::optional<QImage> renderView(viewer::OffscreenRenderer& renderer, viewer::ShipView& view,
                                 const viewer::Scene& scene, viewer::TextureCache& textures,
                                 StderrSink& sink, const RenderOptions& o,
                                 viewer::ViewChoice choice)
{
    viewer::Matrix4 orientation;
    viewer::applyFixedView(choice, orientation);
    view.setOrientation(orientation);
    if (o.fit) {
        const viewer::camera::ViewSize size{o.size, o.size};
        const auto framing = viewer::fitFraming(
            view, scene, size, {0.0, 0.0, static_cast<double>(o.size), static_cast<double>(o.size)},
            scene.selectedComponent);
        if (framing) {
            view.centerOnObject = 0;
            view.center = framing->center;
            view.zoom = framing->zoom;
        }
    }
    if (!renderer.render(view, scene, textures, sink))
        return std::nullopt;
    return renderer.image();
}

QImage contactSheet(const std::vector<QImage>& pictures, int size)
{
    QFont font;
    font.setPixelSize(std::max(10, size / 20));
    const int labelHeight = QFontMetrics(font).height() + 8;
    const int rows = (static_cast<int>(SheetViews.size()) + SheetColumns - 1) / SheetColumns;
    QImage sheet(size * SheetColumns, (size + labelHeight) * rows, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < SheetViews.size(); ++i) {
        const int column = static_cast<int>(i) % SheetColumns;
        const int row = static_cast<int>(i) / SheetColumns;
        const QPoint corner(column * size, row * (size + labelHeight));
        painter.drawImage(corner, pictures[i]);
        const std::string_view name =
            viewer::ViewChoiceTexts[static_cast<std::size_t>(SheetViews[i])];
        painter.drawText(QRect(corner + QPoint(0, size), QSize(size, labelHeight)), Qt::AlignCenter,
                         platform::nameToQString(name));
    }
    return sheet;
}

// The picture format the output's ending names, as QImage writes it; PNG without an ending.
// Nothing for an ending no image writer knows.
std::optional<QByteArray> pictureFormat(std::string_view output)
{
    const QString suffix = QFileInfo(platform::toQString(output)).suffix().toLower();
    if (suffix.isEmpty())
        return QByteArray("png");
    const QByteArray format = suffix.toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format))
        return std::nullopt;
    return format;
}

// The texture cache the editor would use: the one named on the command line, else the game's
// own through the registry of the Wine prefix. Says on stderr which one, or why there is none.
std::optional<std::string> textureCache(const RenderOptions& o, StderrSink& sink)
{
    if (o.wireframe)
        return std::nullopt;
    std::string path(o.textures);
    if (path.empty()) {
        const gamedata::GameInstallation game =
            gamedata::findGameInstallation(gamedata::WineRegistry::defaultPrefix(), sink,
                                           gamedata::messages::NoGameAdviceCommandLine);
        if (!game.found)
            return std::nullopt; // the registry messages said why
        path = game.texturePath.string();
    }
    printError(messages::formatText(messages::TexturesFrom, path));
    return path;
}

} // namespace

int runRender(Arguments args)
{
    const std::optional<RenderOptions> options = parse(args);
    if (!options)
        return usageError(messages::UsageRender);
    const RenderOptions& o = *options;

    StderrSink sink;
    const auto file = loadShip(o.input, sink);
    if (!file)
        return ExitFailure;
    int selected = -1;
    if (o.component) {
        const auto found = findComponent(*file, *o.component);
        if (!found) {
            printError(messages::formatText(messages::NoComponent, *o.component));
            return ExitFailure;
        }
        selected = *found;
        const shipfile::ShipBlock* attachments =
            shipfile::componentParts(*file, selected).attachments;
        if (o.attachment >= 0 &&
            (!attachments || static_cast<std::size_t>(o.attachment) >= attachments->count())) {
            printError(messages::formatText(messages::NoAttachment, std::to_string(o.attachment)));
            return ExitFailure;
        }
    }

    // Qt serves only for the picture and the sheet's captions; the GL context comes from EGL.
    // On the offscreen platform the same picture comes out with a display, without one (CI,
    // SSH) and under any desktop.
    int argc = 3;
    char name[] = "korvex-shp";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    QGuiApplication app(argc, argv);
    const std::optional<QByteArray> format = pictureFormat(o.output);
    if (!format) {
        printError(messages::formatText(messages::BadPictureFormat, o.output));
        return ExitUsage;
    }
    viewer::OffscreenRenderer renderer(o.size);
    if (!renderer.isValid()) {
        printError(messages::NoOpenGl);
        return ExitFailure;
    }
    const std::optional<std::string> texturePath = textureCache(o, sink);

    // The editor's start-up state, changed only by the options.
    viewer::ShipView view;
    view.zoom = o.zoom;
    view.textureMap = texturePath.has_value();
    view.markSelected = o.mark;
    view.showBoxes = o.boxes;
    view.ignoreDest = !o.keepDest;
    view.preview = o.preview;
    viewer::TextureCache textures{texturePath.value_or(std::string())};
    viewer::Scene scene{file.get(), selected, o.attachment};
    if (o.timeMs) {
        scene.playbackMs = *o.timeMs;
        scene.blinkMs = *o.timeMs;
    }

    QImage picture;
    if (o.sheet) {
        std::vector<QImage> pictures;
        for (const viewer::ViewChoice choice : SheetViews) {
            const auto shown = renderView(renderer, view, scene, textures, sink, o, choice);
            if (!shown)
                return ExitFailure;
            pictures.push_back(*shown);
        }
        picture = contactSheet(pictures, o.size);
    } else {
        const auto shown = renderView(renderer, view, scene, textures, sink, o, o.view);
        if (!shown)
            return ExitFailure;
        picture = *shown;
    }
    const QString output = platform::toQString(o.output);
    if (!picture.save(output, format->constData())) {
        printError(messages::formatText(messages::PictureNotWritten, o.output));
        return ExitFailure;
    }
    return ExitSuccess;
}

} // namespace tools
