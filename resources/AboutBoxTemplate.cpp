#include "resources/AboutBoxTemplate.h"

#include "korvex/Version.h"
#include "resources/Strings.h"

namespace resources {

namespace {

using platform::ControlKind;
using platform::NoId;

constexpr platform::ControlTemplate Controls[] = {
    {NoId, ControlKind::Icon, strings::IconResource, 11, 17, 21, 20},
    {aboutbox::Version, ControlKind::Static, "Korvex, Version " KORVEX_VERSION, 40, 10, 150, 8},
    {NoId, ControlKind::Static, "An editor for the ship models (SHP files) of Vantaris.", 40, 22,
     150, 18},
    {aboutbox::Ok, ControlKind::DefaultPushButton, "OK", 198, 7, 50, 14},
};

} // namespace

const platform::DialogTemplate AboutBoxTemplate = {"About Korvex", 255, 48, 8, Controls};

} // namespace resources
