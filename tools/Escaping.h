#pragma once

#include <string>
#include <string_view>

// Names in a ship file are raw bytes in no particular encoding. These turn them into text that
// is safe to print, keeping every byte recoverable.
namespace tools {

/// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0 when there is none
/// (an overlong form, a surrogate, a code point past U+10FFFF, a cut-off sequence).
std::size_t utf8SequenceLength(std::string_view bytes);

/// Whether all of `bytes` is well-formed UTF-8.
bool isWellFormedUtf8(std::string_view bytes);

/// Every byte as two lower-case hex digits.
std::string hexBytes(std::string_view bytes);

/// `bytes` between double quotes for a terminal: control characters and bytes that are not part
/// of well-formed UTF-8 become \xXX; quotes and backslashes are escaped with a backslash.
std::string displayQuoted(std::string_view bytes);

} // namespace tools
