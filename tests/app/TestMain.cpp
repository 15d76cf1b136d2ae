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
    std::vector<std::string> selected;
    if (arguments.size() > 1 && registry.count(arguments.at(1).toStdString())) {
        selected.push_back(arguments.at(1).toStdString());
        arguments.removeAt(1);
    } else {
        for (const auto& entry : registry)
            selected.push_back(entry.first);
    }

    int failures = 0;
    for (const std::string& name : selected) {
        const std::unique_ptr<QObject> test = registry.at(name)();
        failures += QTest::qExec(test.get(), arguments);
    }
    return failures == 0 ? 0 : 1;
}
