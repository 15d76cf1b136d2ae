#include "editing/AttachmentLabel.h"
#include "editing/AttachmentProperties.h"
#include "editing/BlockSwitches.h"
#include "editing/Messages.h"
#include "resources/AnimationTemplate.h"
#include "resources/AttachObjectTemplate.h"
#include "resources/AttachmentPropertiesTemplate.h"
#include "resources/ComponentPropertiesTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Strings.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <set>

// The buttons, boxes and fields of the main window reach their commands, each a single undo
// step, and the lists, boxes and the ship class field follow what the commands did. What the
// commands write is checked by the editing tests.
namespace apptests {

namespace id = resources::mainwindow;
namespace messages = shipfile::messages;
using testsupport::ByteVector;

namespace {

/// Fails the test unless the lists, the block switches and the ship class field show the
/// document as it is.
void expectShowsTheDocument(app::MainDialog& w)
{
    const shipfile::ShipFile& file = *w.state().file();
    QStringList names;
    for (int n = 0; n < shipfile::componentCount(file); ++n)
        names << QString::fromStdString(shipfile::componentName(file, n));
    QCOMPARE(listed(w, id::ComponentList), names);
    QCOMPARE(w.control<QLineEdit>(id::ShipClass)->text(),
             QString::fromStdString(shipfile::shipClassText(*shipfile::shipClass(file))));

    const int component = w.state().selectedComponent;
    QStringList labels;
    if (const shipfile::ShipBlock* block = shipfile::componentParts(file, component).attachments)
        for (std::size_t i = 0; i < block->count(); ++i)
            labels << QString::fromStdString(editing::attachmentLabel(block->record(i))) +
                          QStringLiteral(" (%1)").arg(i);
    QCOMPARE(listed(w, id::AttachmentList), labels);
    if (component >= 0) {
        QCOMPARE(isChecked(w, id::DummyTriangle), editing::dummyTrianglePresent(file, component));
        QCOMPARE(isChecked(w, id::Block13), editing::block13On(file, component).value_or(false));
        QCOMPARE(isChecked(w, id::Block14), editing::block14Present(file, component));
    }
}

std::function<void(QDialog&)> pickKind(int kind)
{
    return [kind](QDialog& dialog) {
        clickRow(control<QListWidget>(dialog, resources::attachobject::Kinds), kind);
        control<QPushButton>(dialog, resources::attachobject::Ok)->click();
    };
}

void select(app::MainDialog& w, int component, int attachment)
{
    if (component >= 0)
        clickEntry(w, id::ComponentList, component);
    if (attachment >= 0)
        clickEntry(w, id::AttachmentList, attachment);
}

constexpr int AnyRow = -2;

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandShowsItsResultAndIsOneUndoStep()
    {
        Editor editor;
        auto& w = editor.open();
        auto& state = editor.state();
        QAction* undo = menuEntry(w, QStringLiteral("Undo"));
        QAction* redo = menuEntry(w, QStringLiteral("Redo"));
        QVERIFY(!undo->isEnabled());
        QCOMPARE(entryText(undo), QStringLiteral("Undo"));
        editor.files.answer = pathText(
            editor.writeShip("merged.shp", testsupport::buildShip(testsupport::sampleShip())));

        // The sample ship's hull has five attachments, the turret one.
        const struct
        {
            const char* step;
            int component, attachment, control;
            std::function<void(QDialog&)> dialog;
            int highlighted; // the attachment row highlighted afterwards
        } commands[] = {
            {"Add attachment", 0, 0, id::AddAttachment, pickKind(4), 5},
            {"Remove attachment", 0, 1, id::RemoveAttachment, {}, 4},
            {"Copy attachment", 0, 2, id::CopyAttachment, {}, -1},
            {"Copy-Invert X", 0, 3, id::CopyInvertX, {}, -1},
            {"Nearest position", 0, 0, id::NearestPosition, {}, 0},
            {"Change ship class", -1, -1, id::ChangeShipClass, {}, AnyRow},
            {"Larger", 1, -1, id::Larger, {}, AnyRow},
            {"Smaller", -1, -1, id::Smaller, {}, AnyRow},
            {"Clear box(es)", 0, -1, id::ClearBoxes, {}, AnyRow},
            {"Create box", 0, -1, id::CreateBox, {}, AnyRow},
            {"Merge SHP", -1, -1, id::MergeShp, {}, AnyRow},
            {"Dummy Triangle", 1, -1, id::DummyTriangle, {}, AnyRow},
            {"Block13", 0, -1, id::Block13, {}, AnyRow},
            {"Block14", 1, -1, id::Block14, {}, AnyRow},
            {"Delete component", 1, -1, id::DeleteComponent, {}, -1},
        };
        for (const auto& command : commands) {
            const char* step = command.step;
            select(w, command.component, command.attachment);
            const ByteVector before = state.file()->serialise();
            const std::size_t undoSteps = state.session->history().undoCount();
            {
                ModalDriver driver(command.dialog ? command.dialog : rejectDialog);
                click(w, command.control);
            }
            const ByteVector after = state.file()->serialise();
            QVERIFY2(after != before, step);
            QVERIFY(w.isWindowModified());
            expectShowsTheDocument(w);
            if (command.highlighted != AnyRow)
                QCOMPARE(highlightedRow(w, id::AttachmentList), command.highlighted);
            QCOMPARE(state.session->history().undoCount(), undoSteps + 1);
            QCOMPARE(entryText(undo), QStringLiteral("Undo ") + QLatin1String(step));

            QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(state.file()->serialise() == before, step);
            expectShowsTheDocument(w);
            QCOMPARE(entryText(redo), QStringLiteral("Redo ") + QLatin1String(step));
            QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
            QVERIFY2(state.file()->serialise() == after, step);
            QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
            QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY2(state.file()->serialise() == after, step);
            QVERIFY(!redo->isEnabled());
            expectShowsTheDocument(w);
        }
        QVERIFY(editor.sink.messages.empty());

        // Opening a ship starts a fresh history.
        editor.questions.answer = platform::SaveAnswer::Discard;
        w.openShpFile();
        QVERIFY(!undo->isEnabled());
    }

