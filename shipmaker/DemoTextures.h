#pragma once

#include "shipmaker/TcacheBuilder.h"

namespace shipmaker {

/// The demo installation's texture cache: procedurally drawn 8-bit and 16-bit pictures under
/// every name in demoTextureNames().
TcacheBuilder demoTextures();

} // namespace shipmaker
