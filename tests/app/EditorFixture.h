#pragma once

#include "app/MainDialog.h"
#include "platform/FileDialogs.h"
#include "platform/Questions.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

// The main window on recording services, and the user's hands on it: clicks on its controls by
// id and on the modal dialogs its commands open.
namespace apptests {

namespace fs = std::filesystem;

/// Answers the save question with `answer` and keeps what was asked.
class ScriptedQuestions final : public platform::Questions
{
public:
    platform::SaveAnswer askToSave(QWidget* owner, const QString& text) override;

    platform::SaveAnswer answer = platform::SaveAnswer::Cancel;
    QStringList asked;
    QWidget* lastOwner = nullptr;
};

/// Answers the file dialogs with the scripted names (empty: cancelled) and keeps what the
/// dialogs were given.
class ScriptedFileDialogs final : public platform::FileDialogs
{
public:
    QString openFileName(QWidget* owner, const QString& directory,
                         const QStringList& filters) override;
    QString saveFileName(QWidget* owner, const QString& path, const QStringList& filters) override;
    QString exportFileName(QWidget* owner, const QString& suggested, const QStringList& filters,
                           QString& chosenFilter) override;

    QString answer;
    int calls = 0;
    QString directory;
    QStringList filters;
    QString saveAnswer;
    QString saveStartPath;
    QString exportAnswer;
    QString exportFilter;
    QString exportSuggested;
    QStringList exportFilters;
};

/// The main window on recording services, in a temporary directory of its own.
class Editor
{
public:
    Editor();
    ~Editor();

    /// Builds and shows the window, waits until it is exposed, then runs the rest of start-up
    /// with `prefix` as the Wine prefix and `commandLineFile` as the argument.
    app::MainDialog& start(const fs::path& prefix, const QString& commandLineFile = {});
    /// start() on the test prefix with `ship` open from the command line and the window active.
    app::MainDialog& open(const testsupport::Ship& ship = testsupport::sampleShip());

    app::MainDialog& window() { return *m_window; }
    app::EditorState& state() { return m_window->state(); }
    fs::path dir() const { return m_dir.path(); }
    /// A ship file in the temporary directory.
    fs::path writeShip(const std::string& name, const testsupport::ByteVector& image) const;
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
    int shown = 0;

private:
    std::function<void(QDialog&)> m_act;
    QTimer m_poll;
    QDialog* m_last = nullptr;
};

inline void rejectDialog(QDialog& dialog)
{
    dialog.reject();
}

/// Makes `window` the active window, where its shortcuts work.
void activate(QWidget& window);

/// The file's bytes.
testsupport::ByteVector readFile(const fs::path& path);

inline QString pathText(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

/// Clicks the main window's button `buttonId`, or its check box on the indicator.
void click(app::MainDialog& window, int controlId);
/// Clicks, or double-clicks, entry `row` of the main window's list `listId`.
void clickEntry(app::MainDialog& window, int listId, int row);
void doubleClickEntry(app::MainDialog& window, int listId, int row);
/// Clicks a check box on its indicator, as a user does.
void clickCheckBox(QCheckBox* box);
bool isChecked(app::MainDialog& window, int boxId);
/// The texts of the main window's list `listId`.
QStringList listed(app::MainDialog& window, int listId);
/// The highlighted row of a list, -1 when none is highlighted.
int highlightedRow(app::MainDialog& window, int listId);

} // namespace apptests
