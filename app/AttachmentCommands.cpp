#include "app/AttachmentCommands.h"

#include "app/CommandWiring.h"
#include "app/ListPanes.h"
#include "app/MainDialog.h"
#include "app/Messages.h"
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

AttachmentCommands::AttachmentCommands(MainDialog& window) : m_window(window)
{
    // The press before the double-click has already made the entry the selected attachment.
    connect(m_window.control<QListWidget>(id::AttachmentList), &QListWidget::itemDoubleClicked,
            this, [this] { m_window.runCommand(CommandId::AttachmentProperties); });
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
    if (kind < 0) {
        m_window.showStatus(std::string(status::NoKindChosen));
        return;
    }
    const auto select =
        editing::addAttachment(m_window.commands().ship(), state.selectedComponent, kind);
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

    const auto select = editing::removeAttachment(
        m_window.commands().ship(), state.selectedComponent, state.selectedAttachment);
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

    const bool copied =
        mirrored
            ? editing::copyAttachmentMirrored(m_window.commands().ship(), state.selectedComponent,
                                              state.selectedAttachment)
            : editing::copyAttachment(m_window.commands().ship(), state.selectedComponent,
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

    const editing::SnapOptions options{state.rotate, m_back};
    if (editing::snapToNearestFace(m_window.commands().ship(), state.selectedComponent,
                                   state.selectedAttachment, options))
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
    {
        // The dialog writes the attachment back itself when the user accepts it.
        dialogs::AttachmentPropertiesDialog dialog(m_window.commands().ship(),
                                                   state.selectedComponent, attachment, &m_window);
        if (!dialog.hasAttachment())
            return;
        if (dialog.exec() != QDialog::Accepted)
            m_window.commands().cancelStep();
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
