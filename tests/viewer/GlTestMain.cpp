#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// The drawing tests need a GL context, so an application on a real X display (Xvfb in CI).
// Listing the tests at build time needs neither.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("KorvexTests"));
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
