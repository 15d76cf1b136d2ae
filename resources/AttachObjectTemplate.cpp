#include "resources/AttachObjectTemplate.h"

namespace resources {

namespace {

using platform::ControlKind;
using platform::NoId;
namespace id = attachobject;

constexpr platform::ControlTemplate Controls[] = {
    {id::Ok, ControlKind::DefaultPushButton, "OK", 26, 88, 50, 14},
    {id::Cancel, ControlKind::PushButton, "Cancel", 97, 88, 50, 14},
    {NoId, ControlKind::Static, "Choose what kind of object to attach:", 25, 7, 118, 14},
    {id::Kinds, ControlKind::ListBox, "", 40, 26, 88, 46},
};

} // namespace

const platform::DialogTemplate AttachObjectTemplate = {"Attach object", 175, 109, 8, Controls};

} // namespace resources
