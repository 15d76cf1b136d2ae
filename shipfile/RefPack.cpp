#include "shipfile/RefPack.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace shipfile {

namespace {

constexpr std::size_t StreamStart = 5; // 10 FB signature and the 3-byte size field

// What the first command byte says about a command. The fields that live in the following
// bytes are picked out of the 32-bit little-endian word at the command start (`word`, b0 in
// the low byte) and its byte-swapped form (`bigEndian`, b0 in the high byte), so every copy
// form decodes with the same few shifts and masks instead of a branch per form.
struct CommandForm
{
    std::uint8_t length = 1;       // command bytes before the literals
    bool last = false;             // 0xFC..0xFF: the stream ends after its literals
    std::uint8_t literalShift = 0; // literals = literalBase + (word >> literalShift & literalMask)
    std::uint8_t literalMask = 0;
    std::uint16_t literalBase = 0;
    std::uint16_t copyBase = 0; // copy = copyBase + (word >> 24 & copyMask): b3 in the long form
    std::uint32_t copyMask = 0;
    std::uint8_t distanceShift = 0; // distance = distanceBase + (bigEndian >> shift & mask)
    std::uint32_t distanceMask = 0;
    std::uint32_t distanceBase = 0;

    std::size_t literals(std::uint32_t word) const
    {
        return literalBase + ((word >> literalShift) & literalMask);
    }
    std::size_t copy(std::uint32_t word) const { return copyBase + ((word >> 24) & copyMask); }
    std::size_t distance(std::uint32_t bigEndian) const
    {
        return distanceBase + ((bigEndian >> distanceShift) & distanceMask);
    }
};

constexpr CommandForm formOf(unsigned b0)
{
    CommandForm f;
    if (b0 < 0x80) { // 2 bytes: copy 3..10 from up to 1024 back, b1 the low distance byte
        f.length = 2;
        f.literalMask = 3;
        f.copyBase = static_cast<std::uint16_t>(((b0 >> 2) & 7) + 3);
        f.distanceShift = 16;
        f.distanceMask = 0xFF;
        f.distanceBase = ((b0 & 0x60) << 3) + 1;
    } else if (b0 < 0xC0) { // 3 bytes: copy 4..67 from up to 16384 back, literals in b1
        f.length = 3;
        f.literalShift = 14;
        f.literalMask = 3;
        f.copyBase = static_cast<std::uint16_t>((b0 & 0x3F) + 4);
        f.distanceShift = 8;
        f.distanceMask = 0x3FFF;
        f.distanceBase = 1;
    } else if (b0 < 0xE0) { // 4 bytes: copy 5..1028 from up to 131072 back
        f.length = 4;
        f.literalMask = 3;
        f.copyBase = static_cast<std::uint16_t>(((b0 & 0x0C) << 6) + 5);
        f.copyMask = 0xFF;
        f.distanceShift = 8;
        f.distanceMask = 0xFFFF;
        f.distanceBase = ((b0 & 0x10) << 12) + 1;
    } else if (b0 < 0xFC) { // literal run of 4..112 bytes
        f.literalBase = static_cast<std::uint16_t>(((b0 & 0x1F) + 1) * 4);
    } else { // closing command with 0..3 literals
        f.last = true;
        f.literalMask = 3;
    }
    return f;
}

constexpr std::array<CommandForm, 256> Forms = [] {
    std::array<CommandForm, 256> forms{};
    for (unsigned b0 = 0; b0 < 256; ++b0)
        forms[b0] = formOf(b0);
    return forms;
}();

constexpr std::size_t MaxCommandBytes = 4;
constexpr std::size_t MaxLiteralRun = 112;
constexpr std::size_t MaxCopy = 1028;
constexpr std::size_t Wide = 16; // one unaligned SSE-sized move

// The fast loop runs only while a whole command, read and written with wide moves, cannot
// reach past either buffer: then no command there needs a bounds check of its own.
// The longest literal run with its command byte (the fixed moves end exactly at 112).
constexpr std::size_t InputReach = 1 + MaxLiteralRun;
// The literals of a copy command, the longest copy and the overshoot of its last wide move.
constexpr std::size_t OutputReach = (MaxCommandBytes - 1) + MaxCopy + Wide;

// The stream's words are little-endian; so are the patterns built from output bytes.
template <typename Word> Word littleEndian(Word w)
{
    if constexpr (std::endian::native == std::endian::little)
        return w;
    else if constexpr (sizeof w == 4)
        return __builtin_bswap32(w);
    else
        return __builtin_bswap64(w);
}

template <typename Word> Word load(const std::uint8_t* p)
{
    Word w;
    std::memcpy(&w, p, sizeof w);
    return littleEndian(w);
}

inline void storeU64(std::uint8_t* p, std::uint64_t w)
{
    w = littleEndian(w);
    std::memcpy(p, &w, sizeof w);
}

// Through a temporary, so source and destination may overlap.
inline void move16(std::uint8_t* dst, const std::uint8_t* src)
{
    std::uint8_t t[Wide];
    std::memcpy(t, src, Wide);
    std::memcpy(dst, t, Wide);
}

// Copies `n` (at least 1) bytes in 16-byte moves; up to 15 bytes past `dst + n` are
// overwritten with junk that later commands replace. Valid as an LZ copy while `src` is at
// least 16 bytes behind.
inline void copyWide(std::uint8_t* dst, const std::uint8_t* src, std::size_t n)
{
    std::size_t i = 0;
    do {
        move16(dst + i, src + i);
        i += Wide;
    } while (i < n);
}

// For a period of d (1..8) bytes: Repeat[d] spreads it across a 64-bit word in one
// multiplication (its copies land on separate bytes, so no carry mixes them), and Step[d] is
// the whole periods such a word holds, in bytes.
constexpr std::array<std::uint64_t, 9> Repeat = [] {
    std::array<std::uint64_t, 9> repeat{};
    for (std::size_t d = 1; d <= 8; ++d)
        for (std::size_t at = 0; at < 8; at += d)
            repeat[d] |= std::uint64_t{1} << (8 * at);
    return repeat;
}();
constexpr std::array<std::uint8_t, 9> Step = {0, 8, 8, 6, 8, 5, 6, 7, 8};

// Copies `n` bytes from `distance` (1..15) back, where the copy reads bytes it writes itself.
// The repeating pattern is built in registers from bytes written before this command and
// stored at steps of whole periods; reading the copy's own fresh stores back instead would
// wait for each of them to reach the cache. Up to 15 bytes past `dst + n` get junk.
inline void copyNear(std::uint8_t* dst, std::size_t distance, std::size_t n)
{
    // The period, then whatever follows it.
    const std::uint64_t start = load<std::uint64_t>(dst - distance);
    if (distance <= 8) {
        const unsigned junk = 8 * (8 - static_cast<unsigned>(distance));
        const std::uint64_t pattern = (start << junk >> junk) * Repeat[distance];
        const std::size_t step = Step[distance];
        std::size_t i = 0;
        do {
            storeU64(dst + i, pattern);
            storeU64(dst + i + step, pattern);
            i += 2 * step;
        } while (i < n);
    } else {
        // 16 bytes of the period: its first 8, then its rest followed by its start again.
        const std::uint64_t end = load<std::uint64_t>(dst - 8);
        const std::uint64_t high = end >> (8 * (16 - distance)) | start << (8 * (distance - 8));
        std::size_t i = 0;
        do {
            storeU64(dst + i, start);
            storeU64(dst + i + 8, high);
            i += distance;
        } while (i < n);
    }
}

// Where the fast loop stands, and the last positions from which a whole command, read and
// written with wide moves, stays inside both buffers.
struct Cursor
{
    const std::uint8_t* ip;
    std::uint8_t* op;
    const std::uint8_t* inLimit;
    std::uint8_t* outLimit;
    const std::uint8_t* outBegin;
};

// Decodes commands while a whole one fits inside both buffers with no check of its own. Stops
// at the closing command or near either end, where the checked path takes over; false when a
// copy reaches before the start of the output.
bool decodeFastPortable(Cursor& cursor)
{
    // Locals: stores through `op` may alias the cursor as far as the compiler knows.
    const std::uint8_t* ip = cursor.ip;
    std::uint8_t* op = cursor.op;
    const std::uint8_t* const inLimit = cursor.inLimit;
    std::uint8_t* const outLimit = cursor.outLimit;
    const std::uint8_t* const outBegin = cursor.outBegin;
    bool sound = true;
    while (ip <= inLimit && op <= outLimit) {
        const std::uint32_t word = load<std::uint32_t>(ip);
        const unsigned b0 = word & 0xFF;
        if (b0 >= 0xE0) [[unlikely]] {
            if (b0 >= 0xFC)
                break; // the checked path finishes the stream
            // Literal runs are multiples of 4 up to 112: 32 bytes, and 80 more for a longer
            // run, in fixed moves with no loop to mispredict. The spill past the run is
            // overwritten by the next command.
            const std::size_t literals = ((b0 & 0x1Fu) + 1) * 4;
            std::memcpy(op, ip + 1, 32);
            if (literals > 32)
                std::memcpy(op + 32, ip + 33, MaxLiteralRun - 32);
            ip += 1 + literals;
            op += literals;
            continue;
        }

        // Where the next command starts is the loop's critical path: its length and literal
        // count come from b0 by arithmetic and a select, not through the table.
        const bool literalsInB1 = b0 - 0x80u < 0x40u;
        const std::size_t literals = literalsInB1 ? (word >> 14) & 3u : word & 3u;
        const std::size_t length = 2u + (b0 >= 0x80u) + (b0 >= 0xC0u);
        // 0..3 literals in one fixed 4-byte move.
        std::memcpy(op, ip + length, 4);
        ip += length + literals;
        op += literals;

        const CommandForm& form = Forms[b0];
        const std::size_t copy = form.copy(word);
        const std::size_t distance = form.distance(__builtin_bswap32(word));
        if (distance > static_cast<std::size_t>(op - outBegin)) [[unlikely]] {
            sound = false;
            break;
        }
        if (distance >= Wide)
            copyWide(op, op - distance, copy);
        else
            copyNear(op, distance, copy);
        op += copy;
    }
    cursor.ip = ip;
    cursor.op = op;
    return sound;
}

using FastLoop = bool (*)(Cursor&);

#if defined(__x86_64__)
// Built for processors from about 2013 on (AVX2 and BMI2): besides the vector instructions, the
// compiler gets three-operand forms and flag-free shifts, which shortens the loop. Every
// function the loop calls is built for them too: a call into plain SSE code while the upper
// halves of the vector registers hold data costs a state change on some processors.
#define KORVEX_AVX2 gnu::target("avx2,bmi,bmi2")

// Shuffles[d] repeats the first d bytes of 16 across all 16 (byte i takes byte i % d); from a
// distance of 16 on a copy reads only bytes written before it, and the shuffle keeps them as
// they are. Steps[d] is the whole periods 16 bytes hold.
struct alignas(16) ShuffleMask
{
    std::uint8_t bytes[Wide];
};
constexpr std::array<ShuffleMask, Wide + 1> Shuffles = [] {
    std::array<ShuffleMask, Wide + 1> masks{};
    for (std::size_t d = 1; d <= Wide; ++d)
        for (std::size_t i = 0; i < Wide; ++i)
            masks[d].bytes[i] = static_cast<std::uint8_t>(i % d);
    return masks;
}();
constexpr std::array<std::uint8_t, Wide + 1> Steps = [] {
    std::array<std::uint8_t, Wide + 1> steps{};
    for (std::size_t d = 1; d <= Wide; ++d)
        steps[d] = static_cast<std::uint8_t>(Wide / d * d);
    return steps;
}();

// The first 16 bytes of a copy in one shuffled move, whatever the distance: no branch between
// near and far sources on most commands. `pattern` holds those 16 bytes; the rest of a longer
// copy repeats it for a short period, or moves on in 16-byte steps for a long one.
[[gnu::noinline, KORVEX_AVX2]] void copyRest(std::uint8_t* dst, std::size_t distance, std::size_t n,
                                             __m128i pattern)
{
    if (distance >= Wide) {
        copyWide(dst + Wide, dst + Wide - distance, n - Wide);
        return;
    }
    const std::size_t step = Steps[distance];
    for (std::size_t i = step; i < n; i += step)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), pattern);
}

