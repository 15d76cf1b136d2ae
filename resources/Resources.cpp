#include "resources/Resources.h"

#include "resources/Strings.h"

#include <QDir>
#include <QString>
#include <QtGlobal>

// Q_INIT_RESOURCE declares the generated registration function in the enclosing namespace, so
// it runs at global scope.
static void registerCompiledResources()
{
    Q_INIT_RESOURCE(korvex);
}

namespace resources {

void initialise()
{
    static const bool registered = (registerCompiledResources(), true);
    (void)registered;
}

QIcon applicationIcon()
{
    initialise();
    const QDir directory(QString::fromUtf8(strings::IconDirectory));
    QIcon icon;
    for (const QString& name : directory.entryList(QDir::Files))
        icon.addFile(directory.filePath(name));
    return icon;
}

} // namespace resources
