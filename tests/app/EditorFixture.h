#pragma once

#include "app/MainDialog.h"
#include "platform/FileDialogs.h"
#include "platform/Questions.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"
#include "viewer/FixedViews.h"
#include "viewer/MouseDrag.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

class QAction;

// The main window on recording services, and the user's hands on it: clicks on its controls by
// id, its context menu by entry text, and the modal dialogs its commands open.
namespace apptests {

namespace fs = std::filesystem;

/// Answers the save question with `answer`, the one before a risky save with `saveAnyway`, and
/// keeps what was asked.
class ScriptedQuestions final : public platform::Questions
{
public:
    platform::SaveAnswer askToSave(QWidget* owner, const QString& text) override
    {
        asked << text;
        lastOwner = owner;
        return answer;
    }
    bool confirmSave(QWidget* owner, const QString& text) override
    {
        asked << text;
        lastOwner = owner;
        return saveAnyway;
    }

    platform::SaveAnswer answer = platform::SaveAnswer::Cancel;
    bool saveAnyway = false;
    QStringList asked;
    QWidget* lastOwner = nullptr;
};

/// Answers every file dialog with `answer` (empty: cancelled) and keeps what the last dialog
/// was given: the folder or file it starts at and its filters.
class ScriptedFileDialogs final : public platform::FileDialogs
{
public:
    QString openFileName(QWidget*, const QString& directory,
                         const QStringList& nameFilters) override
    {
        return asked(directory, nameFilters);
    }
    QString saveFileName(QWidget*, const QString& path, const QStringList& nameFilters) override
    {
        return asked(path, nameFilters);
    }
    QString exportFileName(QWidget*, const QString& suggested, const QStringList& nameFilters,
                           QString& filter) override
    {
        filter = chosenFilter;
        return asked(suggested, nameFilters);
    }

    QString answer;
    QString chosenFilter;
    int calls = 0;
    QString startPath;
    QStringList filters;

private:
    QString asked(const QString& start, const QStringList& nameFilters)
    {
        ++calls;
        startPath = start;
        filters = nameFilters;
        return answer;
    }
};

/// The main window on recording services, in a temporary directory of its own.
class Editor
{
public:
    /// Builds and shows the window, waits until it is exposed, then runs the rest of start-up
    /// with `prefix` as the Wine prefix (empty: a fresh test prefix) and `commandLineFile` as
    /// the argument.
    app::MainDialog& start(const QString& commandLineFile = {}, fs::path prefix = {});
    /// start() with `ship` open from the command line and the window active.
    app::MainDialog& open(const testsupport::Ship& ship = testsupport::sampleShip());

    app::MainDialog& window() { return *m_window; }
    app::EditorState& state() { return m_window->state(); }
    fs::path dir() const { return m_dir.path(); }
    /// A ship file in the temporary directory.
    fs::path writeShip(const std::string& name, const testsupport::ByteVector& image)
    {
        return m_dir.write(name, image);
    }
    /// A prefix whose registry has the game key (when `withKey`) naming the directory
    /// C:\Games\Vantaris (when `withValue`), with that directory holding a texture cache.
    fs::path writePrefix(const std::string& name, bool withKey = true, bool withValue = true) const;

    /// How many pixels of the view's last shown picture are not background.
    int shipPixels();
    QImage picture();

    testsupport::RecordingSink sink;
    ScriptedQuestions questions;
    ScriptedFileDialogs files;

private:
    testsupport::TempDir m_dir;
    std::unique_ptr<app::MainDialog> m_window;
};

/// Acts on every modal dialog (message boxes too) that opens while it lives: `act` gets the
/// dialog and must close it. Counts the dialogs it saw.
class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(QDialog&)> act);
    /// Gives the activation back to the window that had it, or else to the dialog's window:
    /// the window manager does that late, and until it does, that window's shortcuts do not
    /// fire.
    ~ModalDriver();
    int shown = 0;

private:
    std::function<void(QDialog&)> m_act;
    QPointer<QWidget> m_owner;
    QTimer m_poll;
    QDialog* m_last = nullptr;
};

inline void rejectDialog(QDialog& dialog)
{
    dialog.reject();
}

using testsupport::readBytes;

inline QString pathText(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

/// The context-menu entry whose text, read without its '&', starts with `text`.
QAction* menuEntry(const QWidget& window, const QString& text);
/// An entry's text without its '&'.
QString entryText(const QAction* action);

/// Clicks the main window's button `buttonId`, or its check box on the indicator.
void click(app::MainDialog& window, int controlId);
/// Clicks, or double-clicks, entry `row` of the main window's list `listId`.
void clickEntry(app::MainDialog& window, int listId, int row);
void doubleClickEntry(app::MainDialog& window, int listId, int row);
bool isChecked(app::MainDialog& window, int boxId);
/// The texts of the main window's list `listId`.
QStringList listed(app::MainDialog& window, int listId);
/// The highlighted row of a list, -1 when none is highlighted.
int highlightedRow(app::MainDialog& window, int listId);
/// Picks `choice` in the view box, as a user does.
void chooseView(app::MainDialog& window, viewer::ViewChoice choice);
/// Presses Shift until the mouse-mode field names `mode`.
void setMouseMode(app::MainDialog& window, viewer::MouseMode mode);
/// Types a key into whatever has the focus in the main window, as the keyboard would.
void press(app::MainDialog& window, Qt::Key key);

} // namespace apptests
