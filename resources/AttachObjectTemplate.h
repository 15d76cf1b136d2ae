#pragma once

#include "platform/DialogTemplate.h"

#include <array>

// The layout of the dialog that asks which kind of object to attach.
namespace resources {

namespace attachobject {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Kinds = 1000;

/// The list entries; an entry's position is the attachment kind it stands for.
inline constexpr std::array<const char*, 5> KindTexts = {"Missile Mounting Point",
                                                         "Gun Object (type1)", "Engine Flame",
                                                         "Gun (type3)", "Blinking Light"};
} // namespace attachobject

/// "Attach object": the kind list, OK and Cancel.
extern const platform::DialogTemplate AttachObjectTemplate;

} // namespace resources
