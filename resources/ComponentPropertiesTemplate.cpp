#include "resources/ComponentPropertiesTemplate.h"

namespace resources {

namespace {

using platform::ControlKind;
using platform::NoId;
namespace id = componentproperties;
namespace style = platform::style;

constexpr platform::ControlTemplate Controls[] = {
    {id::Ok, ControlKind::DefaultPushButton, "OK", 59, 101, 50, 14},
    {id::Cancel, ControlKind::PushButton, "Cancel", 121, 101, 50, 14},
    {NoId, ControlKind::Static, "Object's name:", 35, 13, 148, 10},
    {id::Name, ControlKind::Edit, "", 51, 26, 125, 16},
    {NoId, ControlKind::Static, "Object's type", 51, 46, 44, 9},
    {id::Role, ControlKind::Edit, "", 35, 57, 47, 12, style::ReadOnly},
    {id::ChangeRole, ControlKind::PushButton, "Change", 85, 58, 32, 12, style::Flat},
    {NoId, ControlKind::Static, "Object's hitpoints", 133, 46, 58, 9},
    {id::HitPoints, ControlKind::Edit, "", 139, 57, 43, 12},
    {id::HasDebris, ControlKind::CheckBox, "Has debris", 44, 84, 49, 11},
    {NoId, ControlKind::Static, "Debris number", 109, 84, 46, 8},
    {id::DebrisNumber, ControlKind::Edit, "", 160, 83, 31, 11},
};

} // namespace

const platform::DialogTemplate ComponentPropertiesTemplate = {"Change component properties", 230,
                                                              122, 8, Controls};

} // namespace resources
