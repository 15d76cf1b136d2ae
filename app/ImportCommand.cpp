#include "app/ImportCommand.h"

#include "app/EditStep.h"
#include "app/MainDialog.h"
#include "app/PathText.h"
#include "dialogs/ImportDialog.h"
#include "importer/ModelFile.h"
#include "platform/FileDialogs.h"
#include "resources/Strings.h"

#include <QGuiApplication>

namespace app {

void importIntoOpenShip(MainDialog& window)
{
    EditorState& state = window.state();
    if (!state.fileLoaded())
        return;
    namespace strings = resources::strings;
    const QString chosen = window.fileDialogs().openFileName(
        &window, toQString(state.currentFileName.parent_path()),
        {QString::fromUtf8(strings::ModelFilter), QString::fromUtf8(strings::AllFilesFilter)});
    if (chosen.isEmpty())
        return;
    const std::filesystem::path path = toPath(chosen);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto model = importer::readModelFile(path, window.sink());
    QGuiApplication::restoreOverrideCursor();
    if (!model)
        return;

    dialogs::ImportDialog dialog(*state.file(), *model, toQString(path.filename()), &window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    {
        EditStep step(window, strings::steps::Import);
        importer::applyImport(step.ship(), dialog.plan());
    }
    window.showRestoredDocument();
}

} // namespace app
