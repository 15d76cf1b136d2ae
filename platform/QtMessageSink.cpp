#include "platform/QtMessageSink.h"

#include "platform/QtText.h"
#include "shipfile/MessageText.h"

#include <QMessageBox>

namespace platform {

namespace {
QMessageBox::Icon boxIcon(shipfile::MessageIcon icon)
{
    switch (icon) {
    case shipfile::MessageIcon::None:
        return QMessageBox::NoIcon;
    case shipfile::MessageIcon::Stop:
        return QMessageBox::Critical;
    case shipfile::MessageIcon::Warning:
        return QMessageBox::Warning;
    case shipfile::MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void QtMessageSink::show(const shipfile::Message& message)
{
    QWidget* owner = message.ownedByMainWindow ? m_owner.data() : nullptr;
    const std::string_view caption =
        message.ownedByMainWindow ? shipfile::messages::AppName : message.caption;
    QMessageBox box(boxIcon(message.icon), toQString(caption), toQString(message.text),
                    QMessageBox::Ok, owner);
    box.exec();
}

} // namespace platform
