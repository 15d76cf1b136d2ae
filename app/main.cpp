#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "gamedata/WineRegistry.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageSink.h"
#include "platform/QtQuestions.h"
#include "resources/Resources.h"

#include <QApplication>
#include <QStringList>

#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // --help and --version answer before Qt looks for a display; Qt's own options (-platform,
    // -style...) are only taken out by QApplication, so other requests wait for it.
    const app::CommandLine early =
        app::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (early.request == app::CommandLine::Request::ShowHelp ||
        early.request == app::CommandLine::Request::ShowVersion)
        return app::answerOnTerminal(early);

    QApplication application(argc, argv);
    // Where the user's settings (the recent files) are kept: ~/.config/Korvex/korvex.conf.
    QApplication::setOrganizationName(QStringLiteral("Korvex"));
    QApplication::setApplicationName(QStringLiteral("korvex"));
    resources::initialise();
    QApplication::setWindowIcon(resources::applicationIcon());
    // Ties the windows to korvex.desktop, whose icon and name the desktop shows for them.
    QGuiApplication::setDesktopFileName(QStringLiteral("korvex"));

    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());
    const app::CommandLine commandLine = app::parseCommandLine(arguments);
    if (commandLine.request != app::CommandLine::Request::OpenEditor)
        return app::answerOnTerminal(commandLine);

    platform::QtMessageSink sink;
    platform::QtQuestions questions;
    platform::QtFileDialogs fileDialogs;
    app::MainDialog window({sink, questions, fileDialogs, gamedata::WineRegistry::defaultPrefix()});
    sink.setOwner(&window);
    window.show();
    window.start(QString::fromStdString(commandLine.argument));
    return QApplication::exec();
}
