#pragma once

#include "platform/DialogTemplate.h"

// The layout of the animation editor.
namespace resources {

namespace animation {
inline constexpr int Ok = 1;
inline constexpr int Type = 1002;
inline constexpr int TotalTime = 1050;
inline constexpr int NewFrame = 1051;
inline constexpr int DeleteFrame = 1052;
inline constexpr int FrameTime = 1053;
inline constexpr int Frames = 1054;
inline constexpr int AngleX = 1055;
inline constexpr int Trigger = 1056;
inline constexpr int AngleY = 1057;
inline constexpr int AngleZ = 1058;
inline constexpr int MoveX = 1059;
inline constexpr int MoveY = 1060;
inline constexpr int MoveZ = 1061;
inline constexpr int Play = 1062;
} // namespace animation

/// "Component Animation Editing": the header (total time, type, trigger), the frame list and
/// the fields of the selected frame.
extern const platform::DialogTemplate AnimationTemplate;

} // namespace resources
