#pragma once

#include <QIcon>

namespace resources {

/// Registers the compiled-in pictures (the program icon) with Qt; safe to call repeatedly.
void initialise();

/// The program icon at every size it was rendered in, so window managers and task bars pick a
/// sharp one instead of scaling a single picture.
QIcon applicationIcon();

} // namespace resources
