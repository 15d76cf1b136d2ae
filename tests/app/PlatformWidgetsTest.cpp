#include "platform/DialogBuilder.h"
#include "platform/KeyFilter.h"
#include "platform/QtMessageSink.h"
#include "shipfile/Messages.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace apptests {

namespace {

using platform::ControlKind;
namespace style = platform::style;

constexpr platform::ControlTemplate Controls[] = {
    {10, ControlKind::DefaultPushButton, "Go", 5, 5, 40, 14},
    {11, ControlKind::PushButton, "Flat", 50, 5, 40, 14, style::Flat},
    {12, ControlKind::CheckBox, "Tick", 5, 25, 60, 10},
    {13, ControlKind::ListBox, "", 5, 40, 60, 40},
    {14, ControlKind::ComboBox, "", 70, 40, 60, 60},
    {15, ControlKind::Slider, "", 5, 85, 100, 9},
    {16, ControlKind::Edit, "start", 70, 25, 40, 12, style::Disabled},
    {17, ControlKind::Edit, "", 115, 25, 40, 12, style::ReadOnly},
    {platform::NoId, ControlKind::GroupBox, "Frame", 2, 2, 150, 95},
    {platform::NoId, ControlKind::Static, "A label", 110, 5, 40, 8},
};
constexpr platform::DialogTemplate Template = {"Sample", 160, 100, 8, Controls};

} // namespace

class PlatformWidgetsTest : public QObject
{
    Q_OBJECT

private slots:
    // What the main window's template test cannot see: the kinds it does not use, and that a
    // frame never takes the mouse from the controls it frames.
    void theBuilderMakesEachKindWhereTheTemplateSays()
    {
        QDialog dialog;
        platform::buildDialog(dialog, Template);
        QCOMPARE(dialog.size(), platform::dialogUnitsToPixels(0, 0, 160, 100).size());
        auto* go = platform::findControl<QPushButton>(dialog, 10);
        QVERIFY(go->isDefault() && !go->isFlat());
        QCOMPARE(go->geometry(), platform::dialogUnitsToPixels(5, 5, 40, 14));
        QVERIFY(platform::findControl<QPushButton>(dialog, 11)->isFlat());
        QVERIFY(platform::findControl<QComboBox>(dialog, 14)->isEditable());
        QVERIFY(!platform::findControl<QLineEdit>(dialog, 16)->isEnabled());
        QVERIFY(platform::findControl<QLineEdit>(dialog, 17)->isReadOnly());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.childAt(go->geometry().center()), go);
    }

    void messageBoxesCarryTheirOwnerCaptionAndIcon()
    {
        QWidget mainWindow;
        mainWindow.show();
        platform::QtMessageSink sink;
        sink.setOwner(&mainWindow);
        namespace messages = shipfile::messages;
        const struct
        {
            shipfile::Message message;
            const char* caption;
            QMessageBox::Icon icon;
            QWidget* owner;
        } cases[] = {
            {messages::owned("Error finding block13").box(), "korvex", QMessageBox::NoIcon,
             &mainWindow},
            {messages::ownCaption("Empty", "ERROR", shipfile::MessageIcon::Stop).box(), "ERROR",
             QMessageBox::Critical, nullptr},
            {messages::ownCaption("careful", "Warning!", shipfile::MessageIcon::Warning).box(),
             "Warning!", QMessageBox::Warning, nullptr},
        };
        for (const auto& c : cases) {
            QString text;
            ModalDriver driver([&](QDialog& modal) {
                auto& box = static_cast<QMessageBox&>(modal);
                text = box.text();
                QCOMPARE(box.windowTitle(), QString::fromUtf8(c.caption));
                QCOMPARE(box.icon(), c.icon);
                QCOMPARE(box.parentWidget(), c.owner);
                QVERIFY(box.standardButtons() == QMessageBox::Ok);
                box.done(QMessageBox::Ok);
            });
            sink.show(c.message);
            QCOMPARE(driver.shown, 1);
            QCOMPARE(text, QString::fromStdString(c.message.text));
        }
    }

    void theKeyFilterSeesKeysBeforeTheFocusedControlOnce()
    {
        QWidget window;
        auto* edit = new QLineEdit(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setFocus();
        QList<int> seen;
        new platform::KeyFilter(window, [&seen](QKeyEvent& event) {
            if (event.type() == QEvent::KeyPress)
                seen << event.key();
            return event.key() == Qt::Key_Q;
        });

        QTest::keyClick(edit, Qt::Key_Q);
        QTest::keyClick(edit, Qt::Key_A);
        QCOMPARE(edit->text(), QStringLiteral("a")); // Q was taken before the field saw it
        // A key the field ignores travels on to the window, but is seen only once.
        QTest::keyClick(edit, Qt::Key_F5);
        QCOMPARE(seen, QList<int>({Qt::Key_Q, Qt::Key_A, Qt::Key_F5}));

        // Keys of other windows, such as a dialog's fields, are left alone.
        QWidget other;
        auto* otherEdit = new QLineEdit(&other);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        otherEdit->setFocus();
        QTest::keyClick(otherEdit, Qt::Key_Q);
        QCOMPARE(otherEdit->text(), QStringLiteral("q"));
        QCOMPARE(seen.size(), 3);
    }
};

KORVEX_REGISTER_TEST(PlatformWidgetsTest);

} // namespace apptests

#include "PlatformWidgetsTest.moc"
