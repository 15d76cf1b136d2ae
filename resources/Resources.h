#pragma once

namespace resources {

/// Registers the compiled-in pictures (the program icon) with Qt; safe to call repeatedly.
void initialise();

} // namespace resources
