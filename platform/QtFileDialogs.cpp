#include "platform/QtFileDialogs.h"

#include <QFileDialog>

namespace platform {

namespace {

// Both save dialogs: any file name, under one of `filters`.
void makeSaveDialog(QFileDialog& dialog, const QStringList& filters)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
}

// The file the user chose in an open or save dialog, or empty when the dialog was cancelled.
QString chosenFile(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtFileDialogs::openFileName(QWidget* owner, const QString& title, const QString& directory,
                                    const QStringList& filters)
{
    QFileDialog dialog(owner, title, directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    return chosenFile(dialog);
}

QString QtFileDialogs::saveFileName(QWidget* owner, const QString& title, const QString& path,
                                    const QStringList& filters)
{
    QFileDialog dialog(owner, title);
    makeSaveDialog(dialog, filters);
    // A name typed without an extension gets the ship extension, as the game expects.
    dialog.setDefaultSuffix(QStringLiteral("shp"));
    dialog.selectFile(path);
    return chosenFile(dialog);
}

QString QtFileDialogs::folderName(QWidget* owner, const QString& title, const QString& start)
{
    // Wine and Proton prefixes are hidden folders: the dialog shows them.
    QFileDialog dialog(owner, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    return chosenFile(dialog);
}

QString QtFileDialogs::exportFileName(QWidget* owner, const QString& title,
                                      const QString& suggested, const QStringList& filters,
                                      QString& chosenFilter)
{
    QFileDialog dialog(owner, title, suggested);
    makeSaveDialog(dialog, filters);
    const QString file = chosenFile(dialog);
    if (!file.isEmpty())
        chosenFilter = dialog.selectedNameFilter();
    return file;
}

} // namespace platform
