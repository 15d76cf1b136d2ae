#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The number fields of the dialogs: text is read the way the C library's atoi/atof read it (leading
// white space, an optional sign, as many characters as make a number, the rest ignored) and
// written the way "%d" and "%f" write it. Neither direction depends on the user's locale.
namespace editing {

/// The decimal integer at the start of `text` ("12abc" gives 12, " -7" gives -7). Values past
/// the 32-bit range saturate. Nothing when the text does not start with a number.
std::optional<std::int32_t> parseInteger(std::string_view text);

/// The floating-point number at the start of `text` ("-3e2" gives -300, "1.5x" gives 1.5).
/// Nothing when the text does not start with a number, or when the number is not finite or too
/// large for a 32-bit float, which no field of a ship may hold.
std::optional<double> parseReal(std::string_view text);

/// The 32-bit integer that the whole of `text` shows, white space around it allowed. Nothing
/// for anything else ("12abc", "", "-") and for values past the 32-bit range, which a field
/// would otherwise store as some other number.
std::optional<std::int32_t> parseIntegerField(std::string_view text);

/// The number that the whole of `text` shows ("-3e2", " 1.5 "), white space around it allowed.
/// Nothing for anything else, for "nan" and "inf", and for numbers too large for a 32-bit float.
std::optional<double> parseRealField(std::string_view text);

/// `value` with six decimals, as "%f" writes it: 1.23456789 gives "1.234568".
std::string formatFixed(double value);

/// `value` in signed decimal, as "%d" writes it.
std::string formatInteger(long long value);

} // namespace editing
