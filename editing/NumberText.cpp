#include "editing/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace editing {

namespace {

// The C locale's white space, which is what atoi and atof skip.
bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

struct SignedText
{
    bool negative = false;
    std::string_view digits;
};

// Skips leading white space and one sign. from_chars takes neither white space nor '+'.
std::optional<SignedText> splitSign(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    SignedText out;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        out.negative = text[i] == '-';
        ++i;
    }
    // A second sign ("+-3") is no number.
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return std::nullopt;
    out.digits = text.substr(i);
    return out;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isCSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isCSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool finiteFloat(double value)
{
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

// The number at the start of `text`, after white space and one sign. `T` is std::uint64_t for
// an integer's magnitude or double.
template <typename T> struct LeadingNumber
{
    bool negative = false;
    T magnitude{};
    bool outOfRange = false;
    /// Whether the number is all the text there is.
    bool whole = false;
};

template <typename T> std::optional<LeadingNumber<T>> leadingNumber(std::string_view text)
{
    const auto split = splitSign(text);
    if (!split)
        return std::nullopt;
    const char* first = split->digits.data();
    const char* last = first + split->digits.size();
    LeadingNumber<T> number;
    const auto [end, error] = std::from_chars(first, last, number.magnitude);
    if (end == first)
        return std::nullopt;
    number.negative = split->negative;
    number.outOfRange = error != std::errc();
    number.whole = end == last;
    return number;
}

bool fitsInt32(const LeadingNumber<std::uint64_t>& number)
{
    constexpr std::uint64_t Max = std::numeric_limits<std::int32_t>::max();
    return !number.outOfRange && number.magnitude <= (number.negative ? Max + 1 : Max);
}

std::int32_t toInt32(const LeadingNumber<std::uint64_t>& number)
{
    if (!fitsInt32(number))
        return number.negative ? std::numeric_limits<std::int32_t>::min()
                               : std::numeric_limits<std::int32_t>::max();
    const auto value = static_cast<std::int64_t>(number.magnitude);
    return static_cast<std::int32_t>(number.negative ? -value : value);
}

std::optional<double> toFiniteFloat(const std::optional<LeadingNumber<double>>& number)
{
    if (!number || number->outOfRange || !finiteFloat(number->magnitude))
        return std::nullopt;
    return number->negative ? -number->magnitude : number->magnitude;
}

} // namespace

std::optional<std::int32_t> parseIntegerField(std::string_view text)
{
    const auto number = leadingNumber<std::uint64_t>(trimmed(text));
    if (!number || !number->whole || !fitsInt32(*number))
        return std::nullopt;
    return toInt32(*number);
}

std::optional<double> parseRealField(std::string_view text)
{
    const auto number = leadingNumber<double>(trimmed(text));
    if (!number || !number->whole)
        return std::nullopt;
    return toFiniteFloat(number);
}

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    const auto number = leadingNumber<std::uint64_t>(text);
    if (!number)
        return std::nullopt;
    return toInt32(*number);
}

std::optional<double> parseReal(std::string_view text)
{
    return toFiniteFloat(leadingNumber<double>(text));
}

std::string formatFixed(double value)
{
    // Room for the 309 integer digits of the largest double, the sign and six decimals.
    std::array<char, 330> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, 6);
    if (error != std::errc())
        return {};
    return std::string(buffer.data(), end);
}

std::string formatInteger(long long value)
{
    return std::to_string(value);
}

} // namespace editing
