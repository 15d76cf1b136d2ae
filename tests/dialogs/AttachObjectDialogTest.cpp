#include "dialogs/AttachObjectDialog.h"

#include "resources/AttachObjectTemplate.h"
#include "tests/app/TestRegistry.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <vector>

namespace {

using dialogs::AttachObjectDialog;
namespace id = resources::attachobject;

} // namespace

class AttachObjectDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void theKindIsTheEntryPickedBeforeOk()
    {
        const struct
        {
            const char* what;
            std::vector<int> picks; // rows clicked; -1: focus reaches the list, which is no pick
            int button;
            int result, kind;
        } cases[] = {
            {"cancel", {}, id::Cancel, QDialog::Rejected, -1},
            {"ok without a pick", {-1}, id::Ok, QDialog::Accepted, -1},
            {"ok after two picks", {0, 2}, id::Ok, QDialog::Accepted, 2},
        };
        for (const auto& c : cases) {
            AttachObjectDialog dialog;
            auto* list = control<QListWidget>(dialog, id::Kinds);
            QCOMPARE(entries(list), (texts({"Missile Mounting Point", "Gun Object (type1)",
                                            "Engine Flame", "Gun (type3)", "Blinking Light"})));
            QVERIFY(list->selectedItems().isEmpty());
            QTimer::singleShot(0, &dialog, [&] {
                for (const int row : c.picks)
                    if (row < 0)
                        list->setFocus(Qt::TabFocusReason);
                    else
                        clickRow(list, row);
                QTest::mouseClick(control<QPushButton>(dialog, c.button), Qt::LeftButton);
            });
            QVERIFY2(dialog.exec() == c.result, c.what);
            QVERIFY2(dialog.selectedKind() == c.kind, c.what);
        }
    }
};

KORVEX_REGISTER_TEST(AttachObjectDialogTest);

#include "AttachObjectDialogTest.moc"
