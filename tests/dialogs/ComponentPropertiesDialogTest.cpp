#include "dialogs/ComponentPropertiesDialog.h"

#include "dialogs/FieldText.h"
#include "editing/Components.h"
#include "resources/ComponentPropertiesTemplate.h"
#include "tests/app/TestRegistry.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>

namespace {

using dialogs::ComponentPropertiesDialog;
namespace id = resources::componentproperties;

// The sample ship's turret (component 1): role 3, 100 hit points, no debris.
struct OpenDialog : Shown<ComponentPropertiesDialog>
{
    explicit OpenDialog(OpenShip& ship, int component = 1) : Shown(*ship.file, component) {}
    template <typename T> T* find(int controlId) { return control<T>(dialog, controlId); }
};

editing::ComponentProperties stored(OpenShip& ship, int component = 1)
{
    return *editing::componentProperties(*ship.file, component);
}

} // namespace

class ComponentPropertiesDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheRecordAndEachFieldWritesAsTyped()
    {
        OpenShip ship(testsupport::sampleShip());
        const auto hull = ship.file->serialise();
        OpenDialog open(ship);
        QCOMPARE(open.edit(id::Name)->text(), QStringLiteral("Turret"));
        QCOMPARE(open.edit(id::Role)->text(), QStringLiteral("Fighter turret"));
        QCOMPARE(open.edit(id::HitPoints)->text(), QStringLiteral("100"));
        QVERIFY(!open.find<QCheckBox>(id::HasDebris)->isChecked());

        retype(open.edit(id::Name), QStringLiteral("bridge"));
        // The name takes only characters the file holds, one byte each.
        for (const QChar typed : QString::fromUtf8("\u20ac\u0416\u00e9")) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(typed));
            QApplication::sendEvent(open.edit(id::Name), &press);
        }
        QCOMPARE(open.edit(id::Name)->text(), QString::fromUtf8("bridge\u00e9"));
        retype(open.edit(id::HitPoints), QStringLiteral("-25"));
        retype(open.edit(id::DebrisNumber), QStringLiteral("7"));
        QTest::mouseClick(open.find<QCheckBox>(id::HasDebris), Qt::LeftButton);
        open.click(id::ChangeRole);
        QCOMPARE(open.edit(id::Role)->text(), QStringLiteral("Fighter-type"));
        const editing::ComponentProperties turret = stored(ship);
        QCOMPARE(turret.name, std::string("bridge\xe9"));
        QCOMPARE(turret.hitPoints, std::optional<std::int32_t>(-25));
        QCOMPARE(turret.debrisNumber, std::optional<std::int32_t>(7));
        QCOMPARE(turret.hasDebris, std::optional<bool>(true));
        QCOMPARE(turret.role, std::optional<std::int32_t>(0));
        QCOMPARE(stored(ship, 0).name, std::string("Hull"));

        // A text that is no number is marked and writes nothing; the close box keeps it all.
        retype(open.edit(id::HitPoints), QStringLiteral("abc"));
        QVERIFY(isMarkedInvalid(*open.edit(id::HitPoints)));
        open.edit(id::DebrisNumber)->setText(QStringLiteral("99999999999"));
        QVERIFY(isMarkedInvalid(*open.edit(id::DebrisNumber)));
        open.dialog.close();
        QCOMPARE(stored(ship).hitPoints, std::optional<std::int32_t>(-25));
        QCOMPARE(stored(ship).debrisNumber, std::optional<std::int32_t>(7));
        QVERIFY(ship.file->serialise() != hull);
    }

    void fieldsTheRecordCannotHoldAreDisabled()
    {
        testsupport::Ship reduced = testsupport::sampleShip();
        reduced.componentRecordSize = 200;
        OpenShip ship(reduced);
        OpenDialog open(ship);
        QVERIFY(open.edit(id::Name)->isEnabled());
        QVERIFY(open.edit(id::Role)->isEnabled());
        QVERIFY(!open.edit(id::HitPoints)->isEnabled());
        QVERIFY(!open.edit(id::DebrisNumber)->isEnabled());
        QVERIFY(!open.find<QCheckBox>(id::HasDebris)->isEnabled());

        OpenShip whole(testsupport::sampleShip());
        const auto before = whole.file->serialise();
        OpenDialog missing(whole, 2);
        QVERIFY(!missing.edit(id::Name)->isEnabled());
        QVERIFY(!missing.find<QPushButton>(id::ChangeRole)->isEnabled());
        missing.dialog.accept();
        QCOMPARE(whole.file->serialise(), before);
    }
};

KORVEX_REGISTER_TEST(ComponentPropertiesDialogTest);

#include "ComponentPropertiesDialogTest.moc"
