#include "app/CommandLine.h"

#include "tests/app/TestRegistry.h"

#include <QTest>

#include <string>
#include <vector>

namespace apptests {

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void requestsFileAndExitStatus()
    {
        using Request = app::CommandLine::Request;
        struct Case
        {
            std::vector<std::string> arguments;
            Request request;
            std::string argument;
        };
        const Case cases[] = {
            {{}, Request::OpenEditor, ""},
            {{"ship.shp"}, Request::OpenEditor, "ship.shp"},
            {{"first.shp", "second.shp"}, Request::OpenEditor, "first.shp"},
            {{"-"}, Request::OpenEditor, "-"},
            {{"--", "--help"}, Request::OpenEditor, "--help"},
            {{"--version"}, Request::ShowVersion, ""},
            {{"ship.shp", "--help"}, Request::ShowHelp, ""},
            {{"-h"}, Request::ShowHelp, ""},
            {{"--bogus", "--version"}, Request::ShowVersion, ""},
            {{"--bogus", "ship.shp"}, Request::UnknownOption, "--bogus"},
            {{"ship.shp", "-x", "-y"}, Request::UnknownOption, "-x"},
        };
        for (const Case& c : cases) {
            const app::CommandLine parsed = app::parseCommandLine(c.arguments);
            const QByteArray shown = QByteArray::number(static_cast<int>(&c - cases));
            QVERIFY2(parsed.request == c.request, shown.constData());
            QVERIFY2(parsed.argument == c.argument, shown.constData());
        }
        QCOMPARE(app::answerOnTerminal({Request::UnknownOption, "--bogus"}), 2);
    }
};

KORVEX_REGISTER_TEST(CommandLineTest);

} // namespace apptests

#include "CommandLineTest.moc"
