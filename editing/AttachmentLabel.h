#pragma once

#include "shipfile/Bytes.h"

#include <string>

namespace editing {

/// The text the attached-objects list shows for one type-9 record: the kind's name, with the
/// gun-model name for gun objects and guns. A name index outside the table gives an empty name.
std::string attachmentLabel(shipfile::Bytes record);
/// The label with the record's number, as the list and the hover name record `index` so two
/// of a kind can be told apart: "Engine Flame (2)". The number is the one the exported node's
/// name carries.
std::string numberedAttachmentLabel(shipfile::Bytes record, std::size_t index);

} // namespace editing
