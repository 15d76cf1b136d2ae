#pragma once

#include <QString>

#include <string_view>

namespace platform {

/// Our own texts, UTF-8 like every text in the program, as Qt shows them.
inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// A name read from a ship file: raw bytes in no known encoding, one character each (Latin-1),
/// so every byte shows and comes back unchanged when the text is stored again.
inline QString nameToQString(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace platform
