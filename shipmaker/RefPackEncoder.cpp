#include "shipmaker/RefPackEncoder.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

namespace shipmaker {

namespace {

using ByteVector = std::vector<std::uint8_t>;

ByteVector header(std::size_t plainSize)
{
    return {0x10, 0xFB, static_cast<std::uint8_t>(plainSize >> 16),
            static_cast<std::uint8_t>(plainSize >> 8), static_cast<std::uint8_t>(plainSize)};
}

// Emits pending literals in 0xE0..0xFB runs until fewer than 4 remain.
void flushLongLiterals(ByteVector& out, const ByteVector& in, std::size_t& from, std::size_t to)
{
    while (to - from >= 4) {
        const std::size_t run = std::min<std::size_t>((to - from) / 4 * 4, 112);
        out.push_back(static_cast<std::uint8_t>(0xE0 + run / 4 - 1));
        out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(from),
                   in.begin() + static_cast<std::ptrdiff_t>(from + run));
        from += run;
    }
}

void closeStream(ByteVector& out, const ByteVector& in, std::size_t from)
{
    out.push_back(static_cast<std::uint8_t>(0xFC + (in.size() - from)));
    out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(from), in.end());
}

} // namespace

ByteVector packLiteralOnly(const ByteVector& plain)
{
    ByteVector out = header(plain.size());
    std::size_t from = 0;
    flushLongLiterals(out, plain, from, plain.size());
    closeStream(out, plain, from);
    return out;
}

ByteVector packRefPack(const ByteVector& plain)
{
    ByteVector out = header(plain.size());
    std::unordered_map<std::uint32_t, std::size_t> lastSeen;
    auto key = [&plain](std::size_t i) {
        return static_cast<std::uint32_t>(plain[i] | plain[i + 1] << 8 | plain[i + 2] << 16);
    };

    std::size_t literalStart = 0;
    std::size_t i = 0;
    while (i + 3 <= plain.size()) {
        std::size_t bestLength = 0;
        std::size_t bestDistance = 0;
        if (auto it = lastSeen.find(key(i)); it != lastSeen.end()) {
            const std::size_t distance = i - it->second;
            std::size_t length = 0;
            while (i + length < plain.size() && length < 1028 &&
                   plain[i + length] == plain[i + length - distance])
                ++length;
            if (distance <= 131072 && length >= 3) {
                bestLength = length;
                bestDistance = distance;
            }
        }
        // Fit the match to a form that can carry it.
        if (bestLength >= 3 && !(bestDistance <= 1024 || bestLength >= 4))
            bestLength = 0;
        if (bestLength >= 4 && bestDistance > 16384 && bestLength < 5)
            bestLength = 0;
        if (bestLength == 0) {
            lastSeen[key(i)] = i;
            ++i;
            continue;
        }

        flushLongLiterals(out, plain, literalStart, i);
        const std::size_t literals = i - literalStart; // 0..3, carried by the copy command
        const std::size_t d = bestDistance - 1;
        if (bestLength <= 10 && bestDistance <= 1024) {
            out.push_back(
                static_cast<std::uint8_t>(((d >> 3) & 0x60) | ((bestLength - 3) << 2) | literals));
            out.push_back(static_cast<std::uint8_t>(d));
        } else if (bestLength <= 67 && bestDistance <= 16384) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (bestLength - 4)));
            out.push_back(static_cast<std::uint8_t>((literals << 6) | (d >> 8)));
            out.push_back(static_cast<std::uint8_t>(d));
        } else {
            const std::size_t n = bestLength - 5;
            out.push_back(static_cast<std::uint8_t>(0xC0 | ((d >> 12) & 0x10) | ((n >> 6) & 0x0C) |
                                                    literals));
            out.push_back(static_cast<std::uint8_t>(d >> 8));
            out.push_back(static_cast<std::uint8_t>(d));
            out.push_back(static_cast<std::uint8_t>(n));
        }
        out.insert(out.end(), plain.begin() + static_cast<std::ptrdiff_t>(literalStart),
                   plain.begin() + static_cast<std::ptrdiff_t>(i));
        for (std::size_t k = 0; k < bestLength && i + k + 3 <= plain.size(); ++k)
            lastSeen[key(i + k)] = i + k;
        i += bestLength;
        literalStart = i;
    }
    flushLongLiterals(out, plain, literalStart, plain.size());
    closeStream(out, plain, literalStart);
    return out;
}

} // namespace shipmaker