[[KORVEX_AVX2]] inline void copyShuffled(std::uint8_t* dst, std::size_t distance, std::size_t n)
{
    const __m128i v = _mm_shuffle_epi8(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst - distance)),
        _mm_load_si128(reinterpret_cast<const __m128i*>(&Shuffles[std::min(distance, Wide)])));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v);
    if (n > Wide) [[unlikely]]
        copyRest(dst, distance, n, v);
}

// The vector loop reads ahead where each command of a chunk would start, so that finding the
// next command is one table read instead of arithmetic on bytes just loaded: the loop's
// critical path. A chunk is small enough that its table stays in the first-level cache.
constexpr std::size_t Chunk = 4096;
constexpr std::size_t Lanes = 32;               // bytes in one AVX2 register
constexpr std::size_t MinChunk = 64;            // below this the table is not worth building
constexpr std::size_t MaxDistance = 131072;     // the farthest a copy reaches back
constexpr std::size_t MostOutputPerInput = 257; // 1028 bytes from a 4-byte command
constexpr std::size_t LiteralPrefetch = 512;    // bytes ahead in a stretch of literal runs

// advances[q]: how far the command that would start at in[q] reaches, command bytes and
// literals, for q below n rounded up to whole registers. Reads `in` up to in[n + 31].
[[gnu::noinline, KORVEX_AVX2]] void fillAdvances(const std::uint8_t* in, std::size_t n,
                                                 std::uint8_t* advances)
{
    // Indexed by the high four bits of b0 (the same 16 in both halves of a register): bytes
    // before the literals (2, 3 or 4; 0 for a literal run), whether the literal count sits
    // in b1, whether b0 starts a literal run.
    const __m256i commandBytes =
        _mm256_broadcastsi128_si256(_mm_setr_epi8(2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 0, 0));
    const __m256i literalsInB1 = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0));
    const __m256i literalRun = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1));
    const __m256i low2 = _mm256_set1_epi8(3);
    const __m256i low4 = _mm256_set1_epi8(0x0F);
    const __m256i low5 = _mm256_set1_epi8(0x1F);
    const __m256i five = _mm256_set1_epi8(5);
    for (std::size_t q = 0; q < n; q += Lanes) {
        const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + q));
        const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + q + 1));
        // 16-bit shifts: the bits that cross into a neighbouring byte are masked off.
        const __m256i high4 = _mm256_and_si256(_mm256_srli_epi16(b0, 4), low4);
        const __m256i literals = _mm256_blendv_epi8(
            _mm256_and_si256(b0, low2), _mm256_and_si256(_mm256_srli_epi16(b1, 6), low2),
            _mm256_shuffle_epi8(literalsInB1, high4));
        const __m256i copyCommand =
            _mm256_add_epi8(_mm256_shuffle_epi8(commandBytes, high4), literals);
        // A run of ((b0 & 0x1F) + 1) * 4 literals after its one command byte.
        const __m256i run = _mm256_add_epi8(_mm256_slli_epi16(_mm256_and_si256(b0, low5), 2), five);
        _mm256_store_si256(
            reinterpret_cast<__m256i*>(advances + q),
            _mm256_blendv_epi8(copyCommand, run, _mm256_shuffle_epi8(literalRun, high4)));
    }
}

