#include "resources/MainWindowTemplate.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Messages.h"
#include "shipfile/ShipFile.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QUrl>

namespace apptests {

namespace id = resources::mainwindow;
namespace messages = shipfile::messages;
using testsupport::buildShip;
using testsupport::sampleShip;

namespace {

QString text(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

QStringList listed(app::MainDialog& w, int listId)
{
    QStringList out;
    auto* list = w.control<QListWidget>(listId);
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

testsupport::Ship shipOfClass(std::int8_t shipClass, const std::string& name)
{
    testsupport::Ship ship = sampleShip();
    ship.shipClass = shipClass;
    ship.components[0].name = name;
    return ship;
}

} // namespace

class FileCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void commandLineFileIsListedDrawnAndSavedBack()
    {
        Editor editor;
        const fs::path ship = editor.writeShip("sample.shp", buildShip(sampleShip()));
        auto& w = editor.start(editor.writePrefix("prefix"), text(ship));

        QVERIFY(editor.state().fileLoaded);
        QCOMPARE(editor.state().currentFileName, ship);
        QCOMPARE(listed(w, id::ComponentList),
                 QStringList({QStringLiteral("Hull"), QStringLiteral("Turret")}));
        QVERIFY(listed(w, id::AttachmentList).isEmpty());
        QTRY_VERIFY(editor.shipPixels() > 500);
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex - sample.shp[*]"));
        QVERIFY(!w.isWindowModified());

        QVERIFY(shipfile::setShipClass(*editor.state().file, 2));
        w.control<QPushButton>(id::Save)->click();
        const auto reloaded = shipfile::ShipFile::fromBytes(readFile(ship), "saved", editor.sink);
        QCOMPARE(shipfile::shipClass(*reloaded), std::optional<std::int8_t>(2));
        QCOMPARE(readFile(ship), editor.state().file->serialise());
        QVERIFY(editor.sink.messages.empty());
    }

    void missingCommandLineFileLeavesNoDocument()
    {
        Editor editor;
        const fs::path missing = editor.dir() / "missing.shp";
        auto& w = editor.start(editor.writePrefix("prefix"), text(missing));

        QCOMPARE(editor.sink.texts(), std::vector<std::string>{messages::formatText(
                                          messages::ErrorOpening.text, missing.string())});
        QVERIFY(!editor.state().fileLoaded);
        QVERIFY(!editor.state().file);
        QVERIFY(listed(w, id::ComponentList).isEmpty());
        QVERIFY(listed(w, id::AttachmentList).isEmpty());
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex"));
        QVERIFY(w.control<QLineEdit>(id::ShipClass)->text().isEmpty());
    }

    void openStartsInTheShipsDirectoryAndCancelKeepsTheDocument()
    {
        Editor editor;
        const fs::path ship = editor.writeShip("sample.shp", buildShip(sampleShip()));
        auto& w = editor.start(editor.writePrefix("prefix"), text(ship));
        const shipfile::ShipFile* before = editor.state().file.get();

        editor.files.answer.clear();
        w.control<QPushButton>(id::OpenShp)->click();
        QCOMPARE(editor.files.calls, 1);
        QCOMPARE(editor.files.directory, text(editor.state().shipsDirectory));
        QCOMPARE(editor.files.filters, QStringList({QStringLiteral("Vantaris SHP (*.shp)"),
                                                    QStringLiteral("All Files (*)")}));
        QCOMPARE(editor.state().file.get(), before);
        QVERIFY(editor.state().fileLoaded);
        QCOMPARE(editor.state().currentFileName, ship);
        QCOMPARE(listed(w, id::ComponentList).size(), 2);
    }

    void aFailedOpenLeavesNoDocumentAndSaveWritesNothing()
    {
        Editor editor;
        const fs::path ship = editor.writeShip("sample.shp", buildShip(sampleShip()));
        const testsupport::ByteVector garbage = {'n', 'o', 't', ' ', 'a', ' ', 's', 'h', 'i', 'p'};
        const fs::path bad = editor.writeShip("bad.shp", garbage);
        auto& w = editor.start(editor.writePrefix("prefix"), text(ship));
        editor.state().selectedComponent = 1;
        editor.state().selectedAttachment = 0;
        w.control<QListWidget>(id::AttachmentList)->addItem(QStringLiteral("stale"));

        editor.files.answer = text(bad);
        w.openShpFile();
        QCOMPARE(editor.sink.texts(), std::vector<std::string>{std::string(messages::NotAnShp.text)});
        QVERIFY(!editor.state().fileLoaded);
        QVERIFY(!editor.state().file);
        QCOMPARE(editor.state().selectedComponent, -1);
        QCOMPARE(editor.state().selectedAttachment, -1);
        QVERIFY(listed(w, id::ComponentList).isEmpty());
        QVERIFY(listed(w, id::AttachmentList).isEmpty());
        QVERIFY(w.control<QLineEdit>(id::ShipClass)->text().isEmpty());
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex"));

        // Save with no document open writes nothing and says nothing.
        editor.sink.messages.clear();
        w.control<QPushButton>(id::Save)->click();
        QVERIFY(editor.sink.messages.empty());
        QCOMPARE(readFile(bad), garbage);

        // A file of only the end marker is well formed but holds nothing: said so.
        const fs::path bare =
            editor.writeShip("bare.shp", testsupport::BlockBuilder().end().build());
        editor.files.answer = text(bare);
        w.openShpFile();
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{messages::formatText(messages::NoBlocks.text, bare.string())});
        QVERIFY(editor.sink.messages.front().ownedByMainWindow);
        QVERIFY(!editor.state().fileLoaded);
    }

