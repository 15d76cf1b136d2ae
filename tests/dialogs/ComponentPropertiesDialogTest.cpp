#include "dialogs/ComponentPropertiesDialog.h"

#include "dialogs/FieldText.h"
#include "resources/ComponentPropertiesTemplate.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "tests/dialogs/DialogTests.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

namespace {

using dialogs::ComponentPropertiesDialog;
namespace id = resources::componentproperties;
namespace lay = shipfile::layout;

// Two components; the dialogs edit the second, so a record addressed at the wrong stride shows.
testsupport::Ship twoComponents(const testsupport::Component& edited,
                                std::uint16_t recordSize = lay::component::RecordSize)
{
    testsupport::Ship ship;
    ship.componentRecordSize = recordSize;
    testsupport::Component first;
    first.name = "keel";
    first.hitPoints = 11;
    ship.components = {first, edited};
    return ship;
}

std::int32_t storedI32(const shipfile::ShipFile& file, std::size_t offset)
{
    return shipfile::readI32(shipfile::componentRecord(file, 1), offset).value_or(-999);
}

std::vector<std::uint8_t> recordBytes(const shipfile::ShipFile& file, int component)
{
    const shipfile::Bytes record = shipfile::componentRecord(file, component);
    return {record.begin(), record.end()};
}

struct OpenDialog
{
    explicit OpenDialog(OpenShip& ship, int component = 1)
        : dialog(*ship.file, component)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    QLineEdit* edit(int controlId) { return control<QLineEdit>(dialog, controlId); }

    ComponentPropertiesDialog dialog;
};

} // namespace

class ComponentPropertiesDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void openingShowsRecordAndCutsLongName()
    {
        testsupport::Component c;
        c.name = std::string(60, 'n').replace(0, 10, "0123456789");
        c.hitPoints = -7;
        c.role = 2;
        c.hasDebris = true;
        c.debrisNumber = 9;
        OpenShip ship(twoComponents(c));
        const auto before = recordBytes(*ship.file, 0);
        const std::string original = shipfile::componentName(*ship.file, 1);

        OpenDialog open(ship);
        QCOMPARE(open.edit(id::HitPoints)->text(), QStringLiteral("-7"));
        QCOMPARE(open.edit(id::Role)->text(), QStringLiteral("Fighter cockpit"));
        QVERIFY(control<QCheckBox>(open.dialog, id::HasDebris)->isChecked());
        QCOMPARE(open.edit(id::DebrisNumber)->text(), QStringLiteral("9"));
        QCOMPARE(open.edit(id::Name)->text().size(), 50);
        open.dialog.accept();

        // The initial fill ran the name handler: 50 characters, a NUL, then the old tail.
        const auto record = recordBytes(*ship.file, 1);
        QCOMPARE(shipfile::componentName(*ship.file, 1), original.substr(0, 50));
        QCOMPARE(std::string(record.begin() + 51, record.begin() + 60), original.substr(51));
        QCOMPARE(record[60], std::uint8_t{0});
        QCOMPARE(storedI32(*ship.file, lay::component::HitPoints), -7);
        QCOMPARE(storedI32(*ship.file, lay::component::DebrisNumber), 9);
        QCOMPARE(recordBytes(*ship.file, 0), before);
    }

    void eachNameUpdateWritesTextAndOneTerminator()
    {
        testsupport::Component c;
        c.name = "ABCDEFGH";
        OpenShip ship(twoComponents(c));
        OpenDialog open(ship);

        // A paste over the selected name is one update.
        open.edit(id::Name)->selectAll();
        open.edit(id::Name)->insert(QStringLiteral("xyz"));

        const auto record = recordBytes(*ship.file, 1);
        const std::string start(record.begin(), record.begin() + 10);
        QCOMPARE(start, std::string("xyz\0EFGH\0\0", 10));
        QCOMPARE(shipfile::componentName(*ship.file, 1), std::string("xyz"));
    }

    void nameTakesOnlyCharactersTheFileHolds()
    {
        OpenShip ship(twoComponents({}));
        OpenDialog open(ship);
        retype(open.edit(id::Name), QStringLiteral("bridge"));
        for (const QChar typed : QString::fromUtf8("\u20ac\u0416\u00e9")) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(typed));
            QApplication::sendEvent(open.edit(id::Name), &press);
        }
        QCOMPARE(open.edit(id::Name)->text(), QString::fromUtf8("bridge\u00e9"));
        QCOMPARE(shipfile::componentName(*ship.file, 1), std::string("bridge\xe9"));
    }

    void typedNameStoresFirstFiftyCharacters()
    {
        OpenShip ship(twoComponents({}));
        OpenDialog open(ship);
        const QString typed = QStringLiteral("abcdefghij").repeated(6);

        retype(open.edit(id::Name), typed);

        QCOMPARE(shipfile::componentName(*ship.file, 1), typed.left(50).toStdString());
        QCOMPARE(shipfile::componentName(*ship.file, 0), std::string("keel"));
    }

    void roleTextAndChange_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QStringList>("shown"); // at opening, then after each click
        QTest::addColumn<QList<int>>("values"); // after each click

        QTest::newRow("turret wraps to fighter")
            << 3 << texts({"Fighter turret", "Fighter-type"}) << QList<int>{0};
        QTest::newRow("fighter to capship")
            << 0 << texts({"Fighter-type", "Capship-type", "Fighter cockpit"})
            << QList<int>{1, 2};
        QTest::newRow("7 above the names")
            << 7 << texts({"[Value = 7]", "Fighter-type"}) << QList<int>{0};
        QTest::newRow("300 shows its low byte")
            << 300 << texts({"[Value = 44]", "Fighter-type"}) << QList<int>{0};
        QTest::newRow("200 shows its low byte signed")
            << 200 << texts({"[Value = -56]", "Fighter-type"}) << QList<int>{0};
        QTest::newRow("negative counts up")
            << -2 << texts({"[Value = -2]", "[Value = -1]", "Fighter-type", "Capship-type"})
            << QList<int>{-1, 0, 1};
    }

    void roleTextAndChange()
    {
        QFETCH(int, stored);
        QFETCH(QStringList, shown);
        QFETCH(QList<int>, values);
        testsupport::Component c;
        c.role = stored;
        OpenShip ship(twoComponents(c));
        OpenDialog open(ship);

        QCOMPARE(open.edit(id::Role)->text(), shown.front());
        QCOMPARE(storedI32(*ship.file, lay::component::Role), stored);
        for (qsizetype click = 0; click < values.size(); ++click) {
            QTest::mouseClick(control<QPushButton>(open.dialog, id::ChangeRole), Qt::LeftButton);
            QCOMPARE(open.edit(id::Role)->text(), shown[click + 1]);
            QCOMPARE(storedI32(*ship.file, lay::component::Role), values[click]);
        }
    }

    void hasDebrisWritesFortyEightOrZero()
    {
        OpenShip ship(twoComponents({}));
        shipfile::writeU32(shipfile::componentRecord(*ship.file, 1), lay::component::DebrisFlag,
                           1);
        OpenDialog open(ship);
        auto* box = control<QCheckBox>(open.dialog, id::HasDebris);
        QVERIFY(box->isChecked());
        QCOMPARE(storedI32(*ship.file, lay::component::DebrisFlag), 1); // opening leaves it

        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(storedI32(*ship.file, lay::component::DebrisFlag), 0);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(storedI32(*ship.file, lay::component::DebrisFlag), 48);
    }

    void numberFieldsWriteThrough_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("marked");

        const int hp = id::HitPoints;
        const int hpAt = static_cast<int>(lay::component::HitPoints);
        const int debris = id::DebrisNumber;
        const int debrisAt = static_cast<int>(lay::component::DebrisNumber);
        // Each keystroke is read: a field shows red while its text is no value and writes nothing.
        QTest::newRow("negative hit points") << hp << hpAt << QStringLiteral("-25") << -25 << false;
        QTest::newRow("trailing letters") << hp << hpAt << QStringLiteral("12abc") << 12 << true;
        QTest::newRow("leading blanks and sign")
            << hp << hpAt << QStringLiteral("  +8") << 8 << false;
        QTest::newRow("letters keep the value")
            << hp << hpAt << QStringLiteral("abc") << 100 << true;
        QTest::newRow("empty keeps the value") << hp << hpAt << QString() << 100 << true;
        QTest::newRow("past 32 bits")
            << hp << hpAt << QStringLiteral("99999999999") << 999999999 << true;
        QTest::newRow("debris number") << debris << debrisAt << QStringLiteral("7") << 7 << false;
        QTest::newRow("debris letters keep")
            << debris << debrisAt << QStringLiteral("x1") << 3 << true;
    }

    void numberFieldsWriteThrough()
    {
        QFETCH(int, field);
        QFETCH(int, offset);
        QFETCH(QString, typed);
        QFETCH(int, expected);
        QFETCH(bool, marked);
        testsupport::Component c;
        c.hitPoints = 100;
        c.debrisNumber = 3;
        OpenShip ship(twoComponents(c));
        OpenDialog open(ship);

        retype(open.edit(field), typed);

        QCOMPARE(storedI32(*ship.file, static_cast<std::size_t>(offset)), expected);
        QCOMPARE(dialogs::isMarkedInvalid(*open.edit(field)), marked);
        // Text set whole, as a paste does: an out-of-range number writes nothing either.
        open.edit(field)->setText(QStringLiteral("99999999999"));
        QCOMPARE(storedI32(*ship.file, static_cast<std::size_t>(offset)), expected);
        open.edit(field)->setText(QStringLiteral("-2147483648"));
        QCOMPARE(storedI32(*ship.file, static_cast<std::size_t>(offset)), -2147483648);
        QVERIFY(!dialogs::isMarkedInvalid(*open.edit(field)));
    }

    void closeBoxKeepsChanges()
    {
        testsupport::Component c;
        c.role = 1;
        OpenShip ship(twoComponents(c));
        ComponentPropertiesDialog dialog(*ship.file, 1);

        QTimer::singleShot(0, &dialog, [&dialog] {
            retype(control<QLineEdit>(dialog, id::HitPoints), QStringLiteral("55"));
            retype(control<QLineEdit>(dialog, id::Name), QStringLiteral("bridge"));
            QTest::mouseClick(control<QPushButton>(dialog, id::ChangeRole), Qt::LeftButton);
            dialog.close();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));

        QCOMPARE(storedI32(*ship.file, lay::component::HitPoints), 55);
        QCOMPARE(storedI32(*ship.file, lay::component::Role), 2);
        QCOMPARE(shipfile::componentName(*ship.file, 1), std::string("bridge"));
    }

    void reducedTableEditsOnlyWhatItsRecordHolds()
    {
        testsupport::Component c;
        c.name = "pod";
        c.role = 1;
        OpenShip ship(twoComponents(c, 200));
        auto expected = ship.file->componentBlock->records;
        expected[200 + lay::component::Role] = 2;

        OpenDialog open(ship);
        QVERIFY(open.edit(id::Name)->isEnabled());
        QVERIFY(open.edit(id::Role)->isEnabled());
        QVERIFY(!open.edit(id::HitPoints)->isEnabled());
        QVERIFY(!open.edit(id::DebrisNumber)->isEnabled());
        QVERIFY(!control<QCheckBox>(open.dialog, id::HasDebris)->isEnabled());
        QTest::mouseClick(control<QPushButton>(open.dialog, id::ChangeRole), Qt::LeftButton);
        open.dialog.accept();

        QCOMPARE(ship.file->componentBlock->records, expected);
    }

    void shortRecordTakesOnlyTheNameThatFits()
    {
        OpenShip ship(twoComponents({}, 40));
        auto expected = ship.file->componentBlock->records;
        const std::string typed(50, 'w');
        std::copy_n(typed.begin(), 39, expected.begin() + 40);
        expected[79] = 0;

        OpenDialog open(ship);
        QVERIFY(!open.edit(id::Role)->isEnabled());
        QVERIFY(!control<QPushButton>(open.dialog, id::ChangeRole)->isEnabled());
        retype(open.edit(id::Name), QString::fromStdString(typed));

        QCOMPARE(ship.file->componentBlock->records, expected);
    }

    void componentWithoutRecordDisablesEveryField()
    {
        OpenShip ship(twoComponents({}));
        const auto before = ship.file->serialise();
        OpenDialog open(ship, 2);
        QVERIFY(!open.edit(id::Name)->isEnabled());
        QVERIFY(!control<QPushButton>(open.dialog, id::ChangeRole)->isEnabled());
        open.dialog.accept();
        QCOMPARE(ship.file->serialise(), before);
    }
};

std::unique_ptr<QObject> makeComponentPropertiesDialogTest()
{
    return std::make_unique<ComponentPropertiesDialogTest>();
}

#include "ComponentPropertiesDialogTest.moc"
