#pragma once

#include "shipfile/ByteBuffer.h"
#include "shipfile/Bytes.h"

#include <cstddef>

namespace shipfile {

/// Output larger than this is refused: no real ship comes near it, and a hostile stream of
/// 1028-byte copies could otherwise ask for gigabytes.
inline constexpr std::size_t MaxUnpackedSize = 256u * 1024 * 1024;

/// Which inner loop decodes: the fastest this processor runs (chosen once), or the one every
/// processor runs. Both give the same bytes; tests and the fuzz target compare them.
enum class DecodeLoop
{
    Best,
    Portable
};

/// Decodes a RefPack stream. `input` starts at the 10 FB signature; the 3-byte size field after
/// it only sizes the buffer, never the result. Returns the number of bytes written to `output`
/// (resized to fit; earlier contents are replaced), or 0 with `output` empty when the stream
/// is malformed: literals past the end of the input, a copy reaching before the start of the
/// output, no closing command, or output past MaxUnpackedSize.
std::size_t decodePacked(Bytes input, ByteBuffer& output, DecodeLoop loop = DecodeLoop::Best);

} // namespace shipfile
