#pragma once

#include "app/MainDialog.h"
#include "platform/FileDialogs.h"
#include "platform/Questions.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

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

/// Answers the open-file dialog with `answer` (empty: cancelled) and keeps what it was given;
/// the export dialog likewise with `exportAnswer` in the filter `exportFilter`.
class ScriptedFileDialogs final : public platform::FileDialogs
{
public:
    QString openFileName(QWidget* owner, const QString& directory,
                         const QStringList& filters) override;
    QString exportFileName(QWidget* owner, const QString& suggested, const QStringList& filters,
                           QString& chosenFilter) override;

    QString exportAnswer;
    QString exportFilter;
    QString exportSuggested;
    QStringList exportFilters;

    /// Answers the save-as dialog with `saveAnswer` (empty: cancelled).
    QString saveFileName(QWidget* owner, const QString& path, const QStringList& filters) override;

    QString answer;
    int calls = 0;
    QString directory;
    QStringList filters;
    QString saveAnswer;
    QString saveStartPath;
};

/// The main window on recording services, in a temporary directory of its own.
class Editor
{
public:
    Editor();
    ~Editor();

    /// Builds and shows the window, waits until its view has a GL context, then runs the rest
    /// of start-up with `prefix` as the Wine prefix and `commandLineFile` as the argument.
    app::MainDialog& start(const fs::path& prefix, const QString& commandLineFile = {});
    /// start() with the sample ship open and the window active.
    app::MainDialog& startWithSampleShip();

    app::MainDialog& window() { return *m_window; }
    app::EditorState& state() { return m_window->state(); }
    fs::path dir() const;
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
    QTemporaryDir m_dir;
    std::unique_ptr<app::MainDialog> m_window;
};

/// Calls `inspect` on the next modal dialog once it shows, then closes it, so tests can look
/// at message boxes and the About box without blocking.
void inspectNextModal(std::function<void(QWidget&)> inspect);

/// Makes `window` the active window, where its shortcuts work.
void activate(QWidget& window);

/// The file's bytes.
testsupport::ByteVector readFile(const fs::path& path);

} // namespace apptests
