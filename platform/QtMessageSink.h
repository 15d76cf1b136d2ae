#pragma once

#include "shipfile/MessageSink.h"

#include <QPointer>
#include <QWidget>

namespace platform {

/// Shows each message as a modal QMessageBox with an OK button. Boxes owned by the main window
/// are its children and carry the application's name; the others have no owner and carry their
/// own caption.
class QtMessageSink final : public shipfile::MessageSink
{
public:
    /// The window that owns the boxes marked as owned by the main window.
    void setOwner(QWidget* owner) { m_owner = owner; }

    void show(const shipfile::Message& message) override;

private:
    QPointer<QWidget> m_owner;
};

} // namespace platform
