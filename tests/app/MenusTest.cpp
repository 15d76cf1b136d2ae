#include "app/CommandTable.h"
#include "app/CommandWiring.h"
#include "resources/AttachObjectTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "shipmaker/RefPackEncoder.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "viewer/Camera.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>

#include <set>

// The menu bar, the context menu, the buttons and the status bar come from the one command
// table: each command has one entry, its keys, its tooltip and its enabling, and says what it
// did or why it did nothing.
namespace apptests {

namespace id = resources::mainwindow;
using app::CommandId;
using testsupport::buildShip;
using testsupport::sampleShip;

namespace {

/// Every entry of `menu` and its submenus.
QList<QAction*> entries(const QMenu& menu)
{
    QList<QAction*> out;
    for (QAction* action : menu.actions()) {
        if (action->menu())
            out += entries(*action->menu());
        else if (!action->isSeparator())
            out << action;
    }
    return out;
}

QList<QAction*> menuBarEntries(app::MainDialog& w)
{
    QList<QAction*> out;
    for (const QAction* menu : w.commands().menuBar()->actions())
        out += entries(*menu->menu());
    return out;
}

} // namespace

class MenusTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandHasOneEntryItsKeysTipAndEnabling()
    {
        Editor editor;
        auto& w = editor.start();
        QCOMPARE(entryText(w.commands().menuBar()->actions().at(0)), QStringLiteral("File"));
        const QList<QAction*> inBar = menuBarEntries(w);
        const QList<QAction*> inContext = entries(*w.commands().contextMenu());
        std::set<int> controls;
        for (const app::Command& row : app::commandTable()) {
            QAction* action = w.commands().action(row.id);
            QCOMPARE(inBar.count(action), 1);
            QCOMPARE(action->shortcuts(), row.keys);
            if (row.keyHint)
                QVERIFY(action->text().endsWith(QString::fromUtf8(row.keyHint)));
            if (row.control == app::NoControl)
                continue;
            controls.insert(row.control);
            auto* control = w.control<QAbstractButton>(row.control);
            QVERIFY(control->toolTip().startsWith(QString::fromUtf8(row.tip)));
            // Without a ship, whatever needs one is disabled and its tip says what it needs.
            QCOMPARE(control->isEnabled(), row.needs == app::Needs::Nothing);
            QCOMPARE(action->isEnabled(), row.needs == app::Needs::Nothing);
        }
        // The context menu holds the same entries, not copies.
        for (QAction* action : inContext)
            QVERIFY(inBar.contains(action) || action->parent() != &w);
        QVERIFY(inContext.contains(w.commands().action(CommandId::Undo)));
        QVERIFY(inContext.contains(w.commands().action(CommandId::RemoveAttachment)));
        // Every button and check box of the window is a command of the table.
        for (QAbstractButton* button : w.findChildren<QAbstractButton*>())
            if (button->objectName().toInt() > 0)
                QVERIFY2(controls.count(button->objectName().toInt()), qPrintable(button->text()));
        QVERIFY(w.control<QWidget>(id::Larger)
                    ->toolTip()
                    .endsWith(QStringLiteral("Larger needs an open ship")));

        // With a ship and a component, the component's commands; with an attachment, its own.
        editor.files.answer = pathText(editor.writeShip("sample.shp", buildShip(sampleShip())));
        w.openShpFile();
        QVERIFY(w.control<QWidget>(id::Larger)->isEnabled());
        QVERIFY(!w.control<QWidget>(id::CreateBox)->isEnabled());
        QVERIFY(!w.commands().action(CommandId::RemoveAttachment)->isEnabled());
        clickEntry(w, id::ComponentList, 0);
        QVERIFY(w.control<QWidget>(id::CreateBox)->isEnabled());
        QVERIFY(!w.control<QWidget>(id::RemoveAttachment)->isEnabled());
        clickEntry(w, id::AttachmentList, 1);
        QVERIFY(w.control<QWidget>(id::RemoveAttachment)->isEnabled());

        // Delete removes the selected attachment as one undo step; in a field it is the field's.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QStringList before = listed(w, id::AttachmentList);
        auto* scale = w.control<QLineEdit>(id::ScaleFactor);
        scale->setFocus();
        scale->setCursorPosition(0);
        QTest::keyClick(scale, Qt::Key_Delete);
        QCOMPARE(scale->text(), QStringLiteral(".2"));
        QCOMPARE(listed(w, id::AttachmentList), before);
        w.control<QWidget>(id::AttachmentList)->setFocus();
        QTest::keyClick(w.control<QWidget>(id::AttachmentList), Qt::Key_Delete);
        QCOMPARE(listed(w, id::AttachmentList).size(), before.size() - 1);
        QCOMPARE(entryText(w.commands().action(CommandId::Undo)),
                 QStringLiteral("Undo Remove attachment"));
        QCOMPARE(editor.state().session->history().undoCount(), std::size_t{1});

