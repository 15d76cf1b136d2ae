#pragma once

#include "app/CommandTable.h"
#include "app/EditorState.h"
#include "app/PackedNoticeSink.h"
#include "checks/Finding.h"
#include "gamedata/GameInstallation.h"
#include "platform/DialogBuilder.h"
#include "viewer/Camera.h"
#include "viewer/Highlight.h"
#include "viewer/ShipView.h"
#include "viewer/TextureCache.h"

#include <QDialog>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>

class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QStatusBar;

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
class CommandWiring;
class ChecksPane;
class WindowLayout;
class ComponentCommands;
class ListPanes;
class PreviewControls;
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
/// by the main window template, under a menu bar and over a status bar. It owns the editor's
/// state, the view and the texture cache for the whole run. Its commands are the rows of the
/// command table, run through CommandWiring.
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
    ViewControls& viewControls() { return *m_viewControls; }
    AttachmentCommands& attachmentCommands() { return *m_attachmentCommands; }
    ComponentCommands& componentCommands() { return *m_componentCommands; }
    CommandWiring& commands() { return *m_commands; }
    /// Runs the command `id` as its button, entry or key does.
    void runCommand(CommandId id);
    /// Says in the status bar what the last command did or why it did nothing.
    void showStatus(const std::string& line);
    void clearStatus();
    /// The ship coordinates under the pointer ("X 12.5  Y -3.0"); empty clears them.
    void showPointerCoordinates(const std::string& text);
    /// The status bar's line, as the user reads it.
    QString statusLine() const;
    /// The status bar's counts of the checks' findings ("2 errors, 5 warnings").
    QString checkCountsLine() const;
    PreviewControls& preview() { return *m_preview; }
    ChecksPane& checksPane() { return *m_checksPane; }
    /// What the checks found in the open ship as it stands; empty without one.
    const std::vector<checks::Finding>& findings() const;
    /// Where the window's commands report.
    shipfile::MessageSink& sink() { return m_sink; }
    platform::FileDialogs& fileDialogs() { return m_fileDialogs; }
    platform::Questions& questions() { return m_questions; }
    /// The faces whose texture has this name are tinted in the view (empty: none).
    void setHighlightedTexture(std::string name) { m_view.highlightedTexture = std::move(name); }

    /// A ship file the user picks in the open-file dialog titled `title`, starting in the ships
    /// folder (Open and Merge); empty when cancelled.
    QString chooseShipFile(const char* title);
    /// Draws the open ship now with the current selection.
    void redrawView();
    /// What the view shows: the open ship, if any, and the selection.
    viewer::Scene scene() const;
    /// Sets the view's zoom, puts the slider at the nearest position it has without running
    /// its handler, and redraws.
    void setZoom(double zoom);
    /// The zoom at the slider's far end; a zoom past it comes back to it.
    void setFarthestZoom(int farthest);
    /// Loads the ship file at `path` with the editor's messages (Open and Merge). A file that
    /// holds no blocks is said to, as nothing else would tell the user why nothing opened.
    std::unique_ptr<shipfile::ShipFile> loadShipFile(const std::filesystem::path& path);
    std::unique_ptr<shipfile::ShipFile> loadShipFile(const std::filesystem::path& path,
                                                     shipfile::MessageSink& sink);
    /// Whether the open ship differs from what was last loaded or saved.
    bool hasUnsavedChanges() const;
    /// Brings the ship-class field and the window title up to date; every command that may
    /// change the document calls it.
    void refreshDocumentState();
    /// Brings the undo and redo entries, and with them the title, up to date after the history
    /// changed.
    void refreshHistoryEntries();
    /// Opens `path` as Open does once a file is chosen: after asking to save changes.
    void openPath(const std::filesystem::path& path);
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
    /// Finds the game in a folder the user chooses and takes its textures and ships from
    /// there, in this run and the next ones.
    void chooseGameFolder();
    /// Writes the open ship as glTF or OBJ to a file the user chooses.
    void exportShip();
    void showAbout();
    /// Help's list of every key of the window.
    void showShortcuts();

    /// Exit, Escape and the close box all end here.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    /// A ship file dropped on the window is opened as Open would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createView();
    void setStartStates();
    void connectCommands();
    void createBars();
    /// The file and the counts of components, faces and attachments, at the status bar's end.
    void refreshShipSummary();
    /// Takes the textures and the ships folder from `game`.
    void useGame(const gamedata::GameInstallation& game);
    void createChecksPane();
    /// Runs the checks on the open ship and lists their findings; the marks of the finding
    /// gone to last go, as the step may have moved what they pointed at.
    void refreshChecks();
    /// Places the controls, the view and the Checks pane for the window's size.
    void placeControls();
    void loadDocument(const std::filesystem::path& path);
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
    /// The open ship's own sink, which keeps the packed-ship notice for the status bar.
    PackedNoticeSink m_documentSink{m_sink};
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
    std::unique_ptr<CommandWiring> m_commands;
    std::unique_ptr<PreviewControls> m_preview;
    std::unique_ptr<WindowLayout> m_layout;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_shipSummary = nullptr;
    QLabel* m_checkCounts = nullptr;
    /// The ship point under the pointer, in a fixed view.
    QLabel* m_pointer = nullptr;
    /// The zoom at the slider's far end, from the zoom-range field.
    double m_farthestZoom = viewer::camera::MaxZoom;
    /// Whether the open ship was packed in its file: saving writes it plain, and says so.
    bool m_openedPacked = false;
    ChecksPane* m_checksPane = nullptr;
    QAction* m_checksAction = nullptr;
    viewer::Highlight m_highlight;

    /// The ship-class text last shown; reset by every Open, so the next file always shows.
    std::optional<QString> m_shownShipClass;
};

} // namespace app
