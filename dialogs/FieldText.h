#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class QLineEdit;

namespace dialogs {

/// What a dialog's handler reads from a text field: its first line, at most `maxChars`
/// characters, as the 8-bit text the ship file stores (Latin-1).
std::string fieldText(const QString& text, qsizetype maxChars);

/// Lets `field` take only the characters a name in a ship file holds (printable Latin-1), so
/// nothing the user types is stored as some other character.
void acceptStorableText(QLineEdit& field);

/// The value a number field's whole text shows. While the text is no valid value in range the
/// field is marked and nothing is returned: its handler writes nothing and the user sees why.
std::optional<std::int32_t> integerField(QLineEdit& field, const QString& text);
std::optional<double> realField(QLineEdit& field, const QString& text);

} // namespace dialogs