        // A check box's entry clicks the box, so both say the same.
        QAction* boxes = w.commands().action(CommandId::ShowBoxes);
        QVERIFY(boxes->isChecked());
        boxes->trigger();
        QVERIFY(!isChecked(w, id::ShowBoxes));
        QVERIFY(!w.view().showBoxes);
        QVERIFY(!boxes->isChecked());

        // Help's list names every key.
        const QString keys = w.commands().shortcutList();
        for (const char* line : {"Ctrl+Shift+S\tSave As", "Del\tRemove attachment",
                                 "F, Home\tFit in view", "Shift\tNext mouse mode", "F1\tAbout"})
            QVERIFY2(keys.contains(QString::fromUtf8(line)), line);
    }

    void theStatusBarSaysWhatHappenedAndWhy()
    {
        Editor editor;
        auto& w = editor.open();
        // Opening fits the ship into the view.
        w.openPath(editor.dir() / "sample.shp");
        QVERIFY(w.view().zoom > viewer::camera::MinZoom);
        QStringList labels;
        for (const QLabel* label : w.findChild<QStatusBar*>()->findChildren<QLabel*>())
            labels << label->text();
        QVERIFY2(
            labels.contains(QStringLiteral("sample.shp: 2 components, 36 faces, 6 attachments")),
            qPrintable(labels.join(QLatin1Char('|'))));
        QCOMPARE(w.statusLine(), QStringLiteral("Opened sample.shp"));

        const auto pickNothing = [](QDialog& dialog) {
            control<QPushButton>(dialog, resources::attachobject::Ok)->click();
        };
        const fs::path glb = editor.dir() / "sample.glb";
        const struct
        {
            std::function<void()> act;
            QString line;
        } cases[] = {
            {[&] { click(w, id::ChangeShipClass); }, QStringLiteral("")},
            {[&] { QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier); },
             QStringLiteral("Undo Change ship class")},
            {[&] { QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier); },
             QStringLiteral("Redo Change ship class")},
            {[&] {
                 w.control<QLineEdit>(id::ScaleFactor)->setText(QStringLiteral("abc"));
                 click(w, id::Smaller);
             },
             QStringLiteral("Smaller: the factor \"abc\" is not a positive number")},
            {[&] {
                 clickEntry(w, id::ComponentList, 0);
                 click(w, id::CreateBox);
             },
             QStringLiteral("Create box: the component already has a box (Clear box(es) first)")},
            {[&] {
                 click(w, id::ClearBoxes);
                 click(w, id::CreateBox);
             },
             QStringLiteral("Create box: the ship is now a Capship")},
            {[&] {
                 ModalDriver driver(pickNothing);
                 click(w, id::AddAttachment);
             },
             QStringLiteral("Add attachment: no kind was chosen")},
            {[&] {
                 editor.files.answer = pathText(glb);
                 w.exportShip();
             },
             QStringLiteral("Exported sample.glb")},
            {[&] { w.runCommand(CommandId::NearestPosition); },
             QStringLiteral("Nearest position needs a selected attached object")},
        };
        for (const auto& c : cases) {
            c.act();
            QCOMPARE(w.statusLine(), c.line);
        }

        // A packed ship says so as it opens, and again when saving writes it plain.
        const fs::path packed =
            editor.writeShip("packed.shp", shipmaker::packRefPack(buildShip(sampleShip())));
        editor.questions.answer = platform::SaveAnswer::Discard;
        editor.files.answer = pathText(packed);
        w.openShpFile();
        QVERIFY(editor.sink.messages.empty());
        QVERIFY(w.statusLine().startsWith(
            QStringLiteral("Opened packed.shp: The file you attempted to load is compressed.")));
        click(w, id::Save);
        QVERIFY(w.statusLine().startsWith(QStringLiteral("Saved packed.shp, ")));
        QVERIFY(w.statusLine().endsWith(QStringLiteral(": written unpacked, as the game also "
                                                       "loads it")));
        click(w, id::Save);
        QVERIFY2(QRegularExpression(QStringLiteral("^Saved packed\\.shp, \\d+ \\S*B$"))
                     .match(w.statusLine())
                     .hasMatch(),
                 qPrintable(w.statusLine()));
    }
};

KORVEX_REGISTER_TEST(MenusTest);

} // namespace apptests

#include "MenusTest.moc"
