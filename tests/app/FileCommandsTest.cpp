#include "exporter/ShipExport.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Strings.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Messages.h"
#include "shipfile/ShipFile.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QAction>
#include <QComboBox>
#include <QTableWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QUrl>

// Opening, saving, exporting, the recent files, dropping, and the save question before the
// document goes.
namespace apptests {

namespace id = resources::mainwindow;
namespace messages = shipfile::messages;
namespace strings = resources::strings;
using platform::SaveAnswer;
using testsupport::buildShip;
using testsupport::sampleShip;

namespace {

void expectNoDocument(Editor& editor)
{
    auto& w = editor.window();
    QVERIFY(!editor.state().file());
    QVERIFY(listed(w, id::ComponentList).isEmpty());
    QVERIFY(listed(w, id::AttachmentList).isEmpty());
    QVERIFY(w.control<QLineEdit>(id::ShipClass)->text().isEmpty());
    QCOMPARE(w.windowTitle(), QStringLiteral("Korvex"));
}

} // namespace

class FileCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void aShipThatDoesNotOpenSaysWhyAndKeepsTheOpenShip()
    {
        Editor editor;
        const fs::path missing = editor.dir() / "missing.shp";
        editor.start(pathText(missing));
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{
                     messages::formatText(messages::ErrorOpening.text, missing.string()) +
                     " (No such file or directory)"});
        expectNoDocument(editor);

