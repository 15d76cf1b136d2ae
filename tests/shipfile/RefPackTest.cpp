#include "shipfile/RefPack.h"

#include "tests/support/ShipMaker.h"

#include <gtest/gtest.h>
#include <random>

using namespace shipfile;
using Stream = std::vector<std::uint8_t>;

namespace {
Stream packed(std::initializer_list<std::uint8_t> commands)
{
    Stream s(5 + commands.size());
    s[0] = 0x10;
    s[1] = 0xFB;
    std::copy(commands.begin(), commands.end(), s.begin() + 5);
    return s;
}

// Decodes with the loop this processor runs best, checking that the portable one agrees.
Stream decode(const Stream& input)
{
    ByteBuffer out;
    const std::size_t n = decodePacked(input, out);
    EXPECT_EQ(n, out.size());
    ByteBuffer portable;
    EXPECT_EQ(decodePacked(input, portable, DecodeLoop::Portable), n);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), portable.begin(), portable.end()));
    return Stream(out.begin(), out.end());
}
} // namespace

// Each command form, the malformed streams and a reused output vector are checked against a
// byte-at-a-time decoder by the decoder's fuzz corpus replay; here only the edges it lacks.
TEST(DecodePacked, StreamsWithoutACommandFailWithZero)
{
    const Stream cases[] = {
        {},
        {0x10, 0xFB, 0, 0},
        packed({}),        // no command at all
        packed({0xFF, 1}), // closing literals past the end
    };
    for (const Stream& s : cases) {
        ByteBuffer out = {42};
        EXPECT_EQ(decodePacked(s, out), 0u);
        EXPECT_TRUE(out.empty());
    }
    // A long stretch of literal runs cut short: the last run claims bytes the stream lacks
    // (the sanitizer build sees any read past the end).
    const Stream whole = testsupport::packLiteralOnly(Stream(20000, 0x5A));
    for (const std::size_t cut : {whole.size() - 1, whole.size() - 60, whole.size() / 2}) {
        const Stream s(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        for (const DecodeLoop loop : {DecodeLoop::Best, DecodeLoop::Portable}) {
            ByteBuffer out;
            EXPECT_EQ(decodePacked(s, out, loop), 0u) << cut;
        }
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
    ByteBuffer out;
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
}

namespace {
// Streams long enough that the command under test runs in the decoder's wide-move loop: a
// 112-byte literal run before it, and more than 112 bytes of literals after it.
struct Probe
{
    Stream stream;
    Stream expected;
};

void appendLiterals(Probe& p, std::size_t n, std::uint8_t seed)
{
    while (n >= 4) {
        const std::size_t run = std::min<std::size_t>(n / 4 * 4, 112);
        p.stream.push_back(static_cast<std::uint8_t>(0xE0 + run / 4 - 1));
        for (std::size_t i = 0; i < run; ++i) {
            const auto b = static_cast<std::uint8_t>(seed + 31 * p.expected.size());
            p.stream.push_back(b);
            p.expected.push_back(b);
        }
        n -= run;
    }
}

// One copy command of `form` (2, 3 or 4 command bytes) carrying `literals` literal bytes.
void appendCopy(Probe& p, std::size_t literals, std::size_t copy, std::size_t distance, int form)
{
    const std::size_t d = distance - 1;
    const auto l = static_cast<std::uint8_t>(literals);
    if (form == 2)
        p.stream.insert(p.stream.end(),
                        {static_cast<std::uint8_t>(((d >> 3) & 0x60) | ((copy - 3) << 2) | l),
                         static_cast<std::uint8_t>(d)});
    else if (form == 3)
        p.stream.insert(p.stream.end(),
                        {static_cast<std::uint8_t>(0x80 | (copy - 4)),
                         static_cast<std::uint8_t>((std::size_t{l} << 6) | (d >> 8)),
                         static_cast<std::uint8_t>(d)});
    else
        p.stream.insert(
            p.stream.end(),
            {static_cast<std::uint8_t>(0xC0 | ((d >> 12) & 0x10) | (((copy - 5) >> 6) & 0x0C) | l),
             static_cast<std::uint8_t>(d >> 8), static_cast<std::uint8_t>(d),
             static_cast<std::uint8_t>(copy - 5)});
    for (std::size_t i = 0; i < literals; ++i) {
        const auto b = static_cast<std::uint8_t>(0xA0 + i);
        p.stream.push_back(b);
        p.expected.push_back(b);
    }
    for (std::size_t i = 0; i < copy; ++i)
        p.expected.push_back(p.expected[p.expected.size() - distance]);
}

Probe probe(std::size_t literals, std::size_t copy, std::size_t distance, int form)
{
    Probe p;
    p.stream = packed({});
    appendLiterals(p, 112, 7);
    appendCopy(p, literals, copy, distance, form);
    appendLiterals(p, 224, 91);
    p.stream.push_back(0xFC);
    return p;
}
} // namespace

TEST(DecodePacked, CopiesEveryLengthAtShortDistances)
{
    // Distances below and around one 16-byte move, where a copy reads its own output.
    for (std::size_t distance = 1; distance <= 40; ++distance) {
        for (std::size_t literals = 0; literals <= 3; ++literals) {
            for (std::size_t copy = 3; copy <= 10; ++copy) {
                const Probe p = probe(literals, copy, distance, 2);
                ASSERT_EQ(decode(p.stream), p.expected) << distance << ' ' << copy;
            }
            for (std::size_t copy = 4; copy <= 67; ++copy) {
                const Probe p = probe(literals, copy, distance, 3);
                ASSERT_EQ(decode(p.stream), p.expected) << distance << ' ' << copy;
            }
            for (std::size_t copy = 5; copy <= 1028; copy += (copy < 80 ? 1 : 61)) {
                const Probe p = probe(literals, copy, distance, 4);
                ASSERT_EQ(decode(p.stream), p.expected) << distance << ' ' << copy;
            }
        }
    }
    // The longest copy from the farthest reach of each form.
    for (const auto& [copy, distance, form] :
         {std::tuple{10u, 112u, 2}, {67u, 112u, 3}, {1028u, 112u, 4}, {1028u, 113u, 4}}) {
        const Probe p = probe(3, copy, distance, form);
        EXPECT_EQ(decode(p.stream), p.expected);
    }
    // Runs of 4 literals after copies near the start of the output, where no copy reaches far
    // back, also after the output outgrew its size field (0) and the loop started again.
    Probe early;
    early.stream = packed({});
    appendLiterals(early, 112, 7);
    for (int i = 0; i < 300; ++i) {
        appendCopy(early, 0, 10, 1, 2);
        appendLiterals(early, 4, static_cast<std::uint8_t>(i));
    }
    appendLiterals(early, 224, 91);
    early.stream.push_back(0xFC);
    EXPECT_EQ(decode(early.stream), early.expected);
    // Bytes after the closing command are not read, also where the wide-move loop meets it.
    Probe trailed = probe(0, 3, 1, 2);
    trailed.stream.insert(trailed.stream.end(), 200, 0xE5);
    EXPECT_EQ(decode(trailed.stream), trailed.expected);
}

TEST(DecodePacked, CopyBeforeOutputStartFailsMidStream)
{
    // 112 bytes written, then a copy from 112 back (the first byte) or 113 back (before it),
    // with plenty of stream after it.
    const Probe good = probe(0, 10, 112, 3);
    EXPECT_EQ(decode(good.stream), good.expected);
    Stream bad = good.stream;
    bad[5 + 1 + 112 + 2] = 112; // low distance byte: 113 back
    for (const DecodeLoop loop : {DecodeLoop::Best, DecodeLoop::Portable}) {
        ByteBuffer out;
        EXPECT_EQ(decodePacked(bad, out, loop), 0u);
        EXPECT_TRUE(out.empty());
    }
}

// Long repetitive data: every copy length and distance form, and a result far larger than the
// stream.
TEST(DecodePacked, SizeFieldIsOnlyAHint)
{
    Stream plain;
    for (int i = 0; i < 200000; ++i)
        plain.push_back(static_cast<std::uint8_t>((i % 251) ^ (i / 9000)));
    // Mostly long copies: the output is many times the input, so a buffer sized from the
    // input alone has to grow several times.
    Stream runs;
    for (int i = 0; i < 40; ++i)
        runs.insert(runs.end(), 9000, static_cast<std::uint8_t>(i));
    // Noise (literal runs) and repeats (copies) taking turns at every offset from the 4 KB
    // stretches the decoder reads ahead.
    Stream mixed;
    std::mt19937 random(7);
    while (mixed.size() < 300000) {
        const std::size_t noise = 1 + random() % 600;
        const std::size_t distance = 1 + random() % 40;
        const std::size_t repeat = random() % 2500;
        for (std::size_t i = 0; i < noise; ++i)
            mixed.push_back(static_cast<std::uint8_t>(random()));
        for (std::size_t i = 0; i < repeat && distance <= mixed.size(); ++i)
            mixed.push_back(mixed[mixed.size() - distance]);
    }
    for (const Stream& data : {plain, runs, mixed}) {
        const Stream stream = testsupport::packRefPack(data);
        for (const std::uint32_t hint : {0u, 1u, 0xFFFFFFu, static_cast<std::uint32_t>(data.size()),
                                         static_cast<std::uint32_t>(data.size() - 1)}) {
            Stream s = stream;
            s[2] = static_cast<std::uint8_t>(hint >> 16);
            s[3] = static_cast<std::uint8_t>(hint >> 8);
            s[4] = static_cast<std::uint8_t>(hint);
            EXPECT_EQ(decode(s), data) << hint;
        }
    }
}

TEST(DecodePacked, OutputLongerThanTheSizeFieldHolds)
{
    // 17 MiB: the 3-byte size field keeps only the low bits of the length.
    Stream plain(17u << 20);
    for (std::size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<std::uint8_t>(i * 31 ^ i >> 12);
    EXPECT_EQ(decode(testsupport::packLiteralOnly(plain)), plain);
}
