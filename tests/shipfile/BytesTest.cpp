#include "shipfile/Bytes.h"

#include <gtest/gtest.h>

using namespace shipfile;

TEST(RecordFields, LittleEndianAndBounds)
{
    std::vector<std::uint8_t> r = {0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x80, 0xBF};
    EXPECT_EQ(readU32(r, 0), 0x12345678u);
    EXPECT_EQ(readI16(r, 6), std::int16_t{-16512});
    EXPECT_EQ(readI8(r, 7), std::int8_t{-65});
    EXPECT_EQ(readF32(r, 4), -1.0f);
    EXPECT_FALSE(readU32(r, 5));
    EXPECT_FALSE(readU32(r, SIZE_MAX - 1)) << "offset + width must not wrap";
    EXPECT_FALSE(readVec3(r, 0));

    EXPECT_FALSE(writeU32(r, 6, 1));
    EXPECT_EQ(r[6], 0x80) << "a failed write leaves the record alone";
    ASSERT_TRUE(writeI32(r, 0, -2));
    EXPECT_EQ(r[0], 0xFE);
    EXPECT_EQ(r[3], 0xFF);

    const std::vector<std::uint8_t> name = {'a', 'b', 0, 'c'};
    EXPECT_EQ(readString(name, 0), "ab");
    const std::vector<std::uint8_t> noNul = {'x', 'y', 'z'};
    EXPECT_EQ(readString(noNul, 1), "yz");
    EXPECT_EQ(readString(noNul, 9), "");
}
