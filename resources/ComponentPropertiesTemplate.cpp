#include "resources/ComponentPropertiesTemplate.h"

namespace resources {

namespace {

using platform::ControlKind;
using platform::NoId;
namespace id = componentproperties;
namespace style = platform::style;

constexpr platform::ControlTemplate Controls[] = {
    {id::Ok, ControlKind::DefaultPushButton, "OK", 70, 101, 50, 14},
    {NoId, ControlKind::Static, "Object's name:", 13, 13, 148, 10},
    {id::Name, ControlKind::Edit, "", 29, 26, 125, 16},
    {NoId, ControlKind::Static, "Object's type", 29, 46, 44, 9},
    {id::Role, ControlKind::Edit, "", 13, 57, 47, 12, style::ReadOnly},
    {id::ChangeRole, ControlKind::PushButton, "Change", 63, 58, 32, 12, style::Flat},
    {NoId, ControlKind::Static, "Object's hitpoints", 111, 46, 58, 9},
    {id::HitPoints, ControlKind::Edit, "", 117, 57, 43, 12},
    {id::HasDebris, ControlKind::CheckBox, "Has debris", 22, 84, 49, 11},
    {NoId, ControlKind::Static, "Debris number", 87, 84, 46, 8},
    {id::DebrisNumber, ControlKind::Edit, "", 138, 83, 31, 11},
};

} // namespace

const platform::DialogTemplate ComponentPropertiesTemplate = {"Change component properties", 186,
                                                              122, 8, Controls};

} // namespace resources
