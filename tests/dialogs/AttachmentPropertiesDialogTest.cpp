#include "dialogs/AttachmentPropertiesDialog.h"

#include "dialogs/FieldText.h"
#include "resources/AttachmentPropertiesTemplate.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/dialogs/DialogTests.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace {

using dialogs::AttachmentPropertiesDialog;
using shipfile::Vec3;
namespace id = resources::attachmentproperties;
namespace lay = shipfile::layout;

// The attachment under test is record 1 of the second component's type-9 block.
constexpr int Component = 1;
constexpr int Attachment = 1;

testsupport::Ship shipWith(const testsupport::Attachment& edited)
{
    testsupport::Component first;
    first.attachments = {{}};
    testsupport::Component second;
    testsupport::Attachment neighbour;
    neighbour.kind = 2;
    second.attachments = {neighbour, edited};
    testsupport::Ship ship;
    ship.components = {first, second};
    return ship;
}

testsupport::Attachment attachment(int kind, Vec3 position = {1, 2, 3}, int styleIndex = -1,
                                   int gunIndex = -1)
{
    testsupport::Attachment a;
    a.kind = kind;
    a.position = position;
    a.styleIndex = styleIndex;
    a.gunIndex = gunIndex;
    return a;
}

std::vector<std::uint8_t> recordBytes(shipfile::ShipFile& file)
{
    const shipfile::Bytes record = shipfile::attachmentBlockOf(file, Component)->record(Attachment);
    return {record.begin(), record.end()};
}

std::int32_t storedI32(shipfile::ShipFile& file, std::size_t offset)
{
    return shipfile::readI32(recordBytes(file), offset).value_or(-999);
}

Vec3 storedPosition(shipfile::ShipFile& file)
{
    return shipfile::readVec3(recordBytes(file), lay::attachment::Position).value_or(Vec3{});
}

struct OpenDialog
{
    explicit OpenDialog(OpenShip& ship, int attachmentIndex = Attachment)
        : dialog(*ship.file, Component, attachmentIndex)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    QListWidget* list() { return control<QListWidget>(dialog, id::Properties); }
    QLineEdit* edit(int controlId) { return control<QLineEdit>(dialog, controlId); }
    void click(int button)
    {
        QTest::mouseClick(control<QPushButton>(dialog, button), Qt::LeftButton);
    }

    AttachmentPropertiesDialog dialog;
};

enum class Closing
{
    Ok,
    CancelButton,
    CloseBox,
    Escape,
};

