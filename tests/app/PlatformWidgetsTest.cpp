#include "platform/DialogBuilder.h"
#include "platform/KeyFilter.h"
#include "platform/QtMessageSink.h"
#include "shipfile/Messages.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
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
    void theBuilderMakesEachKindWhereTheTemplateSays()
    {
        QDialog dialog;
        platform::buildDialog(dialog, Template);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Sample"));
        QCOMPARE(dialog.size(), platform::dialogUnitsToPixels(0, 0, 160, 100).size());

        auto* go = platform::findControl<QPushButton>(dialog, 10);
        QVERIFY(go && go->isDefault() && !go->isFlat());
        QCOMPARE(go->text(), QStringLiteral("Go"));
        QCOMPARE(go->geometry(), platform::dialogUnitsToPixels(5, 5, 40, 14));
        QVERIFY(platform::findControl<QPushButton>(dialog, 11)->isFlat());
        QCOMPARE(platform::findControl<QCheckBox>(dialog, 12)->text(), QStringLiteral("Tick"));
        auto* list = platform::findControl<QListWidget>(dialog, 13);
        QVERIFY(list && list->selectionMode() == QAbstractItemView::SingleSelection);
        QVERIFY(!list->isSortingEnabled());
        auto* combo = platform::findControl<QComboBox>(dialog, 14);
        QVERIFY(combo && combo->isEditable());
        // The template's height includes the dropped-down list, the widget's does not.
        QVERIFY(combo->height() < platform::dialogUnitsToPixels(0, 0, 60, 60).height());
        auto* slider = platform::findControl<QSlider>(dialog, 15);
        QVERIFY(slider && slider->orientation() == Qt::Horizontal);
        QCOMPARE(slider->tickPosition(), QSlider::NoTicks);
        auto* disabled = platform::findControl<QLineEdit>(dialog, 16);
        QVERIFY(!disabled->isEnabled());
        QCOMPARE(disabled->text(), QStringLiteral("start"));
        QVERIFY(platform::findControl<QLineEdit>(dialog, 17)->isReadOnly());
        QVERIFY(platform::findControl<QLineEdit>(dialog, 17)->isEnabled());

        // Frames and labels have no id and never take the mouse from the controls they frame.
        auto* frame = dialog.findChild<QGroupBox*>();
        QVERIFY(frame && frame->objectName().isEmpty());
        QVERIFY(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.childAt(go->geometry().center()), go);
        QCOMPARE(dialog.findChild<QLabel*>()->text(), QStringLiteral("A label"));
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
            {messages::owned("Error finding block13"), "korvex", QMessageBox::NoIcon, &mainWindow},
            {messages::ownCaption("Empty", "ERROR", shipfile::MessageIcon::Stop), "ERROR",
             QMessageBox::Critical, nullptr},
            {messages::ownCaption("careful", "Warning!", shipfile::MessageIcon::Warning),
             "Warning!", QMessageBox::Warning, nullptr},
        };
        for (const auto& c : cases) {
            QMessageBox* seen = nullptr;
            QString text;
            inspectNextModal([&](QWidget& modal) {
                seen = qobject_cast<QMessageBox*>(&modal);
                text = seen->text();
                QCOMPARE(seen->windowTitle(), QString::fromUtf8(c.caption));
                QCOMPARE(seen->icon(), c.icon);
                QCOMPARE(seen->parentWidget(), c.owner);
                QCOMPARE(seen->standardButtons(), QMessageBox::Ok);
            });
            sink.show(c.message);
            QVERIFY(seen);
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