    void commandsWithoutWhatTheyNeedDoNothing()
    {
        Editor editor;
        auto& w = editor.open();
        auto& state = editor.state();
        const ByteVector original = state.file()->serialise();
        QVERIFY(!w.control<QCheckBox>(id::Block14)->isEnabled()); // clicked all the same below
        const struct
        {
            const char* what;
            int component, attachment, control;
            const char* scaleFactor;
        } cases[] = {
            {"delete without a component", -1, -1, id::DeleteComponent, nullptr},
            {"add without a component", -1, -1, id::AddAttachment, nullptr},
            {"animation without a component", -1, -1, id::Animation, nullptr},
            {"box without a component", -1, -1, id::CreateBox, nullptr},
            {"switch without a component", -1, -1, id::Block14, nullptr},
            {"remove without an attachment", 1, -1, id::RemoveAttachment, nullptr},
            {"copy without an attachment", 1, -1, id::CopyAttachment, nullptr},
            {"mirror without an attachment", 1, -1, id::CopyInvertX, nullptr},
            {"snap without an attachment", 1, -1, id::NearestPosition, nullptr},
            {"larger by letters", -1, -1, id::Larger, "abc"},
            {"smaller by zero", -1, -1, id::Smaller, "0"},
            {"merge cancelled", -1, -1, id::MergeShp, nullptr},
            {"open cancelled", -1, -1, id::OpenShp, nullptr},
        };
        for (const auto& c : cases) {
            select(w, c.component, c.attachment);
            if (c.scaleFactor)
                retype(w.control<QLineEdit>(id::ScaleFactor), QString::fromUtf8(c.scaleFactor));
            ModalDriver driver(rejectDialog);
            click(w, c.control);
            QTest::qWait(30);
            QVERIFY2(driver.shown == 0, c.what);
            QVERIFY2(state.file()->serialise() == original, c.what);
            QVERIFY2(!state.session->history().canUndo(), c.what);
        }

        // Open and Merge look for ships in the game's ships folder.
        QCOMPARE(editor.files.startPath, pathText(state.shipsDirectory));
        QCOMPARE(editor.files.filters, QStringList({QStringLiteral("Vantaris SHP (*.shp)"),
                                                    QStringLiteral("All Files (*)")}));

        // An attachment index kept from a component with more attachments than this one.
        clickEntry(w, id::ComponentList, 1);
        state.selectedAttachment = 3;
        for (const int button : {id::CopyAttachment, id::NearestPosition, id::RemoveAttachment})
            click(w, button);
        QVERIFY(state.file()->serialise() == original);
        QVERIFY(!w.isWindowModified());
        QVERIFY(editor.sink.messages.empty());
    }

