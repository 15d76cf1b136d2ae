#include "app/ListPanes.h"

#include "app/CommandWiring.h"
#include "app/MainDialog.h"
#include "dialogs/ComponentPropertiesDialog.h"
#include "editing/AttachmentLabel.h"
#include "editing/BlockSwitches.h"
#include "platform/QtText.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Strings.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Messages.h"

#include <QCheckBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace app {

namespace id = resources::mainwindow;

namespace {

// The highlighted entry, -1 for none.
int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// Highlights `row` without running the list's handler; false when there is no such row or it
// is the highlighted one already.
bool highlightNewRow(QListWidget& list, int row)
{
    if (row < 0 || row >= list.count() || row == selectedRow(&list))
        return false;
    const QSignalBlocker blocker(&list);
    list.setCurrentRow(row);
    return true;
}

} // namespace

ListPanes::ListPanes(MainDialog& window) : m_window(window)
{
    // The highlighted entry, not the current row: a list that takes the focus makes its first
    // entry current without highlighting it, and commands act only on what the user can see.
    connect(componentList(), &QListWidget::itemSelectionChanged, this,
            &ListPanes::onComponentSelected);
    connect(componentList(), &QListWidget::itemDoubleClicked, this,
            &ListPanes::onComponentDoubleClicked);
    connect(attachmentList(), &QListWidget::itemSelectionChanged, this,
            &ListPanes::onAttachmentSelected);
}

QListWidget* ListPanes::componentList() const
{
    return m_window.control<QListWidget>(id::ComponentList);
}

QListWidget* ListPanes::attachmentList() const
{
    return m_window.control<QListWidget>(id::AttachmentList);
}

void ListPanes::clearLists()
{
    for (QListWidget* list : {componentList(), attachmentList()}) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
}

void ListPanes::listComponents()
{
    const EditorState& state = m_window.state();
    if (!state.fileLoaded())
        return;
    std::vector<std::string> names;
    const int count = shipfile::componentCount(*state.file());
    for (int n = 0; n < count; ++n)
        names.push_back(shipfile::componentName(*state.file(), n));
    appendComponents(names);
}

void ListPanes::appendComponents(const std::vector<std::string>& names)
{
    QListWidget* list = componentList();
    const QSignalBlocker blocker(list);
    for (const std::string& name : names)
        list->addItem(platform::nameToQString(name));
}

void ListPanes::removeComponentEntry(int n)
{
    QListWidget* list = componentList();
    if (n < 0 || n >= list->count())
        return;
    const QSignalBlocker blocker(list);
    delete list->takeItem(n);
}

void ListPanes::fillAttachmentList()
{
    QListWidget* list = attachmentList();
    const QSignalBlocker blocker(list);
    list->clear();
    EditorState& state = m_window.state();
    if (!state.fileLoaded() || state.selectedComponent < 0)
        return;
    const shipfile::ShipBlock* block =
        shipfile::componentParts(*state.file(), state.selectedComponent).attachments;
    if (!block)
        return;
    for (std::size_t i = 0; i < block->count(); ++i)
        list->addItem(
            platform::nameToQString(editing::numberedAttachmentLabel(block->record(i), i)));
}

void ListPanes::selectAttachmentEntry(int index)
{
    QListWidget* list = attachmentList();
    const QSignalBlocker blocker(list);
    if (index < 0 || index >= list->count()) {
        list->setCurrentRow(-1);
        m_window.state().selectedAttachment = -1;
        return;
    }
    list->setCurrentRow(index);
    m_window.state().selectedAttachment = index;
}

void ListPanes::refreshSpecialBlockBoxes()
{
    const EditorState& state = m_window.state();
    const bool selected = state.fileLoaded() && state.selectedComponent >= 0;
    for (const int box : {id::DummyTriangle, id::Block13, id::Block14}) {
        m_window.control<QCheckBox>(box)->setEnabled(selected);
        if (!selected)
            m_window.control<QCheckBox>(box)->setChecked(false);
    }
    if (!selected)
        return;
    const shipfile::ShipFile& file = *state.file();
    const int component = state.selectedComponent;

    // An empty or missing face block has no dummy triangle to show.
    m_window.control<QCheckBox>(id::DummyTriangle)
        ->setChecked(editing::dummyTrianglePresent(file, component));
    // A section without a type-13 block cannot switch it on: its box shows off, not the
    // state of the component selected before.
    m_window.control<QCheckBox>(id::Block13)
        ->setChecked(editing::block13On(file, component).value_or(false));
    m_window.control<QCheckBox>(id::Block14)->setChecked(editing::block14Present(file, component));
}

void ListPanes::showSelection()
{
    EditorState& state = m_window.state();
    QListWidget* list = componentList();
    if (state.selectedComponent >= list->count())
        state.selectedComponent = -1;
    {
        const QSignalBlocker blocker(list);
        list->setCurrentRow(state.selectedComponent);
        if (state.selectedComponent < 0)
            list->clearSelection();
    }
    // A component without a type-9 block says so when the user picks it, not here.
    const int attachment = state.selectedAttachment;
    fillAttachmentList();
    selectAttachmentEntry(attachment);
    refreshSpecialBlockBoxes();
}

void ListPanes::chooseComponent(int n)
{
    if (highlightNewRow(*componentList(), n))
        onComponentSelected();
}

void ListPanes::chooseAttachment(int j)
{
    if (highlightNewRow(*attachmentList(), j))
        onAttachmentSelected();
}

void ListPanes::onComponentSelected()
{
    EditorState& state = m_window.state();
    state.selectedComponent = selectedRow(componentList());
    // The refilled list highlights nothing, so no attachment stays selected for the commands.
    state.selectedAttachment = -1;

    if (state.fileLoaded() && state.selectedComponent >= 0 &&
        !shipfile::componentParts(*state.file(), state.selectedComponent).attachments)
        state.file()->sink().show(shipfile::messages::MissingAttachmentBlock.box());
    fillAttachmentList();
    refreshSpecialBlockBoxes();
    m_window.redrawView();
    m_window.commands().refresh();
}

void ListPanes::onComponentDoubleClicked()
{
    m_window.state().selectedComponent = selectedRow(componentList());
    m_window.runCommand(CommandId::ComponentProperties);
}

void ListPanes::editComponentProperties()
{
    EditorState& state = m_window.state();
    QListWidget* list = componentList();
    if (!state.fileLoaded() || state.selectedComponent < 0)
        return;

    {
        // The dialog writes as the user types; closing it other than by OK takes it all back.
        dialogs::ComponentPropertiesDialog dialog(m_window.commands().ship(),
                                                  state.selectedComponent, &m_window);
        if (dialog.exec() != QDialog::Accepted)
            m_window.commands().cancelStep();
    }

    // The entry shows the record's name, changed or not, and stays selected.
    const int row = state.selectedComponent;
    if (row < list->count()) {
        const QSignalBlocker blocker(list);
        list->item(row)->setText(
            platform::nameToQString(shipfile::componentName(*state.file(), row)));
        list->setCurrentRow(row);
    }
    m_window.refreshDocumentState();
    m_window.redrawView();
}

void ListPanes::onAttachmentSelected()
{
    EditorState& state = m_window.state();
    state.selectedComponent = selectedRow(componentList());
    state.selectedAttachment = selectedRow(attachmentList());
    m_window.redrawView();
    m_window.commands().refresh();
}

} // namespace app
