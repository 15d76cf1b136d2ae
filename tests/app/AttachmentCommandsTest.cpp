#include "app/AttachmentCommands.h"

#include "editing/Messages.h"
#include "resources/AttachObjectTemplate.h"
#include "resources/AttachmentPropertiesTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "shipfile/Messages.h"
#include "tests/app/CommandTestSupport.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QCheckBox>
#include <QPushButton>

namespace apptests {

namespace id = resources::mainwindow;
namespace lay = shipfile::layout;
using shipfile::Vec3;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Face;
using testsupport::Ship;

namespace {

/// Two triangles: one with its centre at (1, 1, 0) facing +z, one centred on (11, 1, 0) facing
/// +y; and three attachments: a missile mount, a gun at (10, 2, -3) with a turned orientation,
/// and an engine flame.
Component plate()
{
    Component c;
    c.name = "Plate";
    c.textures = {"hull_plate"};
    c.vertices = {{0, 0, 0}, {3, 0, 0}, {0, 3, 0}, {10, 0, 0}, {13, 0, 0}, {10, 3, 0}};
    Face a;
    a.a = 0, a.b = 1, a.c = 2;
    a.normal = {0, 0, 1};
    Face b;
    b.a = 3, b.b = 4, b.c = 5;
    b.normal = {0, 1, 0};
    c.faces = {a, b};

    Attachment gun{3, {10, 2, -3}};
    gun.keepTemplateMatrix = false;
    const float turned[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    std::copy(std::begin(turned), std::end(turned), gun.matrix);
    gun.gunIndex = 2;
    c.attachments = {Attachment{0, {1, 2, 3}}, gun, Attachment{2, {0, 0, -9}}};
    return c;
}

Ship plateShip()
{
    Ship ship;
    Component second = plate();
    second.name = "Second";
    second.attachments = {Attachment{4, {5, 5, 5}}};
    ship.components = {plate(), second};
    return ship;
}

/// The editor with `ship` open and component `component` clicked.
app::MainDialog& openWith(Editor& editor, const Ship& ship, int component)
{
    const fs::path path = editor.writeShip("ship.shp", testsupport::buildShip(ship));
    auto& w = editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
    clickEntry(w, id::ComponentList, component);
    return w;
}

/// Picks entry `kind` in "Attach object" (none for -1) and closes it with OK.
std::function<void(QDialog&)> pickKind(int kind)
{
    return [kind](QDialog& dialog) {
        if (kind >= 0)
            clickRow(control<QListWidget>(dialog, resources::attachobject::Kinds), kind);
        control<QPushButton>(dialog, resources::attachobject::Ok)->click();
    };
}

QString entryText(app::MainDialog& w, int row)
{
    return w.control<QListWidget>(id::AttachmentList)->item(row)->text();
}

} // namespace

class AttachmentCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void addRunsTheKindDialogAndSelectsTheLastEntry()
    {
        Editor editor;
        auto& w = openWith(editor, plateShip(), 0);
        auto& state = editor.state();
        clickEntry(w, id::AttachmentList, 0);
        const auto before = state.file->serialise();

        {
            // Cancel: not even the list changes.
            ModalDriver driver(rejectDialog);
            w.control<QPushButton>(id::AddAttachment)->click();
            QCOMPARE(driver.shown, 1);
        }
        QCOMPARE(state.file->serialise(), before);
        QCOMPARE(state.selectedAttachment, 0);
        QCOMPARE(highlightedRow(w, id::AttachmentList), 0);
        QVERIFY(!w.isWindowModified());

        {
            // OK without a kind: nothing appended, the last entry selected.
            ModalDriver driver(pickKind(-1));
            w.control<QPushButton>(id::AddAttachment)->click();
            QCOMPARE(driver.shown, 1);
        }
        QCOMPARE(state.file->serialise(), before);
        QCOMPARE(state.selectedAttachment, 2);
        QCOMPARE(highlightedRow(w, id::AttachmentList), 2);

        {
            ModalDriver driver(pickKind(3));
            w.control<QPushButton>(id::AddAttachment)->click();
        }
        const auto records = attachmentRecords(*state.file, 0);
        QCOMPARE(records.size(), std::size_t{4});
        const shipfile::Bytes gunTemplate = shipfile::attachmentTemplate(lay::AttachmentKind::Gun);
        QVERIFY(std::equal(records[3].begin(), records[3].end(), gunTemplate.begin(),
                           gunTemplate.end()));
        QCOMPARE(w.control<QListWidget>(id::AttachmentList)->count(), 4);
        QCOMPARE(entryText(w, 3),
                 QStringLiteral("Gun: ") + QString::fromUtf8(shipfile::gunModelName(4)));
        QCOMPARE(state.selectedAttachment, 3);
        QCOMPARE(highlightedRow(w, id::AttachmentList), 3);
        QVERIFY(w.isWindowModified());
        // The other component kept its one attachment.
        QCOMPARE(attachmentRecords(*state.file, 1).size(), std::size_t{1});
    }

