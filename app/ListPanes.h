#pragma once

#include <QObject>

#include <string>
#include <vector>

class QListWidget;

namespace app {

class MainDialog;

/// The component list and the attached-objects list of the main window, kept in step with the
/// open ship and with the selection in the editor's state. Filling or selecting from code never
/// runs the user handlers; only the user's own clicks do.
class ListPanes : public QObject
{
    Q_OBJECT

public:
    explicit ListPanes(MainDialog& window);

    /// Empties both lists.
    void clearLists();
    /// Lists the names of the type-1 block's records, after whatever the list holds.
    void listComponents();
    /// Adds entries for components appended to the type-1 block (after a merge).
    void appendComponents(const std::vector<std::string>& names);
    /// Takes out component entry n (after its component was deleted); the caller clears the
    /// selection.
    void removeComponentEntry(int n);
    /// Refills the attached-objects list from the selected component's type-9 block: one entry
    /// per record, in record order, none highlighted. Empty when there is no such block.
    void fillAttachmentList();
    /// Highlights attachment entry `index` and makes it the selected attachment; -1 or an index
    /// past the list highlights nothing and selects none.
    void selectAttachmentEntry(int index);
    /// Brings "Dummy Triangle", "Block13" and "Block14" up to date for the selected component;
    /// without one they are cleared and disabled. A section without a type-13 block shows
    /// "Error finding block13" and clears "Block13".
    void refreshSpecialBlockBoxes();
    /// After the lists were filled afresh: highlights the selected component, lists its
    /// attachments and highlights the selected one, clearing a selection the ship no longer
    /// has.
    void showSelection();

    /// Selects component n or attachment j of the selected component as a click on its entry
    /// would (a pick in the view): the same handler runs, and choosing the entry already
    /// chosen changes nothing.
    void chooseComponent(int n);
    void chooseAttachment(int j);

    // The user's own actions on the lists.
    void onComponentSelected();
    void onComponentDoubleClicked();
    /// Runs the component properties dialog on the selected component; the entry shows the
    /// name it leaves.
    void editComponentProperties();
    void onAttachmentSelected();

private:
    QListWidget* componentList() const;
    QListWidget* attachmentList() const;

    MainDialog& m_window;
};

} // namespace app
