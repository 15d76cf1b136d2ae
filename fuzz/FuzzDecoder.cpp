// Any byte string as a packed stream. decodePacked must stay inside its buffers and agree with
// a plain byte-at-a-time decoder, also when it writes into a vector that held earlier output.
#include "fuzz/FuzzCheck.h"
#include "shipfile/RefPack.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using ByteVector = std::vector<std::uint8_t>;

// The command set read one byte at a time, every length checked before use.
std::size_t referenceDecode(shipfile::Bytes in, ByteVector& out)
{
    out.clear();
    std::size_t ip = 5;
    auto byteAt = [&in](std::size_t i) { return std::size_t{in[i]}; };
    for (;;) {
        if (ip >= in.size())
            break;
        const std::size_t b0 = byteAt(ip);
        std::size_t length = 1, literals = 0, copy = 0, distance = 0;
        bool last = false;
        if (b0 < 0x80)
            length = 2;
        else if (b0 < 0xC0)
            length = 3;
        else if (b0 < 0xE0)
            length = 4;
        if (in.size() - ip < length)
            break;
        if (b0 < 0x80) {
            literals = b0 & 3;
            copy = ((b0 >> 2) & 7) + 3;
            distance = ((b0 & 0x60) << 3) + byteAt(ip + 1) + 1;
        } else if (b0 < 0xC0) {
            literals = byteAt(ip + 1) >> 6;
            copy = (b0 & 0x3F) + 4;
            distance = ((byteAt(ip + 1) & 0x3F) << 8) + byteAt(ip + 2) + 1;
        } else if (b0 < 0xE0) {
            literals = b0 & 3;
            copy = ((b0 & 0x0C) << 6) + byteAt(ip + 3) + 5;
            distance = ((b0 & 0x10) << 12) + (byteAt(ip + 1) << 8) + byteAt(ip + 2) + 1;
        } else if (b0 < 0xFC) {
            literals = ((b0 & 0x1F) + 1) * 4;
        } else {
            literals = b0 & 3;
            last = true;
        }
        ip += length;
        if (in.size() - ip < literals)
            break;
        for (std::size_t i = 0; i < literals; ++i)
            out.push_back(in[ip++]);
        if (copy && distance > out.size())
            break;
        if (out.size() + copy > shipfile::MaxUnpackedSize)
            break;
        for (std::size_t i = 0; i < copy; ++i)
            out.push_back(out[out.size() - distance]);
        if (last)
            return out.size();
    }
    out.clear();
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const shipfile::Bytes input(data, size);
    ByteVector expected;
    const std::size_t expectedSize = referenceDecode(input, expected);

    const auto matches = [&expected](const shipfile::ByteBuffer& output) {
        return std::equal(output.begin(), output.end(), expected.begin(), expected.end());
    };
    shipfile::ByteBuffer output;
    const std::size_t n = shipfile::decodePacked(input, output);
    fuzz::check(n == output.size(), "result is the output size");
    fuzz::check(n == expectedSize && matches(output), "agrees with the reference decoder");

    // The portable loop, which processors without AVX2 run, agrees too.
    shipfile::ByteBuffer portable;
    fuzz::check(shipfile::decodePacked(input, portable, shipfile::DecodeLoop::Portable) == n &&
                    matches(portable),
                "the portable loop agrees with the reference decoder");

    // Again into a vector full of other bytes: stale contents must never show through.
    shipfile::ByteBuffer reused(n + 2000, 0xA5);
    fuzz::check(shipfile::decodePacked(input, reused) == n && matches(reused),
                "a reused output vector holds only the new result");
    return 0;
}