[[KORVEX_AVX2]] inline void move32(std::uint8_t* dst, const std::uint8_t* src)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst),
                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)));
}

// Once the output holds FarBehind bytes, a run of 4 literals (the common run in packed meshes)
// takes the copy path with an empty copy instead of the literal-run branch, which no predictor
// gets right: its literals fit the fixed 4-byte move, and the 16 bytes its empty copy moves
// come from FarBehind back, long written, so the read never waits for a store.
constexpr unsigned FourLiteralRun = 0xE0;
constexpr std::size_t FarBehind = 4096;

// The copy fields of Forms, one array per field: each is read by one instruction indexed by b0
// itself, where a table of whole records would first need b0 scaled to the record size.
struct FormColumns
{
    std::uint32_t distanceMask[256];
    std::uint32_t distanceBase[256];
    // 32 bits wide, as the distance fields: the instruction that uses a 32-bit field reads it
    // itself, a narrower one needs a load of its own.
    std::uint32_t copyBase[256];
    std::uint32_t copyMask[256];
    std::uint8_t distanceShift[256];
    std::uint8_t length[256];
};
constexpr FormColumns Columns = [] {
    FormColumns c{};
    for (unsigned b0 = 0; b0 < 256; ++b0) {
        const CommandForm& f = Forms[b0];
        c.distanceMask[b0] = f.distanceMask;
        c.distanceBase[b0] = b0 == FourLiteralRun ? FarBehind : f.distanceBase;
        c.copyBase[b0] = f.copyBase;
        c.copyMask[b0] = f.copyMask;
        c.distanceShift[b0] = f.distanceShift;
        c.length[b0] = f.length;
    }
    return c;
}();

