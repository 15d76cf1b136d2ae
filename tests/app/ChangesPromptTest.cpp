#include "resources/MainWindowTemplate.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ShipFile.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QPushButton>
#include <QTest>

namespace apptests {

namespace id = resources::mainwindow;
using platform::SaveAnswer;

namespace {

// An editor with the sample ship open from the command line.
struct OpenShip
{
    OpenShip()
    {
        ship = editor.writeShip("sample.shp", testsupport::buildShip(testsupport::sampleShip()));
        editor.start(editor.writePrefix("prefix"), QString::fromStdString(ship.string()));
        original = readFile(ship);
    }

    void change() { QVERIFY(shipfile::setShipClass(*editor.state().file, 2)); }

    Editor editor;
    fs::path ship;
    testsupport::ByteVector original;
};

} // namespace

class ChangesPromptTest : public QObject
{
    Q_OBJECT

private slots:
    void nothingIsAskedWhileNothingChanged()
    {
        OpenShip s;
        auto& w = s.editor.window();
        w.control<QPushButton>(id::Exit)->click();
        QVERIFY(s.editor.questions.asked.isEmpty());
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void cancelKeepsTheWindowOpenOnExitEscapeAndTheCloseBox()
    {
        OpenShip s;
        auto& w = s.editor.window();
        s.change();
        s.editor.questions.answer = SaveAnswer::Cancel;

        w.control<QPushButton>(id::Exit)->click();
        QVERIFY(w.isVisible());
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());

        QCOMPARE(s.editor.questions.asked.size(), 3);
        for (const QString& asked : s.editor.questions.asked)
            QCOMPARE(asked, QStringLiteral("Save changes to sample.shp?"));
        QCOMPARE(s.editor.questions.lastOwner, &w);
        QVERIFY(s.editor.state().fileLoaded);
        QCOMPARE(readFile(s.ship), s.original);
    }

    void discardClosesWithoutWriting()
    {
        OpenShip s;
        s.change();
        s.editor.questions.answer = SaveAnswer::Discard;
        QTest::keyClick(&s.editor.window(), Qt::Key_Escape);
        QVERIFY(!s.editor.window().isVisible());
        QCOMPARE(readFile(s.ship), s.original);
    }

    void saveWritesThenCloses()
    {
        OpenShip s;
        s.change();
        s.editor.questions.answer = SaveAnswer::Save;
        QVERIFY(s.editor.window().close());
        QVERIFY(!s.editor.window().isVisible());
        const auto saved = shipfile::ShipFile::fromBytes(readFile(s.ship), "saved", s.editor.sink);
        QCOMPARE(shipfile::shipClass(*saved), std::optional<std::int8_t>(2));
    }

    void aFailedSaveKeepsTheWindowOpen()
    {
        OpenShip s;
        s.change();
        s.editor.questions.answer = SaveAnswer::Save;
        s.editor.state().currentFileName = s.editor.dir() / "gone" / "sample.shp";
        s.editor.window().control<QPushButton>(id::Exit)->click();
        QCOMPARE(s.editor.sink.messages.size(), std::size_t{1});
        QVERIFY(s.editor.window().isVisible());
    }

    void openAsksFirstAndCancelKeepsTheDocument()
    {
        OpenShip s;
        auto& w = s.editor.window();
        s.change();
        s.editor.files.answer = QString::fromStdString(s.ship.string());

        s.editor.questions.answer = SaveAnswer::Cancel;
        w.openShpFile();
        QCOMPARE(s.editor.files.calls, 0);
        QVERIFY(w.hasUnsavedChanges());

        s.editor.questions.answer = SaveAnswer::Discard;
        w.openShpFile();
        QCOMPARE(s.editor.files.calls, 1);
        QVERIFY(!w.hasUnsavedChanges()); // the file was read again as it is on disk
        QCOMPARE(shipfile::shipClass(*s.editor.state().file), std::optional<std::int8_t>(0));
    }

    void theDocumentComparesByContentNotByHistory()
    {
        OpenShip s;
        auto& w = s.editor.window();
        s.change();
        QVERIFY(w.hasUnsavedChanges());
        QTRY_VERIFY(w.isWindowModified());
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex - sample.shp[*]"));

        // Changed back: nothing to save.
        QVERIFY(shipfile::setShipClass(*s.editor.state().file, 0));
        QVERIFY(!w.hasUnsavedChanges());
        QTRY_VERIFY(!w.isWindowModified());

        // Saved: nothing to ask any more.
        s.change();
        w.control<QPushButton>(id::Save)->click();
        QVERIFY(!w.hasUnsavedChanges());
        w.control<QPushButton>(id::Exit)->click();
        QVERIFY(s.editor.questions.asked.isEmpty());
        QVERIFY(!w.isVisible());
    }
};

KORVEX_REGISTER_TEST(ChangesPromptTest);

} // namespace apptests

#include "ChangesPromptTest.moc"
