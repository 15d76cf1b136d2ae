#include "shipfile/RefPack.h"

#include <cstring>

namespace shipfile {

std::size_t decodePacked(Bytes input, std::vector<std::uint8_t>& output)
{
    output.clear();
    constexpr std::size_t StreamStart = 5;
    if (input.size() < StreamStart)
        return 0;

    const std::uint8_t* in = input.data();
    const std::size_t inSize = input.size();
    std::size_t ip = StreamStart;
    std::size_t op = 0;

    auto fail = [&output] {
        output.clear();
        return std::size_t{0};
    };
    auto reserve = [&output](std::size_t need) {
        if (need > output.size())
            output.resize(std::max(need, std::min(output.size() * 2, MaxUnpackedSize)));
    };
    reserve(inSize * 2);

    for (;;) {
        if (ip >= inSize)
            return fail();
        const std::uint8_t b0 = in[ip];
        std::size_t literals = 0;
        std::size_t copy = 0;
        std::size_t distance = 0;
        bool last = false;
        std::size_t commandBytes = 1;

        if (b0 < 0x80) {
            commandBytes = 2;
            if (inSize - ip < 2)
                return fail();
            const std::uint8_t b1 = in[ip + 1];
            literals = b0 & 3u;
            copy = ((b0 >> 2) & 7u) + 3;
            distance = ((b0 & 0x60u) << 3) + b1 + 1;
        } else if (b0 < 0xC0) {
            commandBytes = 3;
            if (inSize - ip < 3)
                return fail();
            const std::uint8_t b1 = in[ip + 1];
            const std::uint8_t b2 = in[ip + 2];
            literals = b1 >> 6;
            copy = (b0 & 0x3Fu) + 4;
            distance = ((b1 & 0x3Fu) << 8) + b2 + 1;
        } else if (b0 < 0xE0) {
            commandBytes = 4;
            if (inSize - ip < 4)
                return fail();
            const std::uint8_t b1 = in[ip + 1];
            const std::uint8_t b2 = in[ip + 2];
            const std::uint8_t b3 = in[ip + 3];
            literals = b0 & 3u;
            copy = ((b0 & 0x0Cu) << 6) + b3 + 5;
            distance = ((b0 & 0x10u) << 12) + (std::size_t{b1} << 8) + b2 + 1;
        } else if (b0 < 0xFC) {
            literals = ((b0 & 0x1Fu) + 1) * 4;
        } else {
            literals = b0 & 3u;
            last = true;
        }
        ip += commandBytes;

        if (literals > inSize - ip || op + literals + copy > MaxUnpackedSize)
            return fail();
        reserve(op + literals + copy);
        std::uint8_t* out = output.data();
        std::memcpy(out + op, in + ip, literals);
        ip += literals;
        op += literals;

        if (copy) {
            if (distance > op)
                return fail();
            const std::uint8_t* src = out + op - distance;
            std::uint8_t* dst = out + op;
            if (distance >= copy) {
                std::memcpy(dst, src, copy);
            } else {
                // Overlapping copy: each byte is appended before the next is read.
                for (std::size_t i = 0; i < copy; ++i)
                    dst[i] = src[i];
            }
            op += copy;
        }
        if (last)
            break;
    }
    output.resize(op);
    return op;
}

} // namespace shipfile