enum class RunsEnd
{
    Command, // a copy command is next
    Closing, // the closing command is next
    NoRoom   // the next command may reach past either buffer
};

// Literal runs from in[q] on, for as long as they follow each other: in stored, unpacked data
// they do for long stretches. Each run's length is read from the bytes the run before it ended
// on, so the input is asked for ahead of that chain (a prefetch never faults).
[[gnu::always_inline, KORVEX_AVX2]] inline RunsEnd
takeLiteralRuns(const std::uint8_t* in, std::size_t& q, std::uint8_t*& op, std::size_t inRoom,
                const std::uint8_t* outLimit)
{
    unsigned b0 = in[q];
    do {
        if (b0 >= 0xFC)
            return RunsEnd::Closing;
        __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(in + q) +
                                                         LiteralPrefetch));
        // 32 bytes, and 80 more for a longer run: fixed moves, no loop to mispredict. The
        // spill past the run is overwritten by the next command.
        const std::size_t literals = ((b0 & 0x1Fu) + 1) * 4;
        const std::uint8_t* const from = in + q + 1;
        move32(op, from);
        if (literals > 32) {
            move32(op + 32, from + 32);
            move32(op + 64, from + 64);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(op + 96),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 96)));
        }
        q += 1 + literals;
        op += literals;
        if (q > inRoom || op > outLimit)
            return RunsEnd::NoRoom;
        b0 = in[q];
    } while (b0 >= 0xE0);
    return RunsEnd::Command;
}

