#pragma once

#include "platform/Questions.h"

namespace platform {

/// Asks with a QMessageBox owned by `owner`, captioned with the application's name.
class QtQuestions final : public Questions
{
public:
    SaveAnswer askToSave(QWidget* owner, const QString& text) override;
    bool confirmSave(QWidget* owner, const QString& text) override;
};

} // namespace platform
