#pragma once

#include <QString>

#include <string>

namespace dialogs {

/// What a dialog's handler reads from an edit field: its first line, at most `maxChars`
/// characters, as the 8-bit text the ship file stores (Latin-1; characters outside it become
/// '?').
std::string fieldText(const QString& text, qsizetype maxChars);

/// 8-bit text from a record, for showing in a field.
QString displayText(const std::string& text);

} // namespace dialogs
