#include "resources/AttachmentPropertiesTemplate.h"

namespace resources {

namespace {

using platform::ControlKind;
using platform::NoId;
namespace id = attachmentproperties;

constexpr platform::ControlTemplate Controls[] = {
    {id::Ok, ControlKind::DefaultPushButton, "OK", 37, 112, 50, 14},
    {id::Cancel, ControlKind::PushButton, "Cancel", 117, 112, 50, 14},
    {NoId, ControlKind::Static, "Choose a property from the list:", 7, 7, 121, 15},
    {id::Properties, ControlKind::ListBox, "", 43, 22, 119, 58},
    {NoId, ControlKind::Static, "Coordinates:", 13, 84, 40, 8},
    {NoId, ControlKind::Static, "X:", 16, 97, 8, 8},
    {id::X, ControlKind::Edit, "", 25, 95, 43, 13},
    {NoId, ControlKind::Static, "Y:", 79, 96, 8, 8},
    {id::Y, ControlKind::Edit, "", 90, 94, 43, 13},
    {NoId, ControlKind::Static, "Z:", 145, 96, 8, 8},
    {id::Z, ControlKind::Edit, "", 156, 94, 43, 13},
    {id::Problem, ControlKind::Static, "", 7, 130, 192, 16},
};

} // namespace

const platform::DialogTemplate AttachmentPropertiesTemplate = {"Object Attachment Properties", 206,
                                                               150, 8, Controls};

} // namespace resources
