#pragma once

#include "platform/DialogTemplate.h"

namespace resources {

namespace aboutbox {
inline constexpr int Ok = 1;
inline constexpr int Version = 1100;
} // namespace aboutbox

/// The About box: the program's icon, name and version, what it is, and OK.
extern const platform::DialogTemplate AboutBoxTemplate;

} // namespace resources
