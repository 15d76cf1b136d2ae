#include "app/ViewControls.h"
#include "resources/AnimationTemplate.h"
#include "resources/AttachObjectTemplate.h"
#include "resources/AttachmentPropertiesTemplate.h"
#include "resources/ComponentPropertiesTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "shipfile/Catalogue.h"
#include "tests/app/CommandTestSupport.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "viewer/ShipViewWidget.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace apptests {

namespace id = resources::mainwindow;
using testsupport::buildShip;
using testsupport::ByteVector;

namespace {

app::MainDialog& openFighter(Editor& editor)
{
    const fs::path path = editor.writeShip("fighter.shp", buildShip(testsupport::demoFighter()));
    auto& w = editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
    activate(w);
    return w;
}

QString entryText(const QAction* action)
{
    return action->text().remove(QLatin1Char('&'));
}

void undoKey(app::MainDialog& w)
{
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
}

QStringList componentNames(app::MainDialog& w)
{
    QStringList out;
    auto* list = w.control<QListWidget>(id::ComponentList);
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

/// A command as the user gives it: the component and attachment it works on, the control
/// clicked and the dialog that the click opens, if any.
struct Command
{
    const char* label;
    int component;
    int attachment;
    int control;
    std::function<void(QDialog&)> dialog;
};

} // namespace

class UndoRedoTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandIsOneStepUndoneAndRedoneToTheExactBytes()
    {
        Editor editor;
        auto& w = openFighter(editor);
        auto& state = editor.state();
        QVERIFY(!w.undoAction()->isEnabled());
        QVERIFY(!w.redoAction()->isEnabled());
        QCOMPARE(entryText(w.undoAction()), QStringLiteral("Undo"));
        editor.files.answer = QString::fromStdString(
            editor.writeShip("merged.shp", buildShip(testsupport::sampleShip())).string());
        const auto addLight = [](QDialog& dialog) {
            clickRow(control<QListWidget>(dialog, resources::attachobject::Kinds), 4);
            control<QPushButton>(dialog, resources::attachobject::Ok)->click();
        };

        const std::vector<Command> commands = {
            {"Add attachment", 0, 0, id::AddAttachment, addLight},
            {"Remove attachment", 0, 1, id::RemoveAttachment, {}},
            {"Copy attachment", 0, 2, id::CopyAttachment, {}},
            {"Copy-Invert X", 0, 3, id::CopyInvertX, {}},
            {"Nearest position", 0, 0, id::NearestPosition, {}},
            {"Change ship class", -1, -1, id::ChangeShipClass, {}},
            {"Larger", 1, -1, id::Larger, {}},
            {"Smaller", -1, -1, id::Smaller, {}},
            {"Clear box(es)", 0, -1, id::ClearBoxes, {}},
            {"Create box", 0, -1, id::CreateBox, {}},
            {"Merge SHP", -1, -1, id::MergeShp, {}},
            {"Dummy Triangle", 1, -1, id::DummyTriangle, {}},
            {"Block13", 0, -1, id::Block13, {}},
            {"Block14", 2, -1, id::Block14, {}},
            {"Delete component", 1, -1, id::DeleteComponent, {}},
        };
        for (const Command& command : commands) {
            if (command.component >= 0)
                clickEntry(w, id::ComponentList, command.component);
            if (command.attachment >= 0)
                clickEntry(w, id::AttachmentList, command.attachment);
            const ByteVector before = state.file->serialise();
            const std::size_t steps = state.history.undoCount();
            {
                ModalDriver driver(command.dialog ? command.dialog : rejectDialog);
                QWidget* control = w.control<QWidget>(command.control);
                if (auto* box = qobject_cast<QCheckBox*>(control))
                    clickCheckBox(box);
                else
                    static_cast<QPushButton*>(control)->click();
            }
            const ByteVector after = state.file->serialise();
            QVERIFY2(after != before, command.label);
            QCOMPARE(state.history.undoCount(), steps + 1);
            QCOMPARE(entryText(w.undoAction()),
                     QStringLiteral("Undo ") + QLatin1String(command.label));

            undoKey(w);
            QVERIFY2(state.file->serialise() == before, command.label);
            QCOMPARE(entryText(w.redoAction()),
                     QStringLiteral("Redo ") + QLatin1String(command.label));
            QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
            QVERIFY2(state.file->serialise() == after, command.label);
            undoKey(w);
            QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY2(state.file->serialise() == after, command.label);
            QVERIFY(!w.redoAction()->isEnabled());
        }

        // Opening a ship starts a fresh history.
        editor.questions.answer = platform::SaveAnswer::Discard;
        w.openShpFile();
        QVERIFY(!state.history.canUndo());
        QVERIFY(!w.undoAction()->isEnabled());
    }

    void aDragIsOneStepAndTurningTheViewNone()
    {
        Editor editor;
        auto& w = openFighter(editor);
        auto& state = editor.state();
        clickEntry(w, id::ComponentList, 0);
        clickEntry(w, id::AttachmentList, 1);
        const ByteVector before = state.file->serialise();
        QWidget* view = w.viewWidget();

        // FreeView turns the view: no step.
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(view, QPoint(130, 120));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(130, 120));
        QVERIFY(!state.history.canUndo());

