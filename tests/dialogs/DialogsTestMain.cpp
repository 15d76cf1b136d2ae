#include "tests/dialogs/DialogTests.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("KorvexTests"));
    QApplication app(argc, argv);

    int failed = 0;
    for (auto make : {makeComponentPropertiesDialogTest, makeAttachObjectDialogTest,
                      makeAttachmentPropertiesDialogTest, makeAnimationDialogTest}) {
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
