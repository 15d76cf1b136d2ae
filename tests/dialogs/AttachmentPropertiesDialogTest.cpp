#include "dialogs/AttachmentPropertiesDialog.h"

#include "dialogs/FieldText.h"
#include "editing/AttachmentProperties.h"
#include "resources/AttachmentPropertiesTemplate.h"
#include "tests/app/TestRegistry.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QLabel>

#include <functional>

namespace {

using dialogs::AttachmentPropertiesDialog;
namespace id = resources::attachmentproperties;

// The sample ship's hull (component 0) holds attachment k of kind k at (20k - 40, 50, 100).
struct OpenDialog : Shown<AttachmentPropertiesDialog>
{
    OpenDialog(OpenShip& ship, int attachment) : Shown(*ship.file, 0, attachment) {}
    QListWidget* list() { return Shown::list(id::Properties); }
};

editing::AttachmentProperties stored(OpenShip& ship, int attachment)
{
    return *editing::attachmentProperties(*ship.file, 0, attachment);
}

} // namespace

class AttachmentPropertiesDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void eachKindListsItsChoicesAndOkStoresThePick()
    {
        for (int kind = 0; kind < 5; ++kind) {
            OpenShip ship(testsupport::sampleShip());
            const editing::AttachmentProperties before = stored(ship, kind);
            OpenDialog open(ship, kind);
            QCOMPARE(open.edit(id::X)->text(), QString::number(before.position.x, 'f', 6));
            QStringList choices;
            for (const std::string& choice : editing::propertyChoices(kind))
                choices << QString::fromStdString(choice);
            QCOMPARE(entries(open.list()), choices);
            const auto highlighted = editing::highlightedChoice(kind, before.propertyIndex);
            const QList<QListWidgetItem*> selected = open.list()->selectedItems();
            QCOMPARE(selected.isEmpty() ? -1 : open.list()->row(selected.front()),
                     highlighted.value_or(-1));

            if (!choices.isEmpty())
                clickRow(open.list(), 1);
            retype(open.edit(id::X), QStringLiteral("4.5"));
            open.click(id::Ok);
            QCOMPARE(open.dialog.result(), int(QDialog::Accepted));
            const editing::AttachmentProperties after = stored(ship, kind);
            QCOMPARE(after.position.x, 4.5f);
            QCOMPARE(after.position.y, before.position.y);
            // The row is the stored index.
            QCOMPARE(after.propertyIndex, choices.isEmpty() ? before.propertyIndex : 1);
        }
    }

    // OK writes, as above; every other way out leaves the attachment as it was.
    void closingOtherThanByOkWritesNothing()
    {
        const std::pair<const char*, std::function<void(OpenDialog&)>> closings[] = {
            {"Cancel", [](OpenDialog& open) { open.click(id::Cancel); }},
            {"close box", [](OpenDialog& open) { open.dialog.close(); }},
            {"Escape", [](OpenDialog& open) { QTest::keyClick(&open.dialog, Qt::Key_Escape); }},
        };
        for (const auto& [how, close] : closings) {
            OpenShip ship(testsupport::sampleShip());
            const auto original = ship.file->serialise();
            OpenDialog open(ship, 4);
            clickRow(open.list(), 0);
            retype(open.edit(id::Y), QStringLiteral("12.5"));
            close(open);
            QVERIFY(!open.dialog.isVisible());
            QVERIFY2(ship.file->serialise() == original, how);
        }
    }

    // Text without a number is marked, and OK refuses it: the dialog stays open, names the
    // coordinate and puts the cursor in it; nothing is written until every coordinate holds one.
    void okIsRefusedWhileACoordinateHoldsNoNumber()
    {
        OpenShip ship(testsupport::sampleShip());
        const editing::AttachmentProperties before = stored(ship, 0);
        OpenDialog open(ship, 0);
        auto* problem = platform::findControl<QLabel>(open.dialog, id::Problem);
        QVERIFY(problem && problem->text().isEmpty());
        for (const char* typed : {"", "abc", "12abc", "1e39", "1e999"}) {
            retype(open.edit(id::Z), QStringLiteral("-3e2"));
            retype(open.edit(id::Y), QString::fromUtf8(typed));
            QVERIFY2(isMarkedInvalid(*open.edit(id::Y)), typed);
            open.click(id::Ok);
            QVERIFY2(open.dialog.isVisible() && open.dialog.result() != QDialog::Accepted, typed);
            QCOMPARE(problem->text(), QStringLiteral("The Y coordinate \"%1\" is not a number a "
                                                     "ship can hold.")
                                          .arg(QString::fromUtf8(typed)));
            QCOMPARE(open.dialog.focusWidget(), open.edit(id::Y));
            QCOMPARE(stored(ship, 0).position.y, before.position.y);
        }
        // Mending the field clears the line; OK then writes.
        retype(open.edit(id::Y), QStringLiteral("7"));
        QVERIFY(problem->text().isEmpty());
        open.click(id::Ok);
        QCOMPARE(open.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(stored(ship, 0).position.y, 7.0f);
        QCOMPARE(stored(ship, 0).position.z, -300.0f);
    }
};

KORVEX_REGISTER_TEST(AttachmentPropertiesDialogTest);

#include "AttachmentPropertiesDialogTest.moc"
