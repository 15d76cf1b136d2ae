#pragma once

#include "shipmaker/DemoShips.h"
#include "shipmaker/DemoTextures.h"
#include "shipmaker/OddShip.h"
#include "shipmaker/RefPackEncoder.h"
#include "shipmaker/ShipBuilder.h"
#include "shipmaker/SystemReg.h"
#include "shipmaker/TcacheBuilder.h"

// The tests name the product's builders beside their own helpers.
namespace testsupport {
using namespace shipmaker;
} // namespace testsupport
