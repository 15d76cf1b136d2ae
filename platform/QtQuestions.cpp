#include "platform/QtQuestions.h"

#include "platform/QtText.h"
#include "shipfile/MessageText.h"

#include <QMessageBox>

namespace platform {

SaveAnswer QtQuestions::askToSave(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, toQString(shipfile::messages::ProductName), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

} // namespace platform