    void addNeedsAComponent()
    {
        Editor editor;
        const fs::path path = editor.writeShip("ship.shp", testsupport::buildShip(plateShip()));
        auto& w = editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
        const auto before = editor.state().file->serialise();

        ModalDriver driver(pickKind(0));
        w.control<QPushButton>(id::AddAttachment)->click();
        QTest::qWait(50);
        QCOMPARE(driver.shown, 0);
        QCOMPARE(editor.state().file->serialise(), before);
    }

    void removeSelectsTheLastEntry()
    {
        Editor editor;
        auto& w = openWith(editor, plateShip(), 0);
        auto& state = editor.state();
        const auto records = attachmentRecords(*state.file, 0);

        clickEntry(w, id::AttachmentList, 0);
        w.control<QPushButton>(id::RemoveAttachment)->click();
        QCOMPARE(attachmentRecords(*state.file, 0),
                 (std::vector<std::vector<std::uint8_t>>{records[1], records[2]}));
        QCOMPARE(state.selectedAttachment, 1);
        QCOMPARE(highlightedRow(w, id::AttachmentList), 1);
        QCOMPARE(w.control<QListWidget>(id::AttachmentList)->count(), 2);
        QVERIFY(w.isWindowModified());

        // The only attachment of the second component.
        clickEntry(w, id::ComponentList, 1);
        clickEntry(w, id::AttachmentList, 0);
        w.control<QPushButton>(id::RemoveAttachment)->click();
        QVERIFY(attachmentRecords(*state.file, 1).empty());
        QCOMPARE(w.control<QListWidget>(id::AttachmentList)->count(), 0);
        QCOMPARE(state.selectedAttachment, -1);

        // Nothing selected any more: Remove does nothing.
        const auto before = state.file->serialise();
        w.control<QPushButton>(id::RemoveAttachment)->click();
        QCOMPARE(state.file->serialise(), before);
    }

    void copiesKeepTheSourceSelectedWithoutHighlight()
    {
        Editor editor;
        auto& w = openWith(editor, plateShip(), 0);
        auto& state = editor.state();
        clickEntry(w, id::AttachmentList, 1);
        const auto gun = attachmentRecords(*state.file, 0)[1];

        w.control<QPushButton>(id::CopyInvertX)->click();
        auto records = attachmentRecords(*state.file, 0);
        QCOMPARE(records.size(), std::size_t{4});
        QCOMPARE(positionOf(records[3]), (Vec3{-10, 2, -3}));
        QCOMPARE(matrixOf(records[3]), matrixOf(gun));
        QCOMPARE(fieldOf(records[3], lay::attachment::GunIndex), 2);
        QCOMPARE(records[1], gun);
        QCOMPARE(state.selectedAttachment, 1);
        QCOMPARE(highlightedRow(w, id::AttachmentList), -1);
        QCOMPARE(w.control<QListWidget>(id::AttachmentList)->count(), 4);
        QVERIFY(w.isWindowModified());

        // The selection still names the source: a plain copy duplicates it exactly.
        w.control<QPushButton>(id::CopyAttachment)->click();
        records = attachmentRecords(*state.file, 0);
        QCOMPARE(records.size(), std::size_t{5});
        QCOMPARE(records[4], gun);
        QCOMPARE(state.selectedAttachment, 1);
    }

    void staleAttachmentIndexTouchesNothing()
    {
        Editor editor;
        auto& w = openWith(editor, plateShip(), 1);
        auto& state = editor.state();
        // An index kept from a component with more attachments than this one has.
        state.selectedAttachment = 2;
        const auto before = state.file->serialise();
        for (const int button :
             {id::CopyAttachment, id::CopyInvertX, id::NearestPosition, id::RemoveAttachment})
            w.control<QPushButton>(button)->click();
        QCOMPARE(state.file->serialise(), before);
        QVERIFY(editor.sink.messages.empty());
    }