void closeBy(OpenDialog& open, Closing how)
{
    switch (how) {
    case Closing::Ok:
        open.click(id::Ok);
        break;
    case Closing::CancelButton:
        open.click(id::Cancel);
        break;
    case Closing::CloseBox:
        open.dialog.close();
        break;
    case Closing::Escape:
        QTest::keyClick(&open.dialog, Qt::Key_Escape);
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Closing)

class AttachmentPropertiesDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void missileMountHasNoPropertyAndWritesOnlyItsPosition()
    {
        OpenShip ship(shipWith(attachment(0, {1, 2, 3}, 5)));
        auto expected = recordBytes(*ship.file);
        shipfile::writeF32(expected, lay::attachment::Position, 4.5f);

        OpenDialog open(ship);
        QCOMPARE(open.list()->count(), 0);
        QCOMPARE(open.edit(id::X)->text(), QStringLiteral("1.000000"));
        QCOMPARE(open.edit(id::Y)->text(), QStringLiteral("2.000000"));
        QCOMPARE(open.edit(id::Z)->text(), QStringLiteral("3.000000"));
        retype(open.edit(id::X), QStringLiteral("4.5"));
        open.click(id::Ok);

        QVERIFY(!open.dialog.isVisible());
        QCOMPARE(open.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(recordBytes(*ship.file), expected);
    }

    void lightColoursByStoredValue()
    {
        OpenShip ship(shipWith(attachment(4, {}, 3)));
        OpenDialog open(ship);
        QCOMPARE(entries(open.list()),
                 (texts({"Blue", "Green", "Yellow", "Red", "Light Blue", "White"})));
        QCOMPARE(open.list()->selectedItems().size(), 1);
        QCOMPARE(open.list()->selectedItems().front()->text(), QStringLiteral("Red"));

        clickRow(open.list(), 0);
        open.click(id::Ok);
        QCOMPARE(storedI32(*ship.file, lay::attachment::StyleIndex), 0);
    }

    void flameColoursByStoredValue()
    {
        OpenShip ship(shipWith(attachment(2, {}, 0)));
        OpenDialog open(ship);
        QCOMPARE(entries(open.list()), (texts({"Red (0)", "Red (1)", "Green", "Yellow", "Blue",
                                               "Purple", "Light Blue", "White"})));
        clickRow(open.list(), 4);
        QCOMPARE(open.list()->item(4)->text(), QStringLiteral("Blue"));
        open.click(id::Ok);
        QCOMPARE(storedI32(*ship.file, lay::attachment::StyleIndex), 4);
    }

    void gunObjectOutsideTheListIsKept()
    {
        OpenShip ship(shipWith(attachment(1, {}, 17)));
        OpenDialog open(ship);
        const QStringList names = entries(open.list());
        QCOMPARE(names.size(), 17);
        QCOMPARE(names.front(), QString::fromUtf8(shipfile::gunModelName(16).data()));
        QCOMPARE(names.back(), QString::fromUtf8(shipfile::gunModelName(32).data()));
        QVERIFY(open.list()->selectedItems().isEmpty());

        open.click(id::Ok);
        QCOMPARE(storedI32(*ship.file, lay::attachment::StyleIndex), 17);
    }

    void gunModelGoesToTheGunIndex()
    {
        OpenShip ship(shipWith(attachment(3, {}, 6, 4)));
        OpenDialog open(ship);
        QCOMPARE(open.list()->count(), 16);
        QCOMPARE(open.list()->item(0)->text(), QString());
        QCOMPARE(open.list()->currentRow(), 4);

        clickRow(open.list(), 2);
        open.click(id::Ok);
        QCOMPARE(storedI32(*ship.file, lay::attachment::GunIndex), 2);
        QCOMPARE(storedI32(*ship.file, lay::attachment::StyleIndex), 6);
    }

    void onlyOkWritesTheAttachment_data()
    {
        QTest::addColumn<Closing>("how");
        QTest::newRow("OK") << Closing::Ok;
        QTest::newRow("Cancel") << Closing::CancelButton;
        QTest::newRow("close box") << Closing::CloseBox;
        QTest::newRow("Escape") << Closing::Escape;
    }

    void onlyOkWritesTheAttachment()
    {
        QFETCH(Closing, how);
        OpenShip ship(shipWith(attachment(4, {1.23456789f, 7, -0.0000004f}, 3)));
        const auto original = recordBytes(*ship.file);
        OpenDialog open(ship);

        clickRow(open.list(), 0);
        retype(open.edit(id::Y), QStringLiteral("12.5"));
        closeBy(open, how);

        QVERIFY(!open.dialog.isVisible());
        if (how != Closing::Ok) {
            QCOMPARE(recordBytes(*ship.file), original);
            return;
        }
        // Untouched coordinates went through their six-decimal text.
        const Vec3 position = storedPosition(*ship.file);
        QCOMPARE(position.x, 1.234568f);
        QCOMPARE(position.y, 12.5f);
        QCOMPARE(position.z, -0.0f);
        QCOMPARE(storedI32(*ship.file, lay::attachment::StyleIndex), 0);
    }

    void coordinateTextWithoutNumberKeepsTheValue_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<float>("y");
        QTest::addColumn<bool>("marked");
        // Each keystroke is read: a text that is no coordinate is marked and writes nothing.
        QTest::newRow("cleared") << QString() << 2.5f << true;
        QTest::newRow("letters only") << QStringLiteral("abc") << 2.5f << true;
        QTest::newRow("not a number") << QStringLiteral("nan") << 2.5f << true;
        QTest::newRow("trailing letters") << QStringLiteral("12abc") << 12.0f << true;
        QTest::newRow("exponent") << QStringLiteral("-3e2") << -300.0f << false;
        QTest::newRow("leading blanks") << QStringLiteral("  .25") << 0.25f << false;
        QTest::newRow("too large for a float") << QStringLiteral("1e39") << 1000.0f << true;
    }

    void coordinateTextWithoutNumberKeepsTheValue()
    {
        QFETCH(QString, typed);
        QFETCH(float, y);
        QFETCH(bool, marked);
        OpenShip ship(shipWith(attachment(0, {1, 2.5f, 3})));
        OpenDialog open(ship);

        retype(open.edit(id::Y), typed);
        QCOMPARE(open.dialog.values()->position.y, y);
        QCOMPARE(dialogs::isMarkedInvalid(*open.edit(id::Y)), marked);
        // Pasted whole, a number too large for the ship's floats writes nothing.
        open.edit(id::Y)->setText(QStringLiteral("1e40"));
        QCOMPARE(open.dialog.values()->position.y, y);
        open.click(id::Ok);
        QCOMPARE(storedPosition(*ship.file).y, y);
    }

    void unknownKindHasNoProperty()
    {
        OpenShip ship(shipWith(attachment(7, {1, 2, 3})));
        shipfile::writeI32(shipfile::attachmentBlockOf(*ship.file, Component)->record(Attachment),
                           lay::attachment::StyleIndex, 1);
        auto expected = recordBytes(*ship.file);
        shipfile::writeF32(expected, lay::attachment::Position + 8, -1.0f);

        OpenDialog open(ship);
        QVERIFY(open.dialog.hasAttachment());
        QCOMPARE(open.list()->count(), 0);
        retype(open.edit(id::Z), QStringLiteral("-1"));
        open.click(id::Ok);
        QCOMPARE(recordBytes(*ship.file), expected);
    }

    void missingOrNegativeKindGetsNoDialog()
    {
        OpenShip ship(shipWith(attachment(-1, {1, 2, 3})));
        const auto before = ship.file->serialise();
        {
            AttachmentPropertiesDialog negative(*ship.file, Component, Attachment);
            QVERIFY(!negative.hasAttachment());
            negative.accept();
        }
        {
            AttachmentPropertiesDialog missing(*ship.file, Component, 2);
            QVERIFY(!missing.hasAttachment());
            missing.accept();
        }
        QCOMPARE(ship.file->serialise(), before);
    }
};

std::unique_ptr<QObject> makeAttachmentPropertiesDialogTest()
{
    return std::make_unique<AttachmentPropertiesDialogTest>();
}

#include "AttachmentPropertiesDialogTest.moc"
