#pragma once

#include "app/EditorState.h"
#include "checks/Finding.h"
#include "platform/DialogBuilder.h"
#include "viewer/Highlight.h"
#include "viewer/ShipView.h"
#include "viewer/TextureCache.h"

#include <QDialog>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QListWidget;
class QMenu;

namespace shipfile {
class MessageSink;
}

namespace platform {
class FileDialogs;
class Questions;
} // namespace platform

namespace viewer {
class ShipViewWidget;
}

namespace app {

class AttachmentCommands;
class ChecksPane;
class WindowLayout;
class ComponentCommands;
class ListPanes;
class ViewControls;

/// Where the main window reports, asks and finds the game: main() passes the desktop's
/// message boxes and file dialogs and the user's Wine prefix; tests pass recording ones.
struct Services
{
    shipfile::MessageSink& sink;
    platform::Questions& questions;
    platform::FileDialogs& fileDialogs;
    std::filesystem::path winePrefix;
};

/// The editor's one window: the ship view, the two lists and every command button, laid out
/// by the main window template. It owns the editor's state, the view and the texture cache
/// for the whole run. Each command is one slot connected to its button by id.
class MainDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MainDialog(const Services& services, QWidget* parent = nullptr);
    ~MainDialog() override;

    /// The rest of start-up, once the window can own message boxes: finds the game through
    /// the registry, derives the texture and ships paths, and opens `commandLineFile` unless
    /// it is empty.
    void start(const QString& commandLineFile);

    /// The control with id `id`, or null.
    template <typename T> T* control(int id) const { return platform::findControl<T>(*this, id); }

    EditorState& state() { return m_state; }
    viewer::ShipView& view() { return m_view; }
    viewer::ShipViewWidget* viewWidget() const { return m_viewWidget; }
    ListPanes& listPanes() { return *m_listPanes; }
    ChecksPane& checksPane() { return *m_checksPane; }
    /// What the checks found in the open ship as it stands; empty without one.
    const std::vector<checks::Finding>& findings() const;
    /// Where the window's commands report.
    shipfile::MessageSink& sink() { return m_sink; }
    platform::FileDialogs& fileDialogs() { return m_fileDialogs; }

    /// A ship file the user picks in the open-file dialog, starting in the ships folder (Open
    /// and Merge); empty when cancelled.
    QString chooseShipFile();
    /// Draws the open ship now with the current selection.
    void redrawView();
    /// What the view shows: the open ship, if any, and the selection.
    viewer::Scene scene() const;
    /// Sets the view's zoom, puts the slider at the nearest position it has without running
    /// its handler, and redraws.
    void setZoom(double zoom);
    /// Loads the ship file at `path` with the editor's messages (Open and Merge). A file that
    /// holds no blocks is said to, as nothing else would tell the user why nothing opened.
    std::unique_ptr<shipfile::ShipFile> loadShipFile(const std::filesystem::path& path);
    /// Whether the open ship differs from what was last loaded or saved.
    bool hasUnsavedChanges() const;
    /// Brings the ship-class field and the window title up to date; every command that may
    /// change the document calls it.
    void refreshDocumentState();
    /// Brings the undo and redo entries, and with them the title, up to date after the history
    /// changed.
    void refreshHistoryEntries();
    /// Shows the open ship afresh after it was put back to an earlier image: lists, special
    /// block boxes, ship class, title and view, with the selected component and attachment
    /// kept where the ship still has them and cleared where it does not.
    void showRestoredDocument();
    /// Shows or hides the Checks pane along the window's bottom edge; the window grows or
    /// shrinks by its height unless maximised, so the view keeps its size.
    void setChecksPaneShown(bool shown);
    /// Goes to finding `index`: selects its component and attachment, fits the component into
    /// the view and marks the faces or vertices it is about.
    void goToFinding(int index);

public slots:
    void openShpFile();
    void save();
    /// Saves the ship under a path the user chooses, which Save and the title then use.
    void saveAs();
    void undo();
    void redo();
    void showAbout();

protected:
    /// Exit, Escape and the close box all end here.
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;
    /// A ship file dropped on the window is opened as Open would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createView();
    void setStartStates();
    void connectCommands();
    /// The window's context menu and the keys of its entries, in menu order.
    void createMenu();
    void createChecksPane();
    /// Runs the checks on the open ship and lists their findings; the marks of the finding
    /// gone to last go, as the step may have moved what they pointed at.
    void refreshChecks();
    /// Places the controls, the view and the Checks pane for the window's size.
    void placeControls();
    /// Fills the "Recent Files" submenu afresh; it runs each time the submenu shows.
    void refreshRecentFilesMenu();
    void loadDocument(const std::filesystem::path& path);
    /// Opens `path` as Open does once a file is chosen: after asking to save changes.
    void openPath(const std::filesystem::path& path);
    /// Asks whether to save unsaved changes; false when the user keeps the document open.
    bool confirmDiscardChanges();
    /// Saves the ship to `path`, which becomes the current file name. On failure the message
    /// has been shown and nothing changes.
    bool saveDocument(const std::filesystem::path& path);
    void refreshShipClass();
    void refreshTitle();
    void onZoomChanged(int position);
    bool handleKey(QKeyEvent& event);

    shipfile::MessageSink& m_sink;
    platform::Questions& m_questions;
    platform::FileDialogs& m_fileDialogs;
    std::filesystem::path m_winePrefix;

    EditorState m_state;
    viewer::ShipView m_view;
    viewer::TextureCache m_textures;
    viewer::ShipViewWidget* m_viewWidget = nullptr;
    /// The "Ship" box at the template's size, where the view is 388 pixels square.
    QSize m_templateShipBox;
    QString m_baseTitle;
    std::unique_ptr<ListPanes> m_listPanes;
    std::unique_ptr<ViewControls> m_viewControls;
    std::unique_ptr<AttachmentCommands> m_attachmentCommands;
    std::unique_ptr<ComponentCommands> m_componentCommands;
    std::unique_ptr<WindowLayout> m_layout;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QMenu* m_recentFilesMenu = nullptr;
    ChecksPane* m_checksPane = nullptr;
    QAction* m_checksAction = nullptr;
    viewer::Highlight m_highlight;

    /// The ship-class text last shown; reset by every Open, so the next file always shows.
    std::optional<QString> m_shownShipClass;
};

} // namespace app