    void nearestPositionSnapsAndTurnsByTheOptions()
    {
        Editor editor;
        auto& w = openWith(editor, plateShip(), 0);
        auto& state = editor.state();
        auto* rotate = w.control<QCheckBox>(id::Rotate);
        auto* back = w.control<QCheckBox>(id::Back);
        QVERIFY(rotate->isChecked() && state.rotate);
        QVERIFY(!back->isChecked() && !w.attachmentCommands().back());

        // The gun at (10, 2, -3) lies nearest the +y face: identity orientation.
        clickEntry(w, id::AttachmentList, 1);
        w.control<QPushButton>(id::NearestPosition)->click();
        auto gun = attachmentRecords(*state.file, 0)[1];
        QCOMPARE(positionOf(gun), (Vec3{11, 1, 0}));
        QCOMPARE(matrixOf(gun), (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
        QVERIFY(w.isWindowModified());

        // Back: first and last rows negated.
        clickCheckBox(back);
        QVERIFY(back->isChecked() && w.attachmentCommands().back());
        w.control<QPushButton>(id::NearestPosition)->click();
        gun = attachmentRecords(*state.file, 0)[1];
        QCOMPARE(matrixOf(gun), (std::vector<float>{-1, -0.0f, -0.0f, 0, 1, 0, -0.0f, -0.0f, -1}));

        // Without Rotate only the position moves: the mount at (1, 2, 3) goes to the +z face
        // and keeps its template orientation.
        clickCheckBox(rotate);
        QVERIFY(!rotate->isChecked() && !state.rotate);
        clickEntry(w, id::AttachmentList, 0);
        const auto mountBefore = attachmentRecords(*state.file, 0)[0];
        w.control<QPushButton>(id::NearestPosition)->click();
        const auto mount = attachmentRecords(*state.file, 0)[0];
        QCOMPARE(positionOf(mount), (Vec3{1, 1, 0}));
        QCOMPARE(matrixOf(mount), matrixOf(mountBefore));
        QCOMPARE(highlightedRow(w, id::AttachmentList), 0);
    }

    void nearestPositionReportsAMissingVertexBlock()
    {
        Ship ship = plateShip();
        ship.components[1].withVertexBlock = false;
        ship.components[1].withFaceBlock = false;
        Editor editor;
        auto& w = openWith(editor, ship, 1);
        clickEntry(w, id::AttachmentList, 0);
        const auto before = editor.state().file->serialise();
        editor.sink.messages.clear();
        w.control<QPushButton>(id::NearestPosition)->click();
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{std::string(editing::messages::NoVertices.text)});
        QVERIFY(editor.sink.messages.front().ownedByMainWindow);
        QCOMPARE(editor.state().file->serialise(), before);
    }

    void doubleClickEditsThePropertiesAndCancelKeepsTheAttachment()
    {
        Editor editor;
        auto& w = openWith(editor, plateShip(), 0);
        auto& state = editor.state();
        namespace props = resources::attachmentproperties;

        {
            // A new gun and a new X, then Cancel: nothing is written.
            ModalDriver driver([](QDialog& dialog) {
                QCOMPARE(control<QLineEdit>(dialog, props::X)->text(), QStringLiteral("10.000000"));
                clickRow(control<QListWidget>(dialog, props::Properties), 5);
                retype(control<QLineEdit>(dialog, props::X), QStringLiteral("12.5"));
                control<QPushButton>(dialog, props::Cancel)->click();
            });
            doubleClickEntry(w, id::AttachmentList, 1);
            QCOMPARE(driver.shown, 1);
        }
        auto gun = attachmentRecords(*state.file, 0)[1];
        QCOMPARE(positionOf(gun), (Vec3{10, 2, -3}));
        QCOMPARE(fieldOf(gun, lay::attachment::GunIndex), 2);
        QCOMPARE(state.selectedAttachment, 1);
        QCOMPARE(highlightedRow(w, id::AttachmentList), 1);
        QVERIFY(!w.isWindowModified());

        {
            ModalDriver driver([](QDialog& dialog) {
                clickRow(control<QListWidget>(dialog, props::Properties), 5);
                retype(control<QLineEdit>(dialog, props::Z), QStringLiteral("-7.25"));
                control<QPushButton>(dialog, props::Ok)->click();
            });
            doubleClickEntry(w, id::AttachmentList, 1);
        }
        gun = attachmentRecords(*state.file, 0)[1];
        QCOMPARE(positionOf(gun), (Vec3{10, 2, -7.25f}));
        QCOMPARE(fieldOf(gun, lay::attachment::GunIndex), 5);
        QCOMPARE(entryText(w, 1),
                 QStringLiteral("Gun: ") + QString::fromUtf8(shipfile::gunModelName(5)));
        QCOMPARE(highlightedRow(w, id::AttachmentList), 1);

        // An engine flame: the colour goes to the style index.
        {
            ModalDriver driver([](QDialog& dialog) {
                clickRow(control<QListWidget>(dialog, props::Properties), 4);
                control<QPushButton>(dialog, props::Ok)->click();
            });
            doubleClickEntry(w, id::AttachmentList, 2);
        }
        QCOMPARE(fieldOf(attachmentRecords(*state.file, 0)[2], lay::attachment::StyleIndex), 4);
    }

    void negativeKindOpensNoDialog()
    {
        Ship ship = plateShip();
        ship.components[0].attachments[0].kind = -3;
        Editor editor;
        auto& w = openWith(editor, ship, 0);
        const auto before = editor.state().file->serialise();
        ModalDriver driver(rejectDialog);
        doubleClickEntry(w, id::AttachmentList, 0);
        QTest::qWait(50);
        QCOMPARE(driver.shown, 0);
        QCOMPARE(editor.state().file->serialise(), before);
        QCOMPARE(editor.state().selectedAttachment, 0);
    }
};

KORVEX_REGISTER_TEST(AttachmentCommandsTest);

} // namespace apptests

#include "AttachmentCommandsTest.moc"
