#pragma once

#include "platform/DialogTemplate.h"

// The layout of the dialog that edits an attachment's model or colour and its position.
namespace resources {

namespace attachmentproperties {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Properties = 1000;
inline constexpr int Y = 1011;
inline constexpr int Z = 1012;
inline constexpr int X = 1013;
/// Why OK was refused: the coordinate that holds no number.
inline constexpr int Problem = 1014;
} // namespace attachmentproperties

/// "Object Attachment Properties": the property list, the three coordinates, OK and Cancel,
/// and a line that says why OK was refused.
extern const platform::DialogTemplate AttachmentPropertiesTemplate;

} // namespace resources
