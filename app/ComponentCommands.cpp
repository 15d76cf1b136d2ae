#include "app/ComponentCommands.h"

#include "app/CommandTable.h"
#include "app/CommandWiring.h"
#include "app/ListPanes.h"
#include "app/MainDialog.h"
#include "app/Messages.h"
#include "app/PathText.h"
#include "app/PreviewControls.h"
#include "dialogs/AnimationDialog.h"
#include "editing/BlockSwitches.h"
#include "editing/Components.h"
#include "editing/Merge.h"
#include "editing/Scaling.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Strings.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/MessageText.h"
#include "viewer/Camera.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <memory>

namespace app {

namespace id = resources::mainwindow;

ComponentCommands::ComponentCommands(MainDialog& window) : m_window(window)
{
    connect(m_window.control<QLineEdit>(id::ZoomRange), &QLineEdit::textChanged, this,
            &ComponentCommands::setZoomRange);
}

void ComponentCommands::deleteComponent()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    if (!editing::deleteComponent(m_window.commands().ship(), state.selectedComponent))
        return;

    ListPanes& panes = m_window.listPanes();
    panes.removeComponentEntry(state.selectedComponent);
    {
        auto* list = m_window.control<QListWidget>(id::ComponentList);
        const QSignalBlocker blocker(list);
        list->setCurrentRow(-1);
        list->clearSelection();
    }
    // The deleted component's attachments went with it: nothing is left to list or select.
    state.selectedComponent = -1;
    panes.fillAttachmentList();
    panes.selectAttachmentEntry(-1);
    panes.refreshSpecialBlockBoxes();
    documentChanged(true);
}

void ComponentCommands::changeShipClass()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded())
        return;
    if (editing::changeShipClass(m_window.commands().ship()))
        documentChanged(false);
}

void ComponentCommands::editAnimation()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    {
        // The editor writes as the user types; closing it other than by OK takes back the
        // whole session, the frames block it may have added included.
        dialogs::AnimationDialog dialog(m_window.commands().ship(), state.selectedComponent,
                                        &m_window);
        PreviewControls& preview = m_window.preview();
        dialog.showPlaying(preview.isPlaying());
        connect(&dialog, &dialogs::AnimationDialog::playToggled, &preview,
                &PreviewControls::togglePlayback);
        connect(&preview, &PreviewControls::playingChanged, &dialog,
                &dialogs::AnimationDialog::showPlaying);
        if (dialog.exec() != QDialog::Accepted)
            m_window.commands().cancelStep();
    }
    // A moving part shows only in the game.
    documentChanged(false);
}

void ComponentCommands::scaleLarger()
{
    scale(true);
}

void ComponentCommands::scaleSmaller()
{
    scale(false);
}

void ComponentCommands::scale(bool larger)
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded())
        return;
    const QString text = m_window.control<QLineEdit>(id::ScaleFactor)->text();
    const auto factor = editing::parseScaleFactor(text.toStdString());
    if (!factor) {
        namespace messages = shipfile::messages;
        const CommandId id = larger ? CommandId::Larger : CommandId::Smaller;
        m_window.showStatus(messages::formatText(
            messages::formatText(status::BadFactor, stepName(command(id)).toStdString()),
            text.toStdString()));
        return;
    }
    const auto direction =
        larger ? editing::ScaleDirection::Larger : editing::ScaleDirection::Smaller;
    if (editing::scaleShip(m_window.commands().ship(), *factor, direction, state.typeOneOnly,
                           state.selectedComponent, state.scaleFlames))
        documentChanged(true);
}

void ComponentCommands::toggleTypeOneOnly()
{
    m_window.state().typeOneOnly = !m_window.state().typeOneOnly;
}

void ComponentCommands::toggleFlames()
{
    m_window.state().scaleFlames = !m_window.state().scaleFlames;
}

void ComponentCommands::setZoomRange(const QString& text)
{
    const auto largest = editing::parseZoomRange(text.toStdString());
    if (!largest) {
        // The field keeps what the user typed; the range stays until it is a number again.
        if (!text.isEmpty())
            m_window.showStatus(
                shipfile::messages::formatText(status::BadZoomRange, text.toStdString()));
        return;
    }
    m_window.setFarthestZoom(*largest);
}

void ComponentCommands::createBox()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    const shipfile::ShipBlock* box =
        shipfile::componentParts(state.session->ship(), state.selectedComponent).boxes;
    if (!editing::createBox(m_window.commands().ship(), state.selectedComponent)) {
        m_window.showStatus(std::string(box ? status::BoxExists : status::NoBoxBlock));
        return;
    }
    // The game may need a boxed ship to be a Capship: the command makes it one, and says so.
    m_window.showStatus(std::string(status::BoxMadeCapship));
    documentChanged(true);
}

void ComponentCommands::clearBoxes()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    if (editing::clearBoxes(m_window.commands().ship(), state.selectedComponent))
        documentChanged(true);
}

void ComponentCommands::mergeShipFile()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded())
        return;
    const QString chosen = m_window.chooseShipFile(resources::strings::MergeTitle);
    if (chosen.isEmpty())
        return;

    // The second ship goes through the editor's own loader, with its messages.
    auto second = m_window.loadShipFile(toPath(chosen));
    const auto names = editing::mergeShipFile(m_window.commands().ship(), std::move(second));
    if (!names)
        return;
    m_window.listPanes().appendComponents(*names);
    m_window.listPanes().refreshSpecialBlockBoxes();
    documentChanged(true);
}

void ComponentCommands::toggleDummyTriangle()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    const bool changed =
        editing::toggleDummyTriangle(m_window.commands().ship(), state.selectedComponent);
    // A component without faces keeps none: the box goes back to what the file holds.
    m_window.control<QCheckBox>(id::DummyTriangle)
        ->setChecked(editing::dummyTrianglePresent(*state.file(), state.selectedComponent));
    if (changed)
        documentChanged(false);
}

void ComponentCommands::toggleBlock13()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    // A refused switch keeps the box as the click left it until the component is selected
    // again.
    if (editing::toggleBlock13(m_window.commands().ship(), state.selectedComponent))
        documentChanged(false);
}

void ComponentCommands::toggleBlock14()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    const auto present =
        editing::toggleBlock14(m_window.commands().ship(), state.selectedComponent);
    if (!present)
        return;
    m_window.control<QCheckBox>(id::Block14)->setChecked(*present);
    documentChanged(false);
}

void ComponentCommands::documentChanged(bool redraw)
{
    if (redraw)
        m_window.redrawView();
    m_window.refreshDocumentState();
}

} // namespace app
