#pragma once

#include "shipfile/ShipFile.h"

#include <optional>
#include <string_view>

// Resizing the ship and building its collision boxes.
namespace editing {

enum class ScaleDirection
{
    Larger,  // multiply by the factor
    Smaller, // divide by the factor
};

/// Scales component origins, vertices, attachment positions and, with `flames`, engine-flame
/// sizes by `factor`, in single precision. With `typeOneOnly` only the vertices and attachments
/// of `selectedComponent`'s section change (nothing when it is -1). Boxes are never scaled. A
/// factor that is not a positive finite number changes nothing. True when the ship was scaled.
bool scaleShip(shipfile::ShipFile& file, float factor, ScaleDirection direction, bool typeOneOnly,
               int selectedComponent, bool flames = true);

/// The scale factor in the field's text; nothing unless it is a positive number.
std::optional<float> parseScaleFactor(std::string_view text);

/// The zoom slider's largest value from its field's text; nothing unless it is a positive
/// number, and then the range stays as it was.
std::optional<int> parseZoomRange(std::string_view text);

/// Builds the component's box when its box block is empty: one record around the component's
/// vertices (centre the mean, half extents the largest distances from it), a type-8 face list
/// after its face block, and the ship class set to 1 ("Capship"). The blocks are the component's
/// parts (a component without a box block in its section has no box to build). True when a
/// box was built.
bool createBox(shipfile::ShipFile& file, int component);

/// Empties the component's box block and removes the first unbroken run of type-8 blocks after
/// it in the section. The ship class stays. True when there was a box to clear.
bool clearBoxes(shipfile::ShipFile& file, int component);

} // namespace editing
