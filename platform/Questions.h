#pragma once

#include <QString>
#include <QWidget>

namespace platform {

enum class SaveAnswer
{
    Save,
    Discard,
    Cancel,
};

/// The questions the editor asks before it drops unsaved work; tests install a scripted one.
class Questions
{
public:
    virtual ~Questions() = default;
    /// Asks `text` with the answers Save, Discard and Cancel.
    virtual SaveAnswer askToSave(QWidget* owner, const QString& text) = 0;
    /// Asks `text` before a save the user may regret, with the answers Save and Cancel; true
    /// for Save.
    virtual bool confirmSave(QWidget* owner, const QString& text) = 0;
};

} // namespace platform