    void refusalsShowTheirMessageAndChangeNothing()
    {
        const ByteVector end = testsupport::BlockBuilder().end().build();
        ByteVector cut = testsupport::buildShip(testsupport::sampleShip());
        cut.resize(cut.size() - 30);
        cut.insert(cut.end(), end.begin(), end.end());
        namespace lay = shipfile::layout;
        const ByteVector headless = testsupport::BlockBuilder()
                                        .block(lay::type::Components, 312, 1)
                                        .block(lay::type::Header, 64, 1)
                                        .block(lay::type::SectionStart, 4, 1)
                                        .end()
                                        .build();

        const testsupport::Ship sample = testsupport::sampleShip();
        testsupport::Ship reduced = sample, bare = sample, no13 = sample;
        reduced.componentRecordSize = 200;
        bare.components[1].withVertexBlock = false;
        bare.components[1].withFaceBlock = false;
        no13.components[1].withBlock13 = false;
        namespace says = editing::messages;
        const struct
        {
            const char* what;
            testsupport::Ship ship;
            int control;
            ByteVector merged;
            std::string_view message;
        } cases[] = {
            {"delete, reduced table",
             reduced,
             id::DeleteComponent,
             {},
             says::ReducedComponentBlock.text},
            {"snap, no vertices", bare, id::NearestPosition, {}, says::NoVertices.text},
            {"switch, no block13", no13, id::Block13, {}, says::ErrorInitializingBlock13.text},
            {"merge, no header", sample, id::MergeShp, headless, says::BadShpFile.text},
            {"merge, no ship", sample, id::MergeShp, {'j', 'u', 'n', 'k'}, messages::NotAnShp.text},
            {"merge, cut ship", sample, id::MergeShp, cut, says::MergeIncomplete.text},
            {"merge, end marker only", sample, id::MergeShp, end, messages::NoBlocks.text},
        };
        for (const auto& c : cases) {
            Editor editor;
            auto& w = editor.open(c.ship);
            select(w, 1, 0);
            const fs::path merged = editor.writeShip("merged.shp", c.merged);
            editor.files.answer = pathText(merged);
            const ByteVector before = editor.state().file()->serialise();
            editor.sink.messages.clear();

            click(w, c.control);
            QVERIFY2(!editor.sink.messages.empty(), c.what);
            QCOMPARE(editor.sink.messages.back().text,
                     messages::formatText(c.message, merged.string()));
            QVERIFY2(editor.state().file()->serialise() == before, c.what);
            QVERIFY(!w.isWindowModified());
            QCOMPARE(listed(w, id::ComponentList), texts({"Hull", "Turret"}));
        }
    }

    void dialogsWriteOnOkAndNothingOnCancel()
    {
        Editor editor;
        auto& w = editor.open();
        auto& state = editor.state();
        auto& file = *state.file();
        const ByteVector original = file.serialise();
        namespace props = resources::attachmentproperties;
        namespace component = resources::componentproperties;
        namespace anim = resources::animation;
        namespace kinds = resources::attachobject;

        // Each dialog, changed and then cancelled, leaves the bytes and the history alone.
        const struct
        {
            const char* what;
            int list, row, button;
            std::function<void(QDialog&)> changeAndCancel;
        } cancelled[] = {
            {"add", id::AttachmentList, 0, id::AddAttachment,
             [](QDialog& d) {
                 clickRow(control<QListWidget>(d, kinds::Kinds), 2);
                 control<QPushButton>(d, kinds::Cancel)->click();
             }},
            // Focus on the kinds list is no pick: OK then adds nothing.
            {"add without a kind", id::AttachmentList, 0, id::AddAttachment,
             [](QDialog& d) {
                 control<QListWidget>(d, kinds::Kinds)->setFocus(Qt::TabFocusReason);
                 control<QPushButton>(d, kinds::Ok)->click();
             }},
            {"attachment", id::AttachmentList, 1, -1,
             [](QDialog& d) {
                 retype(control<QLineEdit>(d, props::X), QStringLiteral("99"));
                 control<QPushButton>(d, props::Cancel)->click();
             }},
            {"component", id::ComponentList, 1, -1,
             [](QDialog& d) {
                 retype(control<QLineEdit>(d, component::Name), QStringLiteral("Gun deck"));
                 QTest::keyClick(&d, Qt::Key_Escape);
             }},
            // The hull has no frames block: opening adds one, Escape takes it away again.
            {"animation", id::ComponentList, 0, id::Animation,
             [](QDialog& d) {
                 retype(control<QLineEdit>(d, anim::FrameTime), QStringLiteral("750"));
                 QTest::keyClick(&d, Qt::Key_Escape);
             }},
        };
        clickEntry(w, id::ComponentList, 0);
        for (const auto& c : cancelled) {
            ModalDriver driver(c.changeAndCancel);
            if (c.button < 0) {
                doubleClickEntry(w, c.list, c.row);
            } else {
                clickEntry(w, c.list, c.row);
                click(w, c.button);
            }
            QVERIFY2(driver.shown == 1, c.what);
            QVERIFY2(file.serialise() == original, c.what);
            QVERIFY2(!state.session->history().canUndo(), c.what);
            QVERIFY(!w.isWindowModified());
            expectShowsTheDocument(w);
        }

        // OK: the fields reach the record, the lists follow, one step each.
        {
            ModalDriver driver([](QDialog& d) {
                retype(control<QLineEdit>(d, component::Name), QStringLiteral("Gun deck"));
                control<QPushButton>(d, component::Ok)->click();
            });
            doubleClickEntry(w, id::ComponentList, 1);
        }
        QCOMPARE(listed(w, id::ComponentList).at(1), QStringLiteral("Gun deck"));
        QCOMPARE(highlightedRow(w, id::ComponentList), 1);
        QCOMPARE(entryText(menuEntry(w, QStringLiteral("Undo"))),
                 QStringLiteral("Undo ") + QLatin1String("Component properties"));
        {
            ModalDriver driver([](QDialog& d) {
                retype(control<QLineEdit>(d, props::Z), QStringLiteral("-7.25"));
                control<QPushButton>(d, props::Ok)->click();
            });
            doubleClickEntry(w, id::AttachmentList, 0);
        }
        QCOMPARE(editing::attachmentProperties(file, 1, 0)->position.z, -7.25f);
        QCOMPARE(highlightedRow(w, id::AttachmentList), 0);
        expectShowsTheDocument(w);
        QCOMPARE(state.session->history().undoCount(), std::size_t{2});
        QVERIFY(w.isWindowModified());
    }

