#include "app/MainDialog.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageSink.h"
#include "platform/QtQuestions.h"
#include "platform/WineRegistry.h"
#include "resources/Resources.h"
#include "resources/Strings.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Where the user's settings (the recent files) are kept: ~/.config/Korvex/korvex.conf.
    QApplication::setOrganizationName(QStringLiteral("Korvex"));
    QApplication::setApplicationName(QStringLiteral("korvex"));
    resources::initialise();
    QApplication::setWindowIcon(QIcon(QString::fromUtf8(resources::strings::IconResource)));

    platform::QtMessageSink sink;
    platform::QtQuestions questions;
    platform::QtFileDialogs fileDialogs;
    app::MainDialog window({sink, questions, fileDialogs, platform::WineRegistry::defaultPrefix()});
    sink.setOwner(&window);
    window.show();

    // Only the first argument names a file; any others are ignored.
    const QStringList arguments = QApplication::arguments();
    window.start(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
