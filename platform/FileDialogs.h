#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

namespace platform {

/// The file dialogs the editor asks for paths with; tests install a scripted one. Each dialog's
/// `title` says what the chosen file is for ("Merge ship").
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    /// An existing file chosen by the user, starting in `directory` with `filters` (the first
    /// one selected); empty when the user cancels.
    virtual QString openFileName(QWidget* owner, const QString& title, const QString& directory,
                                 const QStringList& filters) = 0;
    /// A path to save to, chosen by the user starting at `path` with `filters`; the user has
    /// agreed to replace an existing file. Empty when the user cancels.
    virtual QString saveFileName(QWidget* owner, const QString& title, const QString& path,
                                 const QStringList& filters) = 0;
    /// A file to export to, starting at `suggested` with `filters` (the first one selected);
    /// `chosenFilter` gets the filter selected when the user accepted. Empty when cancelled.
    /// An existing folder chosen by the user, starting at `start`; empty when cancelled.
    virtual QString folderName(QWidget* owner, const QString& title, const QString& start) = 0;
    virtual QString exportFileName(QWidget* owner, const QString& title, const QString& suggested,
                                   const QStringList& filters, QString& chosenFilter) = 0;
};

} // namespace platform
