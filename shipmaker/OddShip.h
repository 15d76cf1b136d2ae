#pragma once

#include "shipmaker/ShipBuilder.h"

namespace shipmaker {

/// A ship with every record an import must keep as it was: two components of one name with
/// attachments of one kind, a face shown from its back, a face block without cull selectors
/// (drawn from both sides), faces without a texture, a section without texture names, a
/// vertex no face uses, two vertices at one position, a dummy triangle, and a pattern in every
/// byte the editor does not interpret (component, face, vertex and attachment records).
ByteVector oddShip();

} // namespace shipmaker
