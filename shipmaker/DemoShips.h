#pragma once

#include "shipmaker/ShipBuilder.h"

#include <string>
#include <vector>

namespace shipmaker {

/// Ships of the demo installation, textured with the names in DemoTextureNames.
/// A fighter: fuselage with wings and tail fin, cockpit canopy, a belly turret that turns;
/// attachments of every kind, one box per component, Block13 and Block14 switched on and a
/// dummy triangle closing the canopy's faces.
Ship demoFighter();
/// A capital ship: hull, bridge tower, engine block, two turrets, a turning radar dish and
/// the wreck of the prow (a "dest" component the view hides by default).
Ship demoCapitalShip();
/// A cargo container: one box-shaped component with lights at its corners.
Ship demoCargoPod();
/// Every texture name the demo ships use.
std::vector<std::string> demoTextureNames();

} // namespace shipmaker
