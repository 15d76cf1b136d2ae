#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/ShipFile.h"

#include <array>
#include <optional>

// The attachment commands: adding, removing, copying, moving and placing the records of a
// component's type-9 block. When the component has none (after the missing-type-9 message) or
// `attachment` is not a record of it, the command changes nothing.
namespace editing {

/// Record `attachment` of the component's type-9 block. Empty when there is no such record, as when the index was kept from another component.
shipfile::MutableBytes attachmentRecord(shipfile::ShipFile& file, int component, int attachment);
shipfile::Bytes attachmentRecord(const shipfile::ShipFile& file, int component, int attachment);

/// Appends the template record of `kind` (0..4) to the component's attachments; any other kind
/// (-1: none chosen) appends nothing. Returns the entry to select, the last one (-1 when the
/// block is empty), or nothing when the command did not run and the list stays as it was.
std::optional<int> addAttachment(shipfile::ShipFile& file, int component, int kind);

/// Removes an attachment, keeping the others in order. Returns the entry to select (the last,
/// -1 when none is left), or nothing when nothing was removed.
std::optional<int> removeAttachment(shipfile::ShipFile& file, int component, int attachment);

/// Appends a copy of an attachment. The selection stays on the source attachment.
bool copyAttachment(shipfile::ShipFile& file, int component, int attachment);
/// Appends a copy with its x position negated; y, z and the orientation are copied as they are.
bool copyAttachmentMirrored(shipfile::ShipFile& file, int component, int attachment);

/// Adds `delta` to an attachment's position (a mouse drag).
bool moveAttachment(shipfile::ShipFile& file, int component, int attachment, shipfile::Vec3 delta);

struct SnapOptions
{
    bool rotate = true; // turn the attachment to the face's normal
    bool back = false;  // ... facing away from it
};

/// Moves an attachment to the centre of the component's face nearest to it and, with
/// `rotate`, orients it to that face. False when no face lies nearer than 999999 units or a
/// block is missing (then after "Error searching for vertices\n" / "... polygons\n").
bool snapToNearestFace(shipfile::ShipFile& file, int component, int attachment,
                       SnapOptions options);

/// The attachment orientation (row-major 3 x 3, as stored) for a face normal. Not normalised.
std::array<float, 9> orientationFromNormal(shipfile::Vec3 normal, bool back);

} // namespace editing
