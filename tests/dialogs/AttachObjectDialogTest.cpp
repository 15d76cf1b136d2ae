#include "dialogs/AttachObjectDialog.h"
#include "resources/AttachObjectTemplate.h"
#include "tests/dialogs/DialogTests.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

using dialogs::AttachObjectDialog;
namespace id = resources::attachobject;

} // namespace

class AttachObjectDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void listsTheKindsWithNoneChosen()
    {
        AttachObjectDialog dialog;
        auto* list = control<QListWidget>(dialog, id::Kinds);
        QCOMPARE(entries(list), (texts({"Missile Mounting Point", "Gun Object (type1)",
                                     "Engine Flame", "Gun (type3)", "Blinking Light"})));
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(dialog.selectedKind(), -1);
    }

    void cancelEndsWithoutAKind()
    {
        AttachObjectDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog] {
            QTest::mouseClick(control<QPushButton>(dialog, id::Cancel), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.selectedKind(), -1);
    }

    void okWithoutPickingLeavesKindUnset()
    {
        AttachObjectDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog] {
            // Focus reaching the list moves its current row; that is not a pick.
            control<QListWidget>(dialog, id::Kinds)->setFocus(Qt::TabFocusReason);
            QTest::mouseClick(control<QPushButton>(dialog, id::Ok), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedKind(), -1);
    }

    void pickedEntryIsTheKind()
    {
        AttachObjectDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog] {
            auto* list = control<QListWidget>(dialog, id::Kinds);
            clickRow(list, 0);
            clickRow(list, 2);
            QCOMPARE(list->currentItem()->text(), QStringLiteral("Engine Flame"));
            QTest::mouseClick(control<QPushButton>(dialog, id::Ok), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedKind(), 2);
    }
};

std::unique_ptr<QObject> makeAttachObjectDialogTest()
{
    return std::make_unique<AttachObjectDialogTest>();
}

#include "AttachObjectDialogTest.moc"
