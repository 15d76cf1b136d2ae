#include "dialogs/AttachObjectDialog.h"

#include "platform/DialogBuilder.h"
#include "resources/AttachObjectTemplate.h"

#include <QListWidget>
#include <QPushButton>

namespace dialogs {

namespace {
namespace id = resources::attachobject;
}

AttachObjectDialog::AttachObjectDialog(QWidget* parent) : QDialog(parent)
{
    platform::buildDialog(*this, resources::AttachObjectTemplate);
    auto* ok = platform::findControl<QPushButton>(*this, id::Ok);
    auto* cancel = platform::findControl<QPushButton>(*this, id::Cancel);
    m_kinds = platform::findControl<QListWidget>(*this, id::Kinds);
    Q_ASSERT(ok && cancel && m_kinds);

    for (const char* text : id::KindTexts)
        m_kinds->addItem(QString::fromUtf8(text));

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Selection, not the current row: focus moves the current row without the user picking.
    connect(m_kinds, &QListWidget::itemSelectionChanged, this,
            &AttachObjectDialog::selectionChanged);
}

void AttachObjectDialog::selectionChanged()
{
    const QList<QListWidgetItem*> selected = m_kinds->selectedItems();
    m_selectedKind = selected.isEmpty() ? -1 : m_kinds->row(selected.first());
}

} // namespace dialogs
