#include "editing/NumberText.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

using editing::formatFixed;
using editing::parseInteger;
using editing::parseReal;

TEST(ParseInteger, ReadsTheLeadingNumberLikeAtoiAndSaturates)
{
    EXPECT_EQ(parseInteger("12abc"), 12);
    EXPECT_EQ(parseInteger("-25"), -25);
    EXPECT_EQ(parseInteger("  \t+7 apples"), 7);
    EXPECT_EQ(parseInteger("0012"), 12);
    EXPECT_EQ(parseInteger("3.9"), 3);
    EXPECT_EQ(parseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_FALSE(parseInteger(""));
    EXPECT_FALSE(parseInteger("abc"));
    EXPECT_FALSE(parseInteger("-"));
    EXPECT_FALSE(parseInteger("+-3"));
    EXPECT_FALSE(parseInteger("x12"));
    // Outside the 32-bit range.
    EXPECT_EQ(parseInteger("2147483648"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(parseInteger("-2147483649"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parseInteger("99999999999999999999999"), std::numeric_limits<std::int32_t>::max());
}

TEST(ParseReal, ReadsTheLeadingNumberLikeAtof)
{
    EXPECT_EQ(parseReal("-3e2"), -300.0);
    EXPECT_EQ(parseReal("12abc"), 12.0);
    EXPECT_EQ(parseReal(" 1.5x"), 1.5);
    EXPECT_EQ(parseReal(".25"), 0.25);
    EXPECT_EQ(parseReal("+4."), 4.0);
    EXPECT_EQ(parseReal("2e"), 2.0) << "an exponent without digits is not part of the number";
    EXPECT_EQ(parseReal("1,5"), 1.0) << "the decimal point is '.' whatever the locale";
    EXPECT_FALSE(parseReal(""));
    EXPECT_FALSE(parseReal("abc"));
    EXPECT_FALSE(parseReal("."));
    EXPECT_FALSE(parseReal("-"));
    EXPECT_FALSE(parseReal("nan"));
    EXPECT_FALSE(parseReal("-inf"));
    EXPECT_FALSE(parseReal("1e999"));
    EXPECT_FALSE(parseReal("1e39")) << "too large for a 32-bit float";
}

TEST(FormatFixed, WritesSixDecimalsLikePrintf)
{
    EXPECT_EQ(formatFixed(1.23456789), "1.234568");
    EXPECT_EQ(formatFixed(0.0), "0.000000");
    EXPECT_EQ(formatFixed(-10.0), "-10.000000");
    EXPECT_EQ(formatFixed(0.0000001), "0.000000");
    EXPECT_EQ(formatFixed(1e10), "10000000000.000000");
    // The text a coordinate goes through in the dialogs, and back.
    EXPECT_FLOAT_EQ(static_cast<float>(*parseReal(formatFixed(1.23456789f))), 1.234568f);
}

TEST(ParseField, TakesOnlyTextThatIsWhollyANumberInRange)
{
    using editing::parseIntegerField;
    using editing::parseRealField;
    EXPECT_EQ(parseIntegerField(" -25 "), -25);
    EXPECT_EQ(parseIntegerField("+7"), 7);
    EXPECT_EQ(parseIntegerField("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parseIntegerField("2147483647"), std::numeric_limits<std::int32_t>::max());
    for (const char* bad : {"", "-", "12abc", "3.9", "abc", "+-3", "2147483648", "-2147483649",
                            "99999999999", "99999999999999999999999"})
        EXPECT_FALSE(parseIntegerField(bad)) << bad;

    EXPECT_EQ(parseRealField("-3e2"), -300.0);
    EXPECT_EQ(parseRealField(" 1.5\t"), 1.5);
    EXPECT_EQ(parseRealField(".5"), 0.5);
    EXPECT_EQ(parseRealField("1e38"), 1e38);
    for (const char* bad :
         {"", "-", "1.5x", "1e", "abc", "nan", "-inf", "infinity", "1e40", "--1", "1 2"})
        EXPECT_FALSE(parseRealField(bad)) << bad;
}