enum class ChunkEnd
{
    Done,    // the chunk, or the fast loop's room, is used up
    Closing, // the closing command is next
    Unsound  // a copy reaches before the start of the output
};

// Runs the commands that start in the first n bytes at cursor.ip; n keeps their reads inside
// the input. A checked chunk also stops where a command could write past the output, and
// refuses a copy from before its start; an unchecked one needs neither, as the caller makes
// sure. Literal runs may leave the chunk: they check the limits themselves.
template <bool Checked>
[[gnu::always_inline, KORVEX_AVX2]] inline ChunkEnd runChunk(Cursor& cursor, std::size_t n,
                                                             const std::uint8_t* advances)
{
    // Locals: stores through `op` may alias the cursor as far as the compiler knows.
    const std::uint8_t* const in = cursor.ip;
    std::uint8_t* op = cursor.op;
    const std::size_t inRoom = static_cast<std::size_t>(cursor.inLimit - in);
    const std::uint8_t* const outLimit = cursor.outLimit;
    const std::uint8_t* const outBegin = cursor.outBegin;
    // Runs from here on take the literal-run branch; a run of 4 literals only once its empty
    // copy has FarBehind bytes to read.
    const unsigned firstRun =
        static_cast<std::size_t>(op - outBegin) >= FarBehind ? FourLiteralRun + 1 : FourLiteralRun;
    ChunkEnd end = ChunkEnd::Done;
    std::size_t q = 0;
    do {
        std::uint32_t word = load<std::uint32_t>(in + q);
        if ((word & 0xFF) >= firstRun) [[unlikely]] {
            const RunsEnd runs = takeLiteralRuns(in, q, op, inRoom, outLimit);
            if (runs != RunsEnd::Command) {
                end = runs == RunsEnd::Closing ? ChunkEnd::Closing : ChunkEnd::Done;
                break;
            }
            if (q >= n)
                break;
            word = load<std::uint32_t>(in + q);
        }
        const unsigned b0 = word & 0xFF;
        const std::size_t advance = advances[q];
        const std::size_t length = Columns.length[b0];
        // 0..3 literals in one fixed 4-byte move.
        std::memcpy(op, in + q + length, 4);
        q += advance;
        op += advance - length;
        const std::size_t copy = Columns.copyBase[b0] + ((word >> 24) & Columns.copyMask[b0]);
        const std::size_t distance =
            Columns.distanceBase[b0] +
            ((__builtin_bswap32(word) >> Columns.distanceShift[b0]) & Columns.distanceMask[b0]);
        if (Checked && distance > static_cast<std::size_t>(op - outBegin)) [[unlikely]] {
            end = ChunkEnd::Unsound;
            break;
        }
        copyShuffled(op, distance, copy);
        op += copy;
    } while (q < n && (!Checked || op <= outLimit));
    cursor.ip = in + q;
    cursor.op = op;
    return end;
}