        // A ship open before stays open, changes, selection and history included.
        auto& w = editor.window();
        const fs::path sample = editor.writeShip("sample.shp", buildShip(sampleShip()));
        editor.files.answer = pathText(sample);
        w.openShpFile();
        clickEntry(w, id::ComponentList, 0);
        clickEntry(w, id::AttachmentList, 0);
        click(w, id::ChangeShipClass);
        const auto image = editor.state().file()->serialise();
        const testsupport::ByteVector garbage = {'n', 'o', 't', ' ', 'a', ' ', 's', 'h', 'i', 'p'};
        const fs::path bad = editor.writeShip("bad.shp", garbage);
        editor.questions.answer = SaveAnswer::Discard;
        editor.sink.messages.clear();
        for (const fs::path& unreadable : {bad, editor.dir()}) {
            editor.files.answer = pathText(unreadable);
            w.openShpFile();
        }
        QCOMPARE(editor.sink.texts(),
                 (std::vector<std::string>{
                     std::string(messages::NotAnShp.text),
                     messages::formatText(messages::ErrorOpening.text, editor.dir().string()) +
                         " (Is a directory)"}));
        QVERIFY(editor.state().file()->serialise() == image);
        QCOMPARE(editor.state().currentFileName, sample);
        QCOMPARE(listed(w, id::ComponentList).size(), 2);
        QCOMPARE(editor.state().selectedAttachment, 0);
        QVERIFY(w.isWindowModified());
        QVERIFY(editor.state().session->history().canUndo());
        QCOMPARE(readBytes(bad), garbage);
    }

    void saveAndSaveAsWriteTheShipWhereTheTitleSays()
    {
        Editor editor;
        auto& w = editor.open();
        const fs::path ship = editor.dir() / "sample.shp";
        QCOMPARE(editor.state().currentFileName, ship);
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex - sample.shp[*]"));
        click(w, id::ChangeShipClass);
        click(w, id::Save);
        QCOMPARE(readBytes(ship), editor.state().file()->serialise());
        QVERIFY(!w.isWindowModified());
        const testsupport::ByteVector original = readBytes(ship);
        click(w, id::ChangeShipClass);

        // A folder that does not exist: the message, and nothing else changes.
        const fs::path nowhere = editor.dir() / "missing" / "copy.shp";
        editor.files.answer = pathText(nowhere);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor.files.startPath, pathText(ship));
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{
                     messages::formatText(messages::ErrorSaving.text, nowhere.string()) +
                     " (No such file or directory)"});
        QCOMPARE(editor.state().currentFileName, ship);
        QVERIFY(w.hasUnsavedChanges());

        const fs::path copy = editor.dir() / "copy.shp";
        editor.files.answer = pathText(copy);
        w.saveAs();
        QCOMPARE(readBytes(copy), editor.state().file()->serialise());
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex - copy.shp[*]"));
        QVERIFY(!w.isWindowModified());

        click(w, id::ChangeShipClass);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(readBytes(copy), editor.state().file()->serialise());
        QCOMPARE(readBytes(ship), original);
    }

    void recentFilesAreSharedByWindowsAndKeptBetweenRuns()
    {
        testsupport::TempDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           pathText(settings.path()));
        // The submenu is filled as it opens.
        const auto recent = [](app::MainDialog& w) {
            QMenu* menu = menuEntry(w, QStringLiteral("Recent Files"))->menu();
            emit menu->aboutToShow();
            return menu->actions();
        };
        const auto entries = [&](app::MainDialog& w) {
            QStringList out;
            for (const QAction* action : recent(w))
                out << (action->isEnabled() ? QString() : QStringLiteral("(off) ")) +
                           action->text();
            return out;
        };

        Editor first;
        auto& w1 = first.start();
        QCOMPARE(entries(w1), QStringList{QStringLiteral("(off) (none)")});
        std::vector<fs::path> ships;
        for (int n = 0; n < 9; ++n) {
            ships.push_back(
                first.writeShip("ship" + std::to_string(n) + ".shp", buildShip(sampleShip())));
            first.files.answer = pathText(ships.back());
            w1.openShpFile();
        }
        // Opening one again moves it to the top instead of listing it twice.
        first.files.answer = pathText(ships[3]);
        w1.openShpFile();

        Editor second;
        auto& w2 = second.start();
        fs::remove(ships[8]);
        const QStringList listed = entries(w2);
        QCOMPARE(listed.size(), 8);
        QCOMPARE(listed.at(0), QStringLiteral("&1 ") + pathText(ships[3]));
        QCOMPARE(listed.at(1), QStringLiteral("(off) &2 ") + pathText(ships[8]));
        QCOMPARE(listed.at(7), QStringLiteral("&8 ") + pathText(ships[1]));

        // Choosing an entry opens that file; a saved copy goes to the top too.
        recent(w2).at(2)->trigger();
        QCOMPARE(second.state().currentFileName, ships[7]);
        second.files.answer = pathText(second.dir() / "saved.shp");
        w2.saveAs();
        QCOMPARE(entries(w2).at(0), QStringLiteral("&1 ") + pathText(second.dir() / "saved.shp"));
    }

    void aDroppedShipOpensAfterTheSaveQuestion()
    {
        Editor editor;
        auto& w = editor.open();
        const fs::path dropped = editor.writeShip("dropped.shp", buildShip(sampleShip()));
        click(w, id::ChangeShipClass);
        editor.questions.answer = SaveAnswer::Discard;

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(pathText(dropped))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &drop);
        QTRY_COMPARE(editor.state().currentFileName, dropped);
        QCOMPARE(editor.questions.asked,
                 QStringList{QStringLiteral("Save changes to sample.shp?")});

        // Text without a file is not taken.
        QMimeData words;
        words.setText(QStringLiteral("not a file"));
        QDragEnterEvent refused(QPoint(20, 20), Qt::CopyAction, &words, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void theSaveQuestionGuardsExitEscapeTheCloseBoxAndOpen()
    {
        // The ways the document can go: the window closes, or Open puts the file's ship in.
        const std::function<void(app::MainDialog&)> ways[] = {
            [](app::MainDialog& w) { click(w, id::Exit); },
            [](app::MainDialog& w) { QTest::keyClick(&w, Qt::Key_Escape); },
            [](app::MainDialog& w) { w.close(); },
            [](app::MainDialog& w) { w.openShpFile(); },
        };
        const struct
        {
            bool changed;
            SaveAnswer answer;
            bool gone, written;
        } cases[] = {
            {false, SaveAnswer::Cancel, true, false},
            {true, SaveAnswer::Cancel, false, false},
            {true, SaveAnswer::Discard, true, false},
            {true, SaveAnswer::Save, true, true},
        };
        for (const auto& way : ways)
            for (const auto& c : cases) {
                Editor editor;
                auto& w = editor.open();
                const fs::path ship = editor.state().currentFileName;
                const testsupport::ByteVector original = readBytes(ship);
                editor.files.answer = pathText(ship);
                if (c.changed)
                    click(w, id::ChangeShipClass);
                editor.questions.answer = c.answer;

                way(w);
                QCOMPARE(!w.isVisible() || w.state().file()->serialise() == readBytes(ship),
                         c.gone);
                QCOMPARE(editor.questions.asked.size(), qsizetype(c.changed ? 1 : 0));
                if (c.changed) {
                    QCOMPARE(editor.questions.asked.front(),
                             QStringLiteral("Save changes to sample.shp?"));
                    QCOMPARE(editor.questions.lastOwner, &w);
                }
                QCOMPARE(readBytes(ship) != original, c.written);
            }

        // A save that fails keeps the window open.
        Editor editor;
        auto& w = editor.open();
        click(w, id::ChangeShipClass);
        editor.questions.answer = SaveAnswer::Save;
        editor.state().currentFileName = editor.dir() / "gone" / "sample.shp";
        click(w, id::Exit);
        QCOMPARE(editor.sink.messages.size(), std::size_t{1});
        QVERIFY(w.isVisible());
    }

    void exportEntryWritesWhatTheCommandLineWrites()
    {
        Editor editor;
        auto& w = editor.open();
        const fs::path ship = editor.state().currentFileName;
        QAction* entry = menuEntry(w, QStringLiteral("Export..."));
        // A name typed without an extension takes the chosen filter's.
        editor.files.answer = pathText(editor.dir() / "editor");
        editor.files.chosenFilter = QString::fromUtf8(strings::GlbFilter);
        entry->trigger();
        QCOMPARE(editor.files.startPath, pathText(editor.dir() / "sample.glb"));
        QCOMPARE(editor.files.filters.size(), 3);
        QVERIFY(editor.sink.messages.empty());

        const fs::path cli = editor.dir() / "cli.glb";
        QProcess tool;
        tool.start(QStringLiteral(KORVEX_SHP_PATH),
                   {QStringLiteral("export"), pathText(ship), QStringLiteral("-o"), pathText(cli),
                    QStringLiteral("--textures"), pathText(editor.state().texturePath)});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);

        const testsupport::ByteVector bytes = readBytes(editor.dir() / "editor.glb");
        QVERIFY(bytes.size() > 1000); // textures included
        QVERIFY(bytes == readBytes(cli));

        // Cancelling the dialog writes nothing.
        editor.files.answer.clear();
        entry->trigger();
        QVERIFY(editor.sink.messages.empty());
    }

    void importEntryShowsTheMatchesAndAppliesAsOneStep()
    {
        Editor editor;
        auto& w = editor.open();
        const auto before = editor.state().file()->serialise();
        // The hull's last face deleted, and a new object that names no component.
        const fs::path obj = editor.dir() / "changed.obj";
        QVERIFY(exporter::exportShip(*editor.state().file(), obj, {}, editor.sink));
        const auto bytes = readBytes(obj);
        std::string text(bytes.begin(), bytes.end());
        const std::size_t line = text.rfind("\nf ", text.find("o Turret")) + 1;
        text.erase(line, text.find('\n', line) + 1 - line);
        text += "o Lid\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\n";
        editor.writeShip("changed.obj", testsupport::ByteVector(text.begin(), text.end()));

        editor.files.answer = pathText(obj);
        QStringList rows;
        ModalDriver driver([&rows](QDialog& dialog) {
            auto* table = dialog.findChild<QTableWidget*>();
            for (int r = 0; r < table->rowCount(); ++r) {
                auto* action = qobject_cast<QComboBox*>(table->cellWidget(r, 1));
                rows << table->item(r, 0)->text() + QLatin1Char(':') + action->currentText() +
                            QLatin1Char(':') + table->item(r, 2)->text();
                if (table->item(r, 0)->text() == QStringLiteral("Lid"))
                    action->setCurrentIndex(action->findText(QString::fromUtf8(strings::ImportAddNew)));
            }
            dialog.accept();
        });
        menuEntry(w, QStringLiteral("Import..."))->trigger();
        QCOMPARE(rows, (QStringList{QStringLiteral("Hull:Replace \"Hull\":16 -> 16 vertices, 24 -> 23 faces"),
                                    QStringLiteral("Turret:Replace \"Turret\":kept as it was"),
                                    QStringLiteral("Lid:Skip:")}));
        QVERIFY(editor.sink.messages.empty());
        QCOMPARE(listed(w, id::ComponentList).size(), 3);
        QCOMPARE(shipfile::nthBlockOfType(*editor.state().file(), 3, 0)->count(), 23u);

        QAction* undo = menuEntry(w, QStringLiteral("Undo"));
        QCOMPARE(entryText(undo), QStringLiteral("Undo Import"));
        undo->trigger();
        QVERIFY(editor.state().file()->serialise() == before);
        QCOMPARE(listed(w, id::ComponentList).size(), 2);
    }
};

KORVEX_REGISTER_TEST(FileCommandsTest);

} // namespace apptests

#include "FileCommandsTest.moc"
