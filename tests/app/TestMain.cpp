// Runs the widget tests: all of them, or the one class named by the first argument (so ctest
// lists each class as its own test). Needs a display with OpenGL: run under xvfb-run.

#include "tests/app/TestRegistry.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>

namespace apptests {

std::map<std::string, TestFactory>& testRegistry()
{
    static std::map<std::string, TestFactory> registry;
    return registry;
}

} // namespace apptests

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("KorvexTests"));
    QApplication::setApplicationName(QStringLiteral("widgets_tests"));
    // The user's settings (recent files) of this run live and die with it.
    const testsupport::TempDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings.path().string()));

    QStringList arguments = QApplication::arguments();
    const auto& registry = apptests::testRegistry();
    const std::string only = arguments.size() > 1 ? arguments.at(1).toStdString() : std::string();
    if (registry.count(only))
        arguments.removeAt(1);

    int failures = 0;
    for (const auto& [name, factory] : registry)
        if (!registry.count(only) || name == only)
            failures += QTest::qExec(factory().get(), arguments);
    return failures == 0 ? 0 : 1;
}
