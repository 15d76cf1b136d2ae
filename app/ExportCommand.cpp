#include "app/ExportCommand.h"

#include "app/MainDialog.h"
#include "app/PathText.h"
#include "exporter/ShipExport.h"
#include "platform/FileDialogs.h"
#include "resources/Strings.h"

#include <QGuiApplication>

#include <array>

namespace app {

namespace {
struct FormatChoice
{
    const char* filter;
    const char* extension;
};
constexpr std::array<FormatChoice, 3> Formats = {{
    {resources::strings::GlbFilter, ".glb"},
    {resources::strings::GltfFilter, ".gltf"},
    {resources::strings::ObjFilter, ".obj"},
}};
} // namespace

void exportOpenShip(MainDialog& window)
{
    const EditorState& state = window.state();
    if (!state.fileLoaded() || !state.file())
        return;

    QStringList filters;
    for (const FormatChoice& format : Formats)
        filters << QString::fromUtf8(format.filter);
    std::filesystem::path suggested = state.currentFileName;
    suggested.replace_extension(Formats.front().extension);
    QString chosenFilter;
    const QString chosen =
        window.fileDialogs().exportFileName(&window, toQString(suggested), filters, chosenFilter);
    if (chosen.isEmpty())
        return;

    // A name typed without one of the three extensions takes the chosen filter's.
    std::filesystem::path path = toPath(chosen);
    if (!exporter::exportFormatOf(path)) {
        const auto index = std::max<qsizetype>(0, filters.indexOf(chosenFilter));
        path += Formats[static_cast<std::size_t>(index)].extension;
    }

    exporter::ExportOptions options;
    options.texturePath = state.texturePath;
    options.keepDest = !window.view().ignoreDest;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    exporter::exportShip(*state.file(), path, options, window.sink());
    QGuiApplication::restoreOverrideCursor();
}

} // namespace app
