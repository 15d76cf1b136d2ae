#include "app/AttachmentCommands.h"

#include "app/EditStep.h"
#include "app/ListPanes.h"
#include "app/MainDialog.h"
#include "dialogs/AttachObjectDialog.h"
#include "dialogs/AttachmentPropertiesDialog.h"
#include "editing/Attachments.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Strings.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

namespace app {

namespace id = resources::mainwindow;
namespace steps = resources::strings::steps;

AttachmentCommands::AttachmentCommands(MainDialog& window) : m_window(window)
{
    const auto onClick = [this](int controlId, void (AttachmentCommands::*command)()) {
        connect(m_window.control<QPushButton>(controlId), &QPushButton::clicked, this, command);
    };
    onClick(id::AddAttachment, &AttachmentCommands::addAttachment);
    onClick(id::RemoveAttachment, &AttachmentCommands::removeAttachment);
    onClick(id::CopyAttachment, &AttachmentCommands::copyAttachment);
    onClick(id::CopyInvertX, &AttachmentCommands::copyAttachmentMirrored);
    onClick(id::NearestPosition, &AttachmentCommands::snapToNearestFace);

    // The flags follow the clicks, never the boxes: a box set from code changes no flag.
    connect(m_window.control<QCheckBox>(id::Rotate), &QCheckBox::clicked, this,
            &AttachmentCommands::toggleRotate);
    connect(m_window.control<QCheckBox>(id::Back), &QCheckBox::clicked, this,
            &AttachmentCommands::toggleBack);

    // The press before the double-click has already made the entry the selected attachment.
    connect(m_window.control<QListWidget>(id::AttachmentList), &QListWidget::itemDoubleClicked,
            this, &AttachmentCommands::editAttachmentProperties);
}

void AttachmentCommands::addAttachment()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;

    dialogs::AttachObjectDialog dialog(&m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const int kind = dialog.selectedKind();
    EditStep step(m_window, steps::AddAttachment);
    const auto select = editing::addAttachment(step.ship(), state.selectedComponent, kind);
    if (!select)
        return;
    ListPanes& panes = m_window.listPanes();
    panes.fillAttachmentList();
    panes.selectAttachmentEntry(*select);
    documentChanged(kind >= 0);
}

void AttachmentCommands::removeAttachment()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1 || state.selectedAttachment == -1)
        return;

    EditStep step(m_window, steps::RemoveAttachment);
    const auto select =
        editing::removeAttachment(step.ship(), state.selectedComponent, state.selectedAttachment);
    if (!select)
        return;
    ListPanes& panes = m_window.listPanes();
    panes.fillAttachmentList();
    panes.selectAttachmentEntry(*select);
    documentChanged(true);
}

void AttachmentCommands::copyAttachment()
{
    copy(false);
}

void AttachmentCommands::copyAttachmentMirrored()
{
    copy(true);
}

void AttachmentCommands::copy(bool mirrored)
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1 || state.selectedAttachment == -1)
        return;

    EditStep step(m_window, mirrored ? steps::CopyInvertX : steps::CopyAttachment);
    const bool copied = mirrored
                            ? editing::copyAttachmentMirrored(step.ship(), state.selectedComponent,
                                                              state.selectedAttachment)
                            : editing::copyAttachment(step.ship(), state.selectedComponent,
                                                      state.selectedAttachment);
    if (!copied)
        return;
    // The source stays the selected attachment, but the refilled list highlights nothing.
    m_window.listPanes().fillAttachmentList();
    documentChanged(true);
}

void AttachmentCommands::snapToNearestFace()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1 || state.selectedAttachment == -1)
        return;

    EditStep step(m_window, steps::NearestPosition);
    const editing::SnapOptions options{state.rotate, m_back};
    if (editing::snapToNearestFace(step.ship(), state.selectedComponent, state.selectedAttachment,
                                   options))
        documentChanged(true);
}

void AttachmentCommands::toggleRotate()
{
    m_window.state().rotate = !m_window.state().rotate;
}

void AttachmentCommands::toggleBack()
{
    m_back = !m_back;
}

void AttachmentCommands::editAttachmentProperties()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedAttachment == -1)
        return;

    const int attachment = state.selectedAttachment;
    EditStep step(m_window, steps::AttachmentProperties);
    {
        // The dialog writes the attachment back itself when the user accepts it.
        dialogs::AttachmentPropertiesDialog dialog(step.ship(), state.selectedComponent, attachment,
                                                   &m_window);
        if (!dialog.hasAttachment())
            return;
        if (dialog.exec() != QDialog::Accepted)
            step.cancel();
    }
    ListPanes& panes = m_window.listPanes();
    panes.fillAttachmentList();
    panes.selectAttachmentEntry(attachment);
    documentChanged(true);
}

void AttachmentCommands::documentChanged(bool redraw)
{
    if (redraw)
        m_window.redrawView();
    m_window.refreshDocumentState();
}

} // namespace app
