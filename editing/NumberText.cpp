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

} // namespace

std::optional<std::int32_t> parseIntegerField(std::string_view text)
{
    const auto split = splitSign(trimmed(text));
    if (!split)
        return std::nullopt;
    const char* first = split->digits.data();
    const char* last = first + split->digits.size();
    std::int64_t magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (error != std::errc() || end != last || magnitude < 0)
        return std::nullopt;
    const std::int64_t value = split->negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> parseRealField(std::string_view text)
{
    const auto split = splitSign(trimmed(text));
    if (!split)
        return std::nullopt;
    const char* first = split->digits.data();
    const char* last = first + split->digits.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !finiteFloat(value))
        return std::nullopt;
    return split->negative ? -value : value;
}

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    const auto split = splitSign(text);
    if (!split)
        return std::nullopt;
    const char* first = split->digits.data();
    const char* last = first + split->digits.size();
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (end == first)
        return std::nullopt;

    constexpr std::uint64_t Max = std::numeric_limits<std::int32_t>::max();
    const bool overflow = error == std::errc::result_out_of_range ||
                          magnitude > (split->negative ? Max + 1 : Max);
    if (overflow)
        return split->negative ? std::numeric_limits<std::int32_t>::min()
                               : std::numeric_limits<std::int32_t>::max();
    const auto value = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(split->negative ? -value : value);
}

std::optional<double> parseReal(std::string_view text)
{
    const auto split = splitSign(text);
    if (!split)
        return std::nullopt;
    const char* first = split->digits.data();
    const char* last = first + split->digits.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (end == first || error != std::errc() || !finiteFloat(value))
        return std::nullopt;
    return split->negative ? -value : value;
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