[[KORVEX_AVX2]] bool decodeFastAvx2(Cursor& cursor)
{
    alignas(Lanes) std::uint8_t advances[Chunk + Lanes];
    while (cursor.ip <= cursor.inLimit && cursor.op <= cursor.outLimit) {
        std::size_t n = std::min(Chunk, static_cast<std::size_t>(cursor.inLimit - cursor.ip) + 1);
        if (n < MinChunk)
            return decodeFastPortable(cursor); // the last few commands, each checked
        // No checks once the output holds the farthest reach of a copy, and has room for all
        // that the chunk's commands can write: they consume at most its bytes and one more
        // command, and write at most MostOutputPerInput bytes for each byte they consume.
        const std::size_t safe =
            static_cast<std::size_t>(cursor.outLimit - cursor.op) / MostOutputPerInput;
        const bool checked =
            static_cast<std::size_t>(cursor.op - cursor.outBegin) < MaxDistance || safe < MinChunk;
        if (!checked)
            n = std::min(n, safe);
        fillAdvances(cursor.ip, n, advances);
        const ChunkEnd end =
            checked ? runChunk<true>(cursor, n, advances) : runChunk<false>(cursor, n, advances);
        if (end != ChunkEnd::Done)
            return end == ChunkEnd::Closing;
    }
    return true;
}
#undef KORVEX_AVX2
#endif

FastLoop bestFastLoop()
{
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2"))
        return decodeFastAvx2;
#endif
    return decodeFastPortable;
}