    void aFailedSaveReportsAndKeepsTheChangesUnsaved()
    {
        Editor editor;
        const fs::path folder = editor.dir() / "folder";
        fs::create_directories(folder);
        const fs::path ship = folder / "sample.shp";
        editor.writeShip("sample.shp", buildShip(sampleShip()));
        fs::copy_file(editor.dir() / "sample.shp", ship);
        auto& w = editor.start(editor.writePrefix("prefix"), text(ship));
        QVERIFY(shipfile::setShipClass(*editor.state().file, 1));
        fs::remove_all(folder);

        w.save();
        QCOMPARE(editor.sink.texts(), std::vector<std::string>{messages::formatText(
                                          messages::ErrorSaving.text, ship.string())});
        QVERIFY(w.hasUnsavedChanges());
    }

    void saveAsWritesTheNewPathWhichSaveThenUses()
    {
        Editor editor;
        const fs::path ship = editor.writeShip("sample.shp", buildShip(sampleShip()));
        const testsupport::ByteVector original = readFile(ship);
        auto& w = editor.start(editor.writePrefix("prefix"), text(ship));
        activate(w);
        QVERIFY(shipfile::setShipClass(*editor.state().file, 2));

        // A folder that does not exist: the message, and nothing else changes.
        editor.files.saveAnswer = text(editor.dir() / "missing" / "copy.shp");
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor.files.saveStartPath, text(ship));
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{messages::formatText(
                     messages::ErrorSaving.text, (editor.dir() / "missing" / "copy.shp").string())});
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex - sample.shp[*]"));
        QCOMPARE(editor.state().currentFileName, ship);
        QVERIFY(w.hasUnsavedChanges());

        const fs::path copy = editor.dir() / "copy.shp";
        editor.files.saveAnswer = text(copy);
        w.saveAs();
        QCOMPARE(readFile(copy), editor.state().file->serialise());
        QCOMPARE(readFile(ship), original);
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex - copy.shp[*]"));
        QVERIFY(!w.isWindowModified());

