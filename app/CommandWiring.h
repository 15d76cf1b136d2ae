#pragma once

#include "app/CommandTable.h"

#include <QObject>
#include <QString>

#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace shipfile {
class ShipFile;
}

namespace app {

class EditStep;
class MainDialog;

/// Puts the command table into the main window: one action per row, in the menu bar and the
/// context menu, bound to the row's keys and connected to its button or check box; keeps each
/// control and entry enabled only while what it needs is there; and runs every command the
/// same way, a command that edits the ship as one undo step.
class CommandWiring final : public QObject
{
    Q_OBJECT

public:
    explicit CommandWiring(MainDialog& window);
    ~CommandWiring() override;

    /// Runs `id` as its control, entry or key does. A command whose needs are not met runs not
    /// and says in the status bar what it needs.
    void run(CommandId id);
    /// The ship the running command changes, inside its step.
    shipfile::ShipFile& ship();
    /// Takes back what the running command changed so far (a dialog cancelled).
    void cancelStep();
    /// Enables each control and entry by what it needs, names the undo and redo steps and
    /// ticks the entries of check boxes as their boxes are.
    void refresh();

    QAction* action(CommandId id) const { return m_actions.at(id); }
    QMenuBar* menuBar() const { return m_menuBar; }
    QMenu* contextMenu() const { return m_contextMenu; }
    QMenu* viewMenu() const { return m_viewMenu; }
    /// Every key of the window, one line each, as Help's shortcut list shows them.
    QString shortcutList() const;

private:
    void createActions();
    void createMenus();
    void connectControls();
    /// Fills the "Recent Files" submenu afresh; it runs each time the submenu shows.
    void refreshRecentFilesMenu();
    bool needsMet(Needs needs) const;

    MainDialog& m_window;
    std::map<CommandId, QAction*> m_actions;
    QMenuBar* m_menuBar = nullptr;
    QMenu* m_contextMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_recentFilesMenu = nullptr;
    /// The undo step of the command running now, if it edits the ship.
    EditStep* m_step = nullptr;
};

/// The name of the undo step of a row: its menu text without '&' and a trailing "...".
QString stepName(const Command& command);

} // namespace app