// How much output to make room for. The 3-byte size field is trusted when a stream of this
// length could produce it: at least 4 bytes for every 5 of commands (nothing gives less but a
// closing command or bytes after it) and at most 1028 for every 4 (the longest copy). A field
// outside those bounds, as on a stream past 16 MiB or a damaged one, is moved to the nearer.
std::size_t plausibleOutputSize(Bytes input)
{
    const std::size_t field = std::size_t{input[2]} << 16 | std::size_t{input[3]} << 8 | input[4];
    const std::size_t commands = input.size() - StreamStart;
    const std::size_t least = commands / 5 * 4;
    const std::size_t most = commands / MaxCommandBytes * MaxCopy + 3;
    return std::clamp(field, least, most);
}

} // namespace

std::size_t decodePacked(Bytes input, ByteBuffer& output, DecodeLoop loop)
{
    static const FastLoop best = bestFastLoop();
    const FastLoop fast = loop == DecodeLoop::Portable ? decodeFastPortable : best;
    output.clear();
    auto fail = [&output] {
        output.clear();
        return std::size_t{0};
    };
    if (input.size() < StreamStart)
        return fail();

    const std::uint8_t* in = input.data();
    const std::size_t inSize = input.size();
    std::size_t ip = StreamStart;
    std::size_t op = 0;

    // Sized once, uninitialised: every byte kept is written by this call and every byte read
    // back by a copy was written before it. The buffer never exceeds MaxUnpackedSize, so
    // staying inside it also enforces the cap. Kept in locals: stores through `out` may alias
    // the vector's own fields as far as the compiler knows.
    std::size_t outSize = std::min(plausibleOutputSize(input) + OutputReach, MaxUnpackedSize);
    output.resize(outSize);
    std::uint8_t* out = output.data();

    for (;;) {
        // The fast loop runs only while a whole command cannot reach past either buffer.
        Cursor cursor{in + ip, out + op, in + inSize - std::min(inSize, InputReach),
                      out + outSize - std::min(outSize, OutputReach), out};
        if (cursor.ip <= cursor.inLimit && cursor.op <= cursor.outLimit) {
            if (!fast(cursor))
                return fail();
            ip = static_cast<std::size_t>(cursor.ip - in);
            op = static_cast<std::size_t>(cursor.op - out);
        }

        // Checked path: one command near either end of the buffers, or the closing command.
        if (ip >= inSize)
            return fail(); // no closing command
        std::uint32_t word = 0;
        for (std::size_t i = 0; i < MaxCommandBytes && ip + i < inSize; ++i)
            word |= std::uint32_t{in[ip + i]} << (8 * i);
        const CommandForm& form = Forms[word & 0xFF];
        if (inSize - ip < form.length)
            return fail();
        const std::size_t literals = form.literals(word);
        const std::size_t copy = form.copy(word);                            // 0 without a copy
        const std::size_t distance = form.distance(__builtin_bswap32(word)); // 0 likewise
        ip += form.length;
        if (literals > inSize - ip || distance > op + literals)
            return fail();
        const std::size_t need = op + literals + copy;
        if (need > MaxUnpackedSize)
            return fail();
        if (need > outSize) {
            // The size field understated the output. Room for the rest of the stream at the
            // rate seen so far (rounded up), and never less than half as much again, so even
            // a stream that keeps outgrowing its estimate is copied a bounded number of times.
            const std::size_t projected = need + (inSize - ip) * (op / ip + 1) + OutputReach;
            outSize = std::min(std::max(projected, outSize + outSize / 2), MaxUnpackedSize);
            output.resize(op); // only the bytes written so far move
            output.resize(outSize);
            out = output.data();
        }
        std::memcpy(out + op, in + ip, literals);
        ip += literals;
        op += literals;
        // Each byte is appended before the next is read, so a distance below the length
        // repeats the last `distance` bytes.
        for (std::size_t i = 0; i < copy; ++i, ++op)
            out[op] = out[op - distance];
        if (form.last) {
            output.resize(op);
            return op;
        }
    }
}

} // namespace shipfile