        QVERIFY(shipfile::setShipClass(*editor.state().file, 1));
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(readFile(copy), editor.state().file->serialise());
        QCOMPARE(readFile(ship), original);
    }

    void recentFilesAreSharedByWindowsAndKeptBetweenRuns()
    {
        QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
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
            ships.push_back(first.writeShip("ship" + std::to_string(n) + ".shp",
                                            buildShip(sampleShip())));
            first.files.answer = text(ships.back());
            w1.openShpFile();
        }
        // Opening one again moves it to the top instead of listing it twice.
        first.files.answer = text(ships[3]);
        w1.openShpFile();

        Editor second;
        auto& w2 = second.start(second.writePrefix("prefix"));
        fs::remove(ships[8]);
        const QStringList listed = entries(w2);
        QCOMPARE(listed.size(), 8);
        QCOMPARE(listed.at(0), QStringLiteral("&1 ") + text(ships[3]));
        QCOMPARE(listed.at(1), QStringLiteral("(off) &2 ") + text(ships[8]));
        QCOMPARE(listed.at(7), QStringLiteral("&8 ") + text(ships[1]));

        // A saved copy goes to the top too; choosing an entry opens that file.
        second.files.saveAnswer = text(second.dir() / "saved.shp");
        w2.recentFilesMenu()->actions().at(2)->trigger();
        QCOMPARE(second.state().currentFileName, ships[7]);
        w2.saveAs();
        QCOMPARE(entries(w2).at(0), QStringLiteral("&1 ") + text(second.dir() / "saved.shp"));
    }

    void aDroppedShipOpensAfterTheSaveQuestion()
    {
        Editor editor;
        const fs::path first = editor.writeShip("first.shp", buildShip(sampleShip()));
        const fs::path dropped = editor.writeShip("dropped.shp", buildShip(shipOfClass(2, "d")));
        auto& w = editor.start(editor.writePrefix("prefix"), text(first));
        QVERIFY(shipfile::setShipClass(*editor.state().file, 1));
        editor.questions.answer = platform::SaveAnswer::Discard;

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(text(dropped))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &drop);

        QTRY_COMPARE(editor.state().currentFileName, dropped);
        QCOMPARE(editor.questions.asked, QStringList{QStringLiteral("Save changes to first.shp?")});
        QCOMPARE(listed(w, id::ComponentList).front(), QStringLiteral("d"));

        // Text without a file is not taken.
        QMimeData words;
        words.setText(QStringLiteral("not a file"));
        QDragEnterEvent refused(QPoint(20, 20), Qt::CopyAction, &words, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void shipClassFieldFollowsEveryFile()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix"));
        auto* field = w.control<QLineEdit>(id::ShipClass);
        const auto open = [&](const std::string& name, const testsupport::ByteVector& image) {
            editor.files.answer = text(editor.writeShip(name, image));
            w.openShpFile();
        };

        open("minus.shp", buildShip(shipOfClass(-1, "a")));
        QCOMPARE(field->text(), QStringLiteral("[Value = -1]"));
        open("fighter.shp", buildShip(shipOfClass(0, "b")));
        QCOMPARE(field->text(), QStringLiteral("Fighter"));
        open("bad.shp", {1, 2, 3});
        QCOMPARE(field->text(), QString());
        open("fighter2.shp", buildShip(shipOfClass(0, "c")));
        QCOMPARE(field->text(), QStringLiteral("Fighter"));
        open("cloak.shp", buildShip(shipOfClass(2, "d")));
        QCOMPARE(field->text(), QStringLiteral("Fighter + Cloak"));
        open("seven.shp", buildShip(shipOfClass(7, "e")));
        QCOMPARE(field->text(), QStringLiteral("[Value = 7]"));

        // A change to the class byte made outside the commands shows within a moment.
        QVERIFY(shipfile::setShipClass(*editor.state().file, 1));
        QTRY_COMPARE(field->text(), QStringLiteral("Capship"));

        // A header record too short to hold the class byte shows nothing.
        editor.questions.answer = platform::SaveAnswer::Discard;
        testsupport::Ship shortHeader = shipOfClass(1, "f");
        shortHeader.headerRecordSize = 20;
        open("short.shp", buildShip(shortHeader));
        QVERIFY(editor.state().fileLoaded);
        QCOMPARE(field->text(), QString());
    }
};

KORVEX_REGISTER_TEST(FileCommandsTest);

} // namespace apptests

#include "FileCommandsTest.moc"
