#include "app/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace app::recentfiles {

namespace {

const QString SettingsKey = QStringLiteral("recentFiles");

} // namespace

QStringList paths()
{
    QStringList list = QSettings().value(SettingsKey).toStringList();
    list.removeAll(QString());
    return list.mid(0, MaxEntries);
}

void add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    QSettings().setValue(SettingsKey, list.mid(0, MaxEntries));
}

} // namespace app::recentfiles
