#include "resources/MainWindowTemplate.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Messages.h"
#include "shipfile/ShipFile.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QUrl>

// Opening, saving, the recent files, dropping, and the save question before the document goes.
namespace apptests {

namespace id = resources::mainwindow;
namespace messages = shipfile::messages;
using platform::SaveAnswer;
using testsupport::buildShip;
using testsupport::sampleShip;

namespace {

testsupport::Ship shipOfClass(std::int8_t shipClass)
{
    testsupport::Ship ship = sampleShip();
    ship.shipClass = shipClass;
    return ship;
}

void expectNoDocument(Editor& editor)
{
    auto& w = editor.window();
    QVERIFY(!editor.state().file);
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
    void theCommandLineShipIsListedDrawnAndSavedBack()
    {
        Editor editor;
        auto& w = editor.open();
        const fs::path ship = editor.dir() / "sample.shp";
        QCOMPARE(editor.state().currentFileName, ship);
        QCOMPARE(listed(w, id::ComponentList), texts({"Hull", "Turret"}));
        QTRY_VERIFY(editor.shipPixels() > 500);
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex - sample.shp[*]"));
        QVERIFY(!w.isWindowModified());

        click(w, id::ChangeShipClass);
        click(w, id::Save);
        QCOMPARE(readFile(ship), editor.state().file->serialise());
        QVERIFY(!w.isWindowModified());
        QVERIFY(editor.sink.messages.empty());
    }

    void aShipThatDoesNotOpenLeavesNoDocument()
    {
        Editor editor;
        const fs::path missing = editor.dir() / "missing.shp";
        editor.start(editor.writePrefix("prefix"), pathText(missing));
        QCOMPARE(editor.sink.texts(), std::vector<std::string>{messages::formatText(
                                          messages::ErrorOpening.text, missing.string())});
        expectNoDocument(editor);

        // A ship open before: gone with its lists and selection; Save then writes nothing.
        auto& w = editor.window();
        editor.files.answer = pathText(editor.writeShip("sample.shp", buildShip(sampleShip())));
        w.openShpFile();
        clickEntry(w, id::ComponentList, 0);
        clickEntry(w, id::AttachmentList, 0);
        const testsupport::ByteVector garbage = {'n', 'o', 't', ' ', 'a', ' ', 's', 'h', 'i', 'p'};
        const fs::path bad = editor.writeShip("bad.shp", garbage);
        editor.files.answer = pathText(bad);
        editor.sink.messages.clear();
        w.openShpFile();
        QCOMPARE(editor.sink.texts(), std::vector<std::string>{std::string(messages::NotAnShp.text)});
        expectNoDocument(editor);
        QCOMPARE(editor.state().selectedComponent, -1);
        QCOMPARE(editor.state().selectedAttachment, -1);
        editor.sink.messages.clear();
        click(w, id::Save);
        QVERIFY(editor.sink.messages.empty());
        QCOMPARE(readFile(bad), garbage);
    }

    void saveAsWritesTheNewPathWhichSaveThenUses()
    {
        Editor editor;
        auto& w = editor.open();
        const fs::path ship = editor.dir() / "sample.shp";
        const testsupport::ByteVector original = readFile(ship);
        click(w, id::ChangeShipClass);

        // A folder that does not exist: the message, and nothing else changes.
        const fs::path nowhere = editor.dir() / "missing" / "copy.shp";
        editor.files.saveAnswer = pathText(nowhere);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor.files.saveStartPath, pathText(ship));
        QCOMPARE(editor.sink.texts(), std::vector<std::string>{messages::formatText(
                                          messages::ErrorSaving.text, nowhere.string())});
        QCOMPARE(editor.state().currentFileName, ship);
        QVERIFY(w.hasUnsavedChanges());

        const fs::path copy = editor.dir() / "copy.shp";
        editor.files.saveAnswer = pathText(copy);
        w.saveAs();
        QCOMPARE(readFile(copy), editor.state().file->serialise());
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex - copy.shp[*]"));
        QVERIFY(!w.isWindowModified());

        click(w, id::ChangeShipClass);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(readFile(copy), editor.state().file->serialise());
        QCOMPARE(readFile(ship), original);
    }

