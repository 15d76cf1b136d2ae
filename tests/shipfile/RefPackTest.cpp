#include "shipfile/RefPack.h"
#include "tests/support/RefPackEncoder.h"
#include "tests/support/ShipBuilder.h"

#include <gtest/gtest.h>

using namespace shipfile;
using Stream = std::vector<std::uint8_t>;

namespace {
Stream packed(std::initializer_list<std::uint8_t> commands)
{
    Stream s = {0x10, 0xFB, 0, 0, 0};
    s.insert(s.end(), commands);
    return s;
}

Stream decode(const Stream& input)
{
    Stream out;
    const std::size_t n = decodePacked(input, out);
    EXPECT_EQ(n, out.size());
    return out;
}
} // namespace

TEST(DecodePacked, EveryCommandForm)
{
    // Closing command alone: nothing.
    EXPECT_TRUE(decode(packed({0xFC})).empty());
    // 0xFF carries three literals.
    EXPECT_EQ(decode(packed({0xFF, 1, 2, 3})), (Stream{1, 2, 3}));
    // 0xE0: 4 literals; 0xFB: 112.
    EXPECT_EQ(decode(packed({0xE0, 9, 8, 7, 6, 0xFC})), (Stream{9, 8, 7, 6}));
    Stream longRun = packed({0xFB});
    for (int i = 0; i < 112; ++i)
        longRun.push_back(static_cast<std::uint8_t>(i));
    longRun.push_back(0xFC);
    EXPECT_EQ(decode(longRun).size(), 112u);

    // Two-byte form: one literal, then D = 1, N = 10: the byte eleven times.
    EXPECT_EQ(decode(packed({0x1D, 0x00, 0x41, 0xFC})), Stream(11, 0x41));
    // Three-byte form: 2 literals then N = 4 from D = 2.
    EXPECT_EQ(decode(packed({0x80, 0x80, 0x01, 5, 6, 0xFC})), (Stream{5, 6, 5, 6, 5, 6}));
    // Four-byte form, b0 = 0xCC, b3 = 0xFF: no literals, 1028 bytes from D = 1 after a seed.
    const Stream four = decode(packed({0xE0, 1, 2, 3, 4, 0xCC, 0x00, 0x00, 0xFF, 0xFC}));
    ASSERT_EQ(four.size(), 4u + 1028u);
    EXPECT_EQ(four.back(), 4);
    // Size field disagreeing with the result changes nothing.
    Stream lying = packed({0xFF, 1, 2, 3});
    lying[2] = 0x7F;
    EXPECT_EQ(decode(lying), (Stream{1, 2, 3}));
}

TEST(DecodePacked, MalformedStreamsFailWithZero)
{
    const Stream cases[] = {
        {},
        {0x10, 0xFB, 0, 0},
        packed({}),                       // no command at all
        packed({0xE0, 1, 2}),              // literals past the end
        packed({0xFF, 1}),                 // closing literals past the end
        packed({0x00, 0x00, 0xFC}),        // copy before the start of the output
        packed({0xE0, 1, 2, 3, 4}),        // no closing command
        packed({0xC0, 0x00}),              // command bytes past the end
    };
    for (const Stream& s : cases) {
        Stream out = {42};
        EXPECT_EQ(decodePacked(s, out), 0u);
        EXPECT_TRUE(out.empty());
    }
}

TEST(DecodePacked, OutputCapRefusesHugeStreams)
{
    // 1028-byte copies from D = 1: 300 MiB of output from a few hundred KB of input.
    Stream s = packed({0xE0, 0, 0, 0, 0});
    const std::size_t copies = MaxUnpackedSize / 1028 + 2;
    s.reserve(s.size() + copies * 4 + 1);
    for (std::size_t i = 0; i < copies; ++i)
        s.insert(s.end(), {0xCC, 0x00, 0x00, 0xFF});
    s.push_back(0xFC);
    Stream out;
    EXPECT_EQ(decodePacked(s, out), 0u);
}

TEST(DecodePacked, RoundTripsEncodedShipsAndLiteralRuns)
{
    const auto plain = testsupport::buildShip(testsupport::sampleShip());
    EXPECT_EQ(decode(testsupport::packRefPack(plain)), plain);
    EXPECT_EQ(decode(testsupport::packLiteralOnly(plain)), plain);
    for (std::size_t n : {0u, 1u, 3u, 4u, 5u, 113u}) {
        Stream data(n);
        for (std::size_t i = 0; i < n; ++i)
            data[i] = static_cast<std::uint8_t>(i * 7);
        EXPECT_EQ(decode(testsupport::packLiteralOnly(data)), data);
        EXPECT_EQ(decode(testsupport::packRefPack(data)), data);
    }
    // Long repetitive runs exercise every copy length and distance form.
    Stream rep;
    for (int i = 0; i < 300000; ++i)
        rep.push_back(static_cast<std::uint8_t>((i % 37) ^ (i / 5000)));
    EXPECT_EQ(decode(testsupport::packRefPack(rep)), rep);
}
