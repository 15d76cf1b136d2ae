#include "app/ChecksPane.h"

#include "resources/MainWindowTemplate.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "viewer/Camera.h"
#include "viewer/ShipViewWidget.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

// The Checks pane in the running window: it opens on a ship with errors, a double-click goes to
// a finding and marks it in the view, a step refreshes it, and saving asks because of errors.
namespace apptests {

namespace id = resources::mainwindow;

namespace {

// Two sound cubes; the second has a face past its vertex block and an attachment of a kind the
// game does not know.
testsupport::Ship brokenShip()
{
    testsupport::Ship ship;
    for (const char* name : {"Hull", "Pod"}) {
        testsupport::Component c;
        c.name = name;
        c.textures = {"plate"};
        testsupport::addCuboid(c, {0, 0, 0}, {40, 40, 40});
        c.boxes.push_back(testsupport::boundingBox(c));
        ship.components.push_back(c);
    }
    ship.components[1].faces[4].c = 50;
    ship.components[1].attachments.push_back(testsupport::Attachment{7, {0, 20, 0}});
    return ship;
}

// How many pixels of the view show the highlight's colour, pure cyan.
int highlightPixels(Editor& editor)
{
    const QImage image = editor.picture();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == qRgb(0, 255, 255) ? 1 : 0;
    return count;
}

void doubleClickRow(QTreeWidget& rows, int row)
{
    const QRect rect = rows.visualItemRect(rows.topLevelItem(row));
    QTest::mouseClick(rows.viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(rows.viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class ChecksPaneTest : public QObject
{
    Q_OBJECT

private slots:
    void goesToFindingsAndAsksBeforeSavingErrors()
    {
        Editor editor;
        auto& w = editor.open(brokenShip());
        auto& pane = w.checksPane();
        auto* rows = pane.findChild<QTreeWidget*>();
        QVERIFY(pane.isVisible());
        // The window grew by the pane; the view kept its size.
        QCOMPARE(w.viewWidget()->height(), viewer::camera::ViewportPixels);
        QCOMPARE(pane.countsLine(), QStringLiteral("Checks: 1 error, 1 warning"));
        QCOMPARE(w.checkCountsLine(), QStringLiteral("1 error, 1 warning"));
        QCOMPARE(rows->topLevelItemCount(), 2);
        QCOMPARE(rows->topLevelItem(0)->text(1), QStringLiteral("face-vertex-range"));

        // The face: its component selected and fitted, its outline marked.
        const double zoomBefore = w.view().zoom;
        QCOMPARE(highlightPixels(editor), 0);
        doubleClickRow(*rows, 0);
        QCOMPARE(editor.state().selectedComponent, 1);
        QVERIFY(w.view().zoom != zoomBefore);
        QTRY_VERIFY(highlightPixels(editor) > 0);

        // The attachment: selected in its list, its marker filled.
        doubleClickRow(*rows, 1);
        QCOMPARE(editor.state().selectedAttachment, 0);
        QCOMPARE(highlightPixels(editor), 0);

        // Saving asks because of the error; Cancel writes nothing.
        const fs::path saved = editor.state().currentFileName;
        const auto before = readBytes(saved);
        click(w, id::RemoveAttachment);
        QCOMPARE(pane.countsLine(), QStringLiteral("Checks: 1 error, 0 warnings"));
        click(w, id::Save);
        QCOMPARE(editor.questions.asked,
                 QStringList{QStringLiteral(
                     "The ship has 1 error the game may not survive. Save anyway?")});
        QVERIFY(readBytes(saved) == before);
        editor.questions.saveAnyway = true;
        click(w, id::Save);
        QVERIFY(readBytes(saved) != before);

        // The context menu's entry hides the pane; the window shrinks by it, not the view.
        QAction* entry = menuEntry(w, QStringLiteral("Checks"));
        QVERIFY(entry->isChecked());
        const QSize view = w.viewWidget()->size();
        const int height = w.height();
        entry->trigger();
        QVERIFY(!pane.isVisible());
        QVERIFY(!entry->isChecked());
        QCOMPARE(w.viewWidget()->size(), view);
        QVERIFY(w.height() < height);
    }
};

KORVEX_REGISTER_TEST(ChecksPaneTest);

} // namespace apptests

#include "ChecksPaneTest.moc"
