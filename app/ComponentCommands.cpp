#include "app/ComponentCommands.h"

#include "app/EditStep.h"
#include "app/ListPanes.h"
#include "app/MainDialog.h"
#include "app/PathText.h"
#include "app/PreviewControls.h"
#include "dialogs/AnimationDialog.h"
#include "editing/BlockSwitches.h"
#include "editing/Components.h"
#include "editing/Merge.h"
#include "editing/Scaling.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Strings.h"
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
namespace steps = resources::strings::steps;

ComponentCommands::ComponentCommands(MainDialog& window) : m_window(window)
{
    const auto onClick = [this](int controlId, void (ComponentCommands::*command)()) {
        connect(m_window.control<QPushButton>(controlId), &QPushButton::clicked, this, command);
    };
    onClick(id::DeleteComponent, &ComponentCommands::deleteComponent);
    onClick(id::ChangeShipClass, &ComponentCommands::changeShipClass);
    onClick(id::Animation, &ComponentCommands::editAnimation);
    onClick(id::Larger, &ComponentCommands::scaleLarger);
    onClick(id::Smaller, &ComponentCommands::scaleSmaller);
    onClick(id::CreateBox, &ComponentCommands::createBox);
    onClick(id::ClearBoxes, &ComponentCommands::clearBoxes);
    onClick(id::MergeShp, &ComponentCommands::mergeShipFile);

    // Automatic check boxes: the click has flipped the box before the command runs.
    const auto onToggle = [this](int controlId, void (ComponentCommands::*command)()) {
        connect(m_window.control<QCheckBox>(controlId), &QCheckBox::clicked, this, command);
    };
    onToggle(id::TypeOneOnly, &ComponentCommands::toggleTypeOneOnly);
    onToggle(id::Flames, &ComponentCommands::toggleFlames);
    onToggle(id::DummyTriangle, &ComponentCommands::toggleDummyTriangle);
    onToggle(id::Block13, &ComponentCommands::toggleBlock13);
    onToggle(id::Block14, &ComponentCommands::toggleBlock14);

    connect(m_window.control<QLineEdit>(id::ZoomRange), &QLineEdit::textChanged, this,
            &ComponentCommands::setZoomRange);
}

void ComponentCommands::deleteComponent()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    EditStep step(m_window, steps::DeleteComponent);
    if (!editing::deleteComponent(step.ship(), state.selectedComponent))
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
    EditStep step(m_window, steps::ChangeShipClass);
    if (editing::changeShipClass(step.ship()))
        documentChanged(false);
}

void ComponentCommands::editAnimation()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    EditStep step(m_window, steps::Animation, EditStep::Playback::GoesOn);
    {
        // The editor writes as the user types; closing it other than by OK takes back the
        // whole session, the frames block it may have added included.
        dialogs::AnimationDialog dialog(step.ship(), state.selectedComponent, &m_window);
        PreviewControls& preview = m_window.preview();
        dialog.showPlaying(preview.isPlaying());
        connect(&dialog, &dialogs::AnimationDialog::playToggled, &preview,
                &PreviewControls::togglePlayback);
        connect(&preview, &PreviewControls::playingChanged, &dialog,
                &dialogs::AnimationDialog::showPlaying);
        if (dialog.exec() != QDialog::Accepted)
            step.cancel();
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
    if (!factor)
        return;
    const auto direction =
        larger ? editing::ScaleDirection::Larger : editing::ScaleDirection::Smaller;
    EditStep step(m_window, larger ? steps::Larger : steps::Smaller);
    if (editing::scaleShip(step.ship(), *factor, direction, state.typeOneOnly,
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
    if (!largest)
        return;
    // A position past the new end moves down to it, and the view zooms with it.
    m_window.control<QSlider>(id::ZoomSlider)->setRange(viewer::camera::MinZoom, *largest);
}

void ComponentCommands::createBox()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    EditStep step(m_window, steps::CreateBox);
    if (editing::createBox(step.ship(), state.selectedComponent))
        documentChanged(true);
}

void ComponentCommands::clearBoxes()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    EditStep step(m_window, steps::ClearBoxes);
    if (editing::clearBoxes(step.ship(), state.selectedComponent))
        documentChanged(true);
}

void ComponentCommands::mergeShipFile()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded())
        return;
    const QString chosen = m_window.chooseShipFile();
    if (chosen.isEmpty())
        return;

    EditStep step(m_window, steps::MergeShp);
    // The second ship goes through the editor's own loader, with its messages.
    auto second = m_window.loadShipFile(toPath(chosen));
    const auto names = editing::mergeShipFile(step.ship(), std::move(second));
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
    EditStep step(m_window, steps::DummyTriangle);
    const bool changed = editing::toggleDummyTriangle(step.ship(), state.selectedComponent);
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
    EditStep step(m_window, steps::Block13);
    // A refused switch keeps the box as the click left it until the component is selected
    // again.
    if (editing::toggleBlock13(step.ship(), state.selectedComponent))
        documentChanged(false);
}

void ComponentCommands::toggleBlock14()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent == -1)
        return;
    EditStep step(m_window, steps::Block14);
    const auto present = editing::toggleBlock14(step.ship(), state.selectedComponent);
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
