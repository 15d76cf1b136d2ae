#pragma once

#include "platform/FileDialogs.h"

namespace platform {

/// The standard QFileDialog.
class QtFileDialogs final : public FileDialogs
{
public:
    QString openFileName(QWidget* owner, const QString& title, const QString& directory,
                         const QStringList& filters) override;
    QString saveFileName(QWidget* owner, const QString& title, const QString& path,
                         const QStringList& filters) override;
    QString folderName(QWidget* owner, const QString& title, const QString& start) override;
    QString exportFileName(QWidget* owner, const QString& title, const QString& suggested,
                           const QStringList& filters, QString& chosenFilter) override;
};

} // namespace platform
