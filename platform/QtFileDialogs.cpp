#include "platform/QtFileDialogs.h"

#include <QFileDialog>

namespace platform {

QString QtFileDialogs::openFileName(QWidget* owner, const QString& directory,
                                    const QStringList& filters)
{
    QFileDialog dialog(owner, QString(), directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace platform