    void selectingInTheListsShowsAndKeepsTheSelection()
    {
        testsupport::Ship ship = testsupport::sampleShip();
        ship.components.push_back(ship.components[1]);
        ship.components[2].name = "Bare";
        ship.components[2].faces.clear();
        ship.components[2].withBlock13 = false;
        ship.components[2].block14Count = 0;
        Editor editor;
        auto& w = editor.open(ship);
        auto& state = editor.state();
        const auto switchesEnabled = [&w] {
            return w.control<QCheckBox>(id::DummyTriangle)->isEnabled() &&
                   w.control<QCheckBox>(id::Block13)->isEnabled() &&
                   w.control<QCheckBox>(id::Block14)->isEnabled();
        };
        QVERIFY(!switchesEnabled());
        QVERIFY(listed(w, id::AttachmentList).isEmpty());

        clickEntry(w, id::ComponentList, 0);
        QCOMPARE(state.selectedComponent, 0);
        QVERIFY(switchesEnabled());
        expectShowsTheDocument(w);
        clickEntry(w, id::AttachmentList, 3);
        QCOMPARE(state.selectedAttachment, 3);
        // Another component: its attachments, none of them selected.
        clickEntry(w, id::ComponentList, 1);
        QCOMPARE(state.selectedAttachment, -1);
        QCOMPARE(highlightedRow(w, id::AttachmentList), -1);
        expectShowsTheDocument(w);

        // A component without faces or type-13 block: said once, and every switch shows off.
        QVERIFY(editor.sink.messages.empty());
        clickEntry(w, id::ComponentList, 2);
        QCOMPARE(editor.sink.texts(), std::vector<std::string>{std::string(
                                          editing::messages::ErrorFindingBlock13.text)});
        QVERIFY(!isChecked(w, id::DummyTriangle) && !isChecked(w, id::Block13) &&
                !isChecked(w, id::Block14));

        // A click below the entries selects nothing.
        auto* components = w.control<QListWidget>(id::ComponentList);
        const QPoint below(components->viewport()->width() / 2,
                           components->viewport()->height() - 2);
        QVERIFY(!components->itemAt(below));
        QTest::mouseClick(components->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(state.selectedComponent, components->selectedItems().isEmpty() ? -1 : 2);

        // Undoing a delete lists the component again and keeps a selection that still exists;
        // undoing a merge drops the selection of a merged component.
        clickEntry(w, id::ComponentList, 1);
        click(w, id::DeleteComponent);
        clickEntry(w, id::ComponentList, 0);
        clickEntry(w, id::AttachmentList, 3);
        QAction* undo = menuEntry(w, QStringLiteral("Undo"));
        undo->trigger();
        QCOMPARE(listed(w, id::ComponentList).size(), 3);
        QCOMPARE(state.selectedAttachment, 3);
        QCOMPARE(highlightedRow(w, id::ComponentList), 0);
        QCOMPARE(highlightedRow(w, id::AttachmentList), 3);
        editor.files.answer = pathText(editor.writeShip("other.shp", testsupport::buildShip(ship)));
        click(w, id::MergeShp);
        clickEntry(w, id::ComponentList, 4);
        undo->trigger();
        QCOMPARE(listed(w, id::ComponentList).size(), 3);
        QCOMPARE(state.selectedComponent, -1);
        QCOMPARE(listed(w, id::AttachmentList), QStringList{});

        // Opening another ship forgets the selection and the switches.
        clickEntry(w, id::ComponentList, 0);
        editor.questions.answer = platform::SaveAnswer::Discard;
        click(w, id::OpenShp);
        QCOMPARE(state.selectedComponent, -1);
        QVERIFY(!switchesEnabled());
    }

    void fieldsAndBoxesReachTheirCommands()
    {
        Editor editor;
        auto& w = editor.open();
        auto& state = editor.state();
        const ByteVector original = state.file()->serialise();

        // The factor typed is the one both buttons use.
        retype(w.control<QLineEdit>(id::ScaleFactor), QStringLiteral("2"));
        click(w, id::Larger);
        const ByteVector doubled = state.file()->serialise();
        click(w, id::Smaller);
        QVERIFY(state.file()->serialise() == original);
        retype(w.control<QLineEdit>(id::ScaleFactor), QStringLiteral("1.2"));
        click(w, id::Larger);
        QVERIFY(state.file()->serialise() != doubled);
        QAction* undo = menuEntry(w, QStringLiteral("Undo"));
        undo->trigger();

        // "Type-1 only" scales the selected section only, and nothing without one.
        click(w, id::Flames);
        QVERIFY(!state.scaleFlames);
        click(w, id::TypeOneOnly);
        QVERIFY(state.typeOneOnly);
        click(w, id::Larger);
        QVERIFY(state.file()->serialise() == original);

        // Rotate and Back reach the snapping command: each snaps the attachment another way.
        QVERIFY(isChecked(w, id::Rotate) && !isChecked(w, id::Back));
        select(w, 0, 2);
        std::set<ByteVector> snapped;
        for (const int box : {id::NearestPosition, id::Back, id::Rotate}) {
            if (box != id::NearestPosition)
                click(w, box);
            click(w, id::NearestPosition);
            snapped.insert(state.file()->serialise());
            undo->trigger();
        }
        QCOMPARE(snapped.size(), std::size_t{3});

        // The zoom range is the zoom at the slider's far end; 0 and negatives are refused.
        auto* slider = w.control<QSlider>(id::ZoomSlider);
        auto* range = w.control<QLineEdit>(id::ZoomRange);
        range->setText(QStringLiteral("250"));
        slider->setValue(slider->maximum());
        QCOMPARE(w.view().zoom, 250.0);
        for (const QString& refused : {QStringLiteral("0"), QStringLiteral("-5")}) {
            range->setText(refused);
            QVERIFY(w.statusLine().contains(QStringLiteral("\"%1\" is not").arg(refused)));
        }
        range->setText(QStringLiteral("100"));
        QCOMPARE(w.view().zoom, 100.0);
        QCOMPARE(slider->value(), slider->maximum());
    }

    void theModifiedMarkerFollowsTheHistory()
    {
        Editor editor;
        auto& w = editor.open();
        QAction* undo = menuEntry(w, QStringLiteral("Undo"));
        click(w, id::ChangeShipClass);
        QVERIFY(w.isWindowModified());
        undo->trigger();
        QVERIFY(!w.isWindowModified());
        // Once saved, the saved bytes are the ones that count.
        menuEntry(w, QStringLiteral("Redo"))->trigger();
        w.save();
        QVERIFY(!w.isWindowModified());
        undo->trigger();
        QVERIFY(w.isWindowModified());
        menuEntry(w, QStringLiteral("Redo"))->trigger();
        QVERIFY(!w.isWindowModified());

        // A header record too short to hold the class byte shows none.
        testsupport::Ship shortHeader = testsupport::sampleShip();
        shortHeader.headerRecordSize = 20;
        editor.files.answer =
            pathText(editor.writeShip("short.shp", testsupport::buildShip(shortHeader)));
        click(w, id::OpenShp);
        QVERIFY(editor.state().file());
        QCOMPARE(w.control<QLineEdit>(id::ShipClass)->text(), QString());
    }
};

KORVEX_REGISTER_TEST(CommandsTest);

} // namespace apptests

#include "CommandsTest.moc"
