#pragma once

#include "shipfile/Bytes.h"

#include <string>

namespace editing {

/// The text the attached-objects list shows for one type-9 record: the kind's name, with the
/// gun-model name for gun objects and guns. A name index outside the table gives an empty name.
std::string attachmentLabel(shipfile::Bytes record);

} // namespace editing
