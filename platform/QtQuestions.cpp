#include "platform/QtQuestions.h"

#include "platform/QtText.h"
#include "shipfile/MessageText.h"

#include <QMessageBox>

namespace platform {

SaveAnswer QtQuestions::askToSave(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, toQString(shipfile::messages::AppName), text,
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

bool QtQuestions::confirmSave(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, toQString(shipfile::messages::AppName), text,
                    QMessageBox::Save | QMessageBox::Cancel, owner);
    // Enter keeps the ship unsaved: the question is about a ship the game may not survive.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
}

} // namespace platform
