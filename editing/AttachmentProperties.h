#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/ShipFile.h"

#include <optional>
#include <string>
#include <vector>

// The document side of the attachment properties dialog: what its list offers for each kind,
// what it starts from, and how its values go back into the record.
namespace editing {

/// The entries of the property list for an attachment of `kind`: gun-object models for a gun
/// object, the eight flame colours for an engine flame, gun models (entry 0 empty) for a gun,
/// the six light colours for a blinking light, nothing for any other kind. An entry's position
/// is the stored value.
std::vector<std::string> propertyChoices(int kind);

/// The stored property value the dialog starts from: the gun index of a gun, the
/// style index of any other kind.
std::int32_t propertyIndex(shipfile::Bytes record);

/// The list entry highlighted for `propertyIndex`, or nothing when it names no entry.
std::optional<int> highlightedChoice(int kind, std::int32_t propertyIndex);

/// What the dialog is filled with.
struct AttachmentProperties
{
    std::int32_t kind = 0;
    std::int32_t propertyIndex = 0;
    shipfile::Vec3 position;
};

/// The values of an attachment for the dialog; nothing when there is no such record or its
/// kind is negative, and then no dialog is shown.
std::optional<AttachmentProperties> attachmentProperties(const shipfile::ShipFile& file, int component,
                                                         int attachment);

/// Stores the dialog's property value (after OK): the style index of a gun object, an engine
/// flame or a blinking light, the gun index of a gun. Other kinds have no property and nothing
/// is stored.
bool setAttachmentProperty(shipfile::ShipFile& file, int component, int attachment,
                           std::int32_t propertyIndex);

/// Stores the dialog's coordinates, whichever button closed it.
bool setAttachmentPosition(shipfile::ShipFile& file, int component, int attachment,
                           shipfile::Vec3 position);

} // namespace editing
