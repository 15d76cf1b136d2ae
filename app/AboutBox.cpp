#include "app/AboutBox.h"

#include "platform/DialogBuilder.h"
#include "resources/AboutBoxTemplate.h"
#include "resources/Resources.h"

#include <QPushButton>

namespace app {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    resources::initialise();
    platform::buildDialog(*this, resources::AboutBoxTemplate);
    auto* ok = platform::findControl<QPushButton>(*this, resources::aboutbox::Ok);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace app