        w.viewControls().chooseView(viewer::ViewChoice::Front);
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 100));
        for (int step = 1; step <= 5; ++step)
            QTest::mouseMove(view, QPoint(100 + 4 * step, 100 - 3 * step));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(120, 85));
        QVERIFY(state.file->serialise() != before);
        QCOMPARE(state.history.undoCount(), std::size_t{1});
        QCOMPARE(entryText(w.undoAction()), QStringLiteral("Undo Move attachment"));

        w.undoAction()->trigger();
        QVERIFY(state.file->serialise() == before);
        QCOMPARE(state.selectedAttachment, 1);
    }

    void aDialogIsOneStepAndCancelLeavesTheBytes()
    {
        Editor editor;
        auto& w = openFighter(editor);
        auto& state = editor.state();
        clickEntry(w, id::ComponentList, 2);
        const ByteVector original = state.file->serialise();
        namespace props = resources::componentproperties;
        const auto editProperties = [](bool accept) {
            return [accept](QDialog& dialog) {
                retype(control<QLineEdit>(dialog, props::Name), QStringLiteral("Gun deck"));
                retype(control<QLineEdit>(dialog, props::HitPoints), QStringLiteral("250"));
                if (accept)
                    control<QPushButton>(dialog, props::Ok)->click();
                else
                    QTest::keyClick(&dialog, Qt::Key_Escape);
            };
        };

        {
            ModalDriver driver(editProperties(false));
            doubleClickEntry(w, id::ComponentList, 2);
            QCOMPARE(driver.shown, 1);
        }
        QVERIFY(state.file->serialise() == original);
        QVERIFY(!state.history.canUndo());
        QCOMPARE(componentNames(w).at(2), QStringLiteral("Turret"));
        QVERIFY(!w.isWindowModified());

        {
            ModalDriver driver(editProperties(true));
            doubleClickEntry(w, id::ComponentList, 2);
        }
        QCOMPARE(state.history.undoCount(), std::size_t{1});
        QCOMPARE(entryText(w.undoAction()), QStringLiteral("Undo Component properties"));
        QCOMPARE(componentNames(w).at(2), QStringLiteral("Gun deck"));
        undoKey(w);
        QVERIFY(state.file->serialise() == original);
        QCOMPARE(componentNames(w).at(2), QStringLiteral("Turret"));
        QCOMPARE(state.selectedComponent, 2);

        // Attachment properties: new coordinates, then Cancel.
        clickEntry(w, id::AttachmentList, 0);
        {
            ModalDriver driver([](QDialog& dialog) {
                retype(control<QLineEdit>(dialog, resources::attachmentproperties::X),
                       QStringLiteral("99"));
                control<QPushButton>(dialog, resources::attachmentproperties::Cancel)->click();
            });
            doubleClickEntry(w, id::AttachmentList, 0);
            QCOMPARE(driver.shown, 1);
        }
        QVERIFY(state.file->serialise() == original);

        // The animation editor on a component without frames adds a frames block; Escape
        // takes it away again.
        clickEntry(w, id::ComponentList, 1);
        {
            ModalDriver driver([](QDialog& dialog) {
                retype(control<QLineEdit>(dialog, resources::animation::TotalTime),
                       QStringLiteral("750"));
                QTest::keyClick(&dialog, Qt::Key_Escape);
            });
            w.control<QPushButton>(id::Animation)->click();
            QCOMPARE(driver.shown, 1);
        }
        QVERIFY(state.file->serialise() == original);
        QCOMPARE(state.history.undoCount(), std::size_t{0});
        QCOMPARE(state.history.redoCount(), std::size_t{1});
    }

    void undoRestoresListsAndKeepsOnlyTheSelectionThatStillExists()
    {
        Editor editor;
        auto& w = openFighter(editor);
        auto& state = editor.state();
        const QStringList names = componentNames(w);

        // A merge adds components; with one of them selected, undo clears the selection.
        editor.files.answer = QString::fromStdString(
            editor.writeShip("merged.shp", buildShip(testsupport::sampleShip())).string());
        w.control<QPushButton>(id::MergeShp)->click();
        QCOMPARE(componentNames(w).size(), names.size() + 2);
        clickEntry(w, id::ComponentList, static_cast<int>(names.size()));
        clickEntry(w, id::AttachmentList, 0);
        undoKey(w);
        QCOMPARE(componentNames(w), names);
        QCOMPARE(state.selectedComponent, -1);
        QCOMPARE(state.selectedAttachment, -1);
        QCOMPARE(highlightedRow(w, id::ComponentList), -1);
        QCOMPARE(w.control<QListWidget>(id::AttachmentList)->count(), 0);

        // Undoing a Delete lists the component again; a selection that still exists stays.
        clickEntry(w, id::ComponentList, 1);
        w.control<QPushButton>(id::DeleteComponent)->click();
        QCOMPARE(componentNames(w).size(), names.size() - 1);
        clickEntry(w, id::ComponentList, 0);
        clickEntry(w, id::AttachmentList, 3);
        undoKey(w);
        QCOMPARE(componentNames(w), names);
        QCOMPARE(state.selectedComponent, 0);
        QCOMPARE(state.selectedAttachment, 3);
        QCOMPARE(highlightedRow(w, id::ComponentList), 0);
        QCOMPARE(highlightedRow(w, id::AttachmentList), 3);
        // The drawing picks the current type-9 block among the restored ones.
        bool current = false;
        for (int n = 0; n < 3; ++n)
            current = current ||
                      state.file->attachmentBlock == shipfile::attachmentBlockOf(*state.file, n);
        QVERIFY(current);
    }

    void theModifiedMarkerFollowsTheBytes()
    {
        Editor editor;
        auto& w = openFighter(editor);
        w.control<QPushButton>(id::ChangeShipClass)->click();
        QVERIFY(w.isWindowModified());
        undoKey(w);
        QVERIFY(!w.isWindowModified());
        QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(w.isWindowModified());

        // Once saved, the saved bytes are the ones that count.
        w.save();
        QVERIFY(!w.isWindowModified());
        undoKey(w);
        QVERIFY(w.isWindowModified());
    }
};

KORVEX_REGISTER_TEST(UndoRedoTest);

} // namespace apptests

#include "UndoRedoTest.moc"
