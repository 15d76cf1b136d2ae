#pragma once

#include "platform/DialogTemplate.h"

// The layout of the dialog that edits one component's record.
namespace resources {

namespace componentproperties {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Name = 1008;
inline constexpr int HitPoints = 1037;
inline constexpr int ChangeRole = 1038;
inline constexpr int Role = 1040;
inline constexpr int HasDebris = 1057;
inline constexpr int DebrisNumber = 1058;
} // namespace componentproperties

/// "Change component properties": name, role with its "Change" button, hit points and debris.
extern const platform::DialogTemplate ComponentPropertiesTemplate;

} // namespace resources
