#include "resources/Resources.h"

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

} // namespace resources
