#include "resources/AttachObjectTemplate.h"
#include "resources/AttachmentPropertiesTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "tests/app/CommandTestSupport.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QCheckBox>
#include <QPushButton>

// Whole editing sessions on a demo ship through the window's controls, saved and opened again
// in a fresh window: what the commands did must be what the file holds.
namespace apptests {

namespace id = resources::mainwindow;
namespace lay = shipfile::layout;
namespace props = resources::attachmentproperties;
using shipfile::Vec3;

namespace {

app::MainDialog& openShip(Editor& editor, const fs::path& path)
{
    return editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
}

void click(app::MainDialog& w, int buttonId)
{
    w.control<QPushButton>(buttonId)->click();
}

void addKind(app::MainDialog& w, int kind)
{
    ModalDriver driver([kind](QDialog& dialog) {
        clickRow(control<QListWidget>(dialog, resources::attachobject::Kinds), kind);
        control<QPushButton>(dialog, resources::attachobject::Ok)->click();
    });
    click(w, id::AddAttachment);
}

} // namespace

class EditingRoundTripTest : public QObject
{
    Q_OBJECT

private slots:
    void attachmentsStayWhereTheyWerePut()
    {
        Editor editor;
        auto& w =
            openShip(editor, editor.writeShip("fighter.shp",
                                              testsupport::buildShip(testsupport::demoFighter())));
        auto& file = *editor.state().file;
        clickEntry(w, id::ComponentList, 0);
        const int first = static_cast<int>(attachmentRecords(file, 0).size());

        for (int kind = 0; kind < 5; ++kind)
            addKind(w, kind);
        QCOMPARE(static_cast<int>(attachmentRecords(file, 0).size()), first + 5);
        for (int kind = 0; kind < 5; ++kind)
            QCOMPARE(fieldOf(attachmentRecords(file, 0)[static_cast<std::size_t>(first + kind)],
                             lay::attachment::Kind),
                     kind);

        // The new gun by coordinates and model.
        const int gun = first + 3;
        {
            ModalDriver driver([](QDialog& dialog) {
                clickRow(control<QListWidget>(dialog, props::Properties), 7);
                retype(control<QLineEdit>(dialog, props::X), QStringLiteral("1.5"));
                retype(control<QLineEdit>(dialog, props::Y), QStringLiteral("-2.25"));
                retype(control<QLineEdit>(dialog, props::Z), QStringLiteral("30"));
                control<QPushButton>(dialog, props::Ok)->click();
            });
            doubleClickEntry(w, id::AttachmentList, gun);
            QCOMPARE(driver.shown, 1);
        }

        // The new missile mount onto the nearest face, turned to it.
        clickEntry(w, id::AttachmentList, first);
        const auto mountBefore = attachmentRecords(file, 0)[static_cast<std::size_t>(first)];
        click(w, id::NearestPosition);
        const auto mount = attachmentRecords(file, 0)[static_cast<std::size_t>(first)];
        QVERIFY(positionOf(mount) != positionOf(mountBefore));
        QVERIFY(matrixOf(mount) != matrixOf(mountBefore));

        // A copy of the flame and a mirror of the gun.
        clickEntry(w, id::AttachmentList, first + 2);
        click(w, id::CopyAttachment);
        clickEntry(w, id::AttachmentList, gun);
        click(w, id::CopyInvertX);

        const auto edited = attachmentRecords(file, 0);
        QCOMPARE(static_cast<int>(edited.size()), first + 7);
        QCOMPARE(positionOf(edited[static_cast<std::size_t>(gun)]), (Vec3{1.5f, -2.25f, 30}));
        QCOMPARE(fieldOf(edited[static_cast<std::size_t>(gun)], lay::attachment::GunIndex), 7);
        QCOMPARE(edited[static_cast<std::size_t>(first + 5)],
                 edited[static_cast<std::size_t>(first + 2)]);
        QCOMPARE(positionOf(edited.back()), (Vec3{-1.5f, -2.25f, 30}));
        const QStringList labels = entries(w.control<QListWidget>(id::AttachmentList));

        QVERIFY(w.isWindowModified());
        click(w, id::Save);
        QVERIFY(!w.isWindowModified());

        Editor reopened;
        auto& w2 = openShip(reopened, editor.state().currentFileName);
        clickEntry(w2, id::ComponentList, 0);
        QCOMPARE(attachmentRecords(*reopened.state().file, 0), edited);
        QCOMPARE(entries(w2.control<QListWidget>(id::AttachmentList)), labels);
        QCOMPARE(reopened.state().file->serialise(), file.serialise());
    }

    void componentEditsStayAfterSaving()
    {
        Editor editor;
        const fs::path fighter =
            editor.writeShip("fighter.shp", testsupport::buildShip(testsupport::demoFighter()));
        const fs::path pod =
            editor.writeShip("pod.shp", testsupport::buildShip(testsupport::demoCargoPod()));
        auto& w = openShip(editor, fighter);
        auto& file = *editor.state().file;
        const QStringList names = entries(w.control<QListWidget>(id::ComponentList));

        editor.files.answer = QString::fromStdString(pod.string());
        click(w, id::MergeShp);
        // Cockpit goes.
        clickEntry(w, id::ComponentList, 1);
        click(w, id::DeleteComponent);
        retype(w.control<QLineEdit>(id::ScaleFactor), QStringLiteral("2"));
        click(w, id::Larger);
        const Vec3 scaledVertex = vertexOf(file, 0, 0);

        // The fuselage: its box built again, its special blocks switched.
        clickEntry(w, id::ComponentList, 0);
        click(w, id::ClearBoxes);
        click(w, id::CreateBox);
        const bool block13 = w.control<QCheckBox>(id::Block13)->isChecked();
        const bool block14 = w.control<QCheckBox>(id::Block14)->isChecked();
        const bool dummy = w.control<QCheckBox>(id::DummyTriangle)->isChecked();
        for (const int box : {id::Block13, id::Block14, id::DummyTriangle})
            clickCheckBox(w.control<QCheckBox>(box));
        click(w, id::ChangeShipClass);

        const QStringList edited = entries(w.control<QListWidget>(id::ComponentList));
        QCOMPARE(edited.size(), names.size() - 1 + 1);
        QCOMPARE(edited.front(), names.front());
        QVERIFY(!edited.contains(names.at(1)));
        const QString shipClass = w.control<QLineEdit>(id::ShipClass)->text();
        click(w, id::Save);

        Editor reopened;
        auto& w2 = openShip(reopened, editor.state().currentFileName);
        QCOMPARE(reopened.state().file->serialise(), file.serialise());
        QCOMPARE(entries(w2.control<QListWidget>(id::ComponentList)), edited);
        QCOMPARE(w2.control<QLineEdit>(id::ShipClass)->text(), shipClass);
        QCOMPARE(vertexOf(*reopened.state().file, 0, 0), scaledVertex);
        clickEntry(w2, id::ComponentList, 0);
        QCOMPARE(w2.control<QCheckBox>(id::Block13)->isChecked(), !block13);
        QCOMPARE(w2.control<QCheckBox>(id::Block14)->isChecked(), !block14);
        QCOMPARE(w2.control<QCheckBox>(id::DummyTriangle)->isChecked(), !dummy);
        QCOMPARE(sectionBlocks(*reopened.state().file, 0, lay::type::Boxes).front()->count, 1u);
    }
};

KORVEX_REGISTER_TEST(EditingRoundTripTest);

} // namespace apptests

#include "EditingRoundTripTest.moc"
