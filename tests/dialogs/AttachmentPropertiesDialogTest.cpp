#include "dialogs/AttachmentPropertiesDialog.h"

#include "dialogs/FieldText.h"
#include "editing/AttachmentProperties.h"
#include "resources/AttachmentPropertiesTemplate.h"
#include "tests/app/TestRegistry.h"
#include "tests/dialogs/DialogTestSupport.h"

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

    void coordinateTextWithoutNumberIsMarkedAndKeepsTheValue()
    {
        OpenShip ship(testsupport::sampleShip());
        OpenDialog open(ship, 0);
        for (const char* typed : {"", "abc", "12abc", "1e39"}) {
            retype(open.edit(id::Y), QString::fromUtf8(typed));
            QVERIFY2(isMarkedInvalid(*open.edit(id::Y)), typed);
        }
        retype(open.edit(id::Y), QStringLiteral("-3e2"));
        QVERIFY(!isMarkedInvalid(*open.edit(id::Y)));
        open.edit(id::Y)->setText(QStringLiteral("abc"));
        open.click(id::Ok);
        QCOMPARE(stored(ship, 0).position.y, -300.0f);
    }
};

KORVEX_REGISTER_TEST(AttachmentPropertiesDialogTest);

#include "AttachmentPropertiesDialogTest.moc"