    void recentFilesAreSharedByWindowsAndKeptBetweenRuns()
    {
        testsupport::TempDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           pathText(settings.path()));
        const auto entries = [](app::MainDialog& w) {
            w.refreshRecentFilesMenu();
            QStringList out;
            for (const QAction* action : w.recentFilesMenu()->actions())
                out << (action->isEnabled() ? QString() : QStringLiteral("(off) ")) +
                           action->text();
            return out;
        };

        Editor first;
        auto& w1 = first.start(first.writePrefix("prefix"));
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
        auto& w2 = second.start(second.writePrefix("prefix"));
        fs::remove(ships[8]);
        const QStringList listed = entries(w2);
        QCOMPARE(listed.size(), 8);
        QCOMPARE(listed.at(0), QStringLiteral("&1 ") + pathText(ships[3]));
        QCOMPARE(listed.at(1), QStringLiteral("(off) &2 ") + pathText(ships[8]));
        QCOMPARE(listed.at(7), QStringLiteral("&8 ") + pathText(ships[1]));

        // Choosing an entry opens that file; a saved copy goes to the top too.
        w2.recentFilesMenu()->actions().at(2)->trigger();
        QCOMPARE(second.state().currentFileName, ships[7]);
        second.files.saveAnswer = pathText(second.dir() / "saved.shp");
        w2.saveAs();
        QCOMPARE(entries(w2).at(0), QStringLiteral("&1 ") + pathText(second.dir() / "saved.shp"));
    }

    void aDroppedShipOpensAfterTheSaveQuestion()
    {
        Editor editor;
        auto& w = editor.open();
        const fs::path dropped = editor.writeShip("dropped.shp", buildShip(shipOfClass(2)));
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

    void theShipClassFieldFollowsEveryFile()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix"));
        auto* field = w.control<QLineEdit>(id::ShipClass);
        const auto open = [&](const std::string& name, const testsupport::ByteVector& image) {
            editor.files.answer = pathText(editor.writeShip(name, image));
            w.openShpFile();
            return field->text();
        };
        QCOMPARE(open("bad.shp", {1, 2, 3}), QString());
        QCOMPARE(open("seven.shp", buildShip(shipOfClass(7))), QStringLiteral("[Value = 7]"));
        // A change to the class byte made outside the commands shows within a moment.
        QVERIFY(shipfile::setShipClass(*editor.state().file, 1));
        QTRY_COMPARE(field->text(), QStringLiteral("Capship"));
        // A header record too short to hold the class byte shows nothing.
        editor.questions.answer = SaveAnswer::Discard;
        testsupport::Ship shortHeader = shipOfClass(1);
        shortHeader.headerRecordSize = 20;
        QCOMPARE(open("short.shp", buildShip(shortHeader)), QString());
        QVERIFY(editor.state().file);
    }

    void theSaveQuestionGuardsExitEscapeTheCloseBoxAndOpen()
    {
        // How the window is left, and whether it is then gone.
        const std::function<bool(app::MainDialog&)> ways[] = {
            [](app::MainDialog& w) {
                click(w, id::Exit);
                return !w.isVisible();
            },
            [](app::MainDialog& w) {
                QTest::keyClick(&w, Qt::Key_Escape);
                return !w.isVisible();
            },
            [](app::MainDialog& w) { return w.close(); },
            [](app::MainDialog& w) {
                w.openShpFile();
                return w.state().file->serialise() == readFile(w.state().currentFileName);
            },
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
                const testsupport::ByteVector original = readFile(ship);
                editor.files.answer = pathText(ship);
                if (c.changed)
                    click(w, id::ChangeShipClass);
                editor.questions.answer = c.answer;

                QCOMPARE(way(w), c.gone);
                QCOMPARE(editor.questions.asked.size(), qsizetype(c.changed ? 1 : 0));
                if (c.changed) {
                    QCOMPARE(editor.questions.asked.front(),
                             QStringLiteral("Save changes to sample.shp?"));
                    QCOMPARE(editor.questions.lastOwner, &w);
                }
                QCOMPARE(readFile(ship) != original, c.written);
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
};

KORVEX_REGISTER_TEST(FileCommandsTest);

} // namespace apptests

#include "FileCommandsTest.moc"
