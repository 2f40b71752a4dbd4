#include "io/linescanner.h"

#include <QtAlgorithms>

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int blockSize = 64;

// Bit k of each mask stands for byte k of a block.
struct BlockMasks
{
    uint64_t quote = 0;
    uint64_t backslash = 0;
    uint64_t newline = 0;
    uint64_t open = 0; // [ or {
    uint64_t close = 0; // ] or }
};

#if defined(__SSE2__)
// Bit k is set where byte k of the four parts equals that of `value`.
inline uint64_t equalBits(const __m128i (&parts)[4], __m128i value)
{
    const auto bits = [&](int part) {
        return uint64_t(uint16_t(_mm_movemask_epi8(_mm_cmpeq_epi8(parts[part], value))));
    };
    return bits(0) | bits(1) << 16 | bits(2) << 32 | bits(3) << 48;
}
#endif

// The masks of the first `size` bytes, one at a time: for the end of a text,
// and for every block where SSE2 is missing.
BlockMasks classifyBytes(const char *bytes, qsizetype size)
{
    BlockMasks masks;
    for (qsizetype k = 0; k < size; ++k) {
        const uint64_t bit = uint64_t(1) << k;
        const char folded = char(bytes[k] | 0x20);
        masks.quote |= bytes[k] == '"' ? bit : 0;
        masks.backslash |= bytes[k] == '\\' ? bit : 0;
        masks.newline |= bytes[k] == '\n' ? bit : 0;
        masks.open |= folded == '{' ? bit : 0;
        masks.close |= folded == '}' ? bit : 0;
    }
    return masks;
}

inline BlockMasks classify(const char *block)
{
#if defined(__SSE2__)
    BlockMasks masks;
    const auto *data = reinterpret_cast<const __m128i *>(block);
    const __m128i parts[4] = {_mm_loadu_si128(data), _mm_loadu_si128(data + 1),
                              _mm_loadu_si128(data + 2), _mm_loadu_si128(data + 3)};
    // '[' and ']' differ from '{' and '}' in bit 0x20 only.
    const __m128i lowerCase = _mm_set1_epi8(0x20);
    const __m128i folded[4]
            = {_mm_or_si128(parts[0], lowerCase), _mm_or_si128(parts[1], lowerCase),
               _mm_or_si128(parts[2], lowerCase), _mm_or_si128(parts[3], lowerCase)};
    masks.quote = equalBits(parts, _mm_set1_epi8('"'));
    masks.backslash = equalBits(parts, _mm_set1_epi8('\\'));
    masks.newline = equalBits(parts, _mm_set1_epi8('\n'));
    masks.open = equalBits(folded, _mm_set1_epi8('{'));
    masks.close = equalBits(folded, _mm_set1_epi8('}'));
    return masks;
#else
    return classifyBytes(block, blockSize);
#endif
}

// Bit k is the parity of bits 0 to k.
inline uint64_t prefixParity(uint64_t bits)
{
    bits ^= bits << 1;
    bits ^= bits << 2;
    bits ^= bits << 4;
    bits ^= bits << 8;
    bits ^= bits << 16;
    return bits ^ bits << 32;
}

} // namespace

bool LineScanner::closesEveryLine(QByteArrayView text)
{
    // Carried from block to block: whether the first byte is escaped, whether
    // it lies inside a string, and the depth of brackets outside strings.
    bool escapedCarry = false;
    bool inStringCarry = false;
    int depth = 0;
    for (qsizetype at = 0; at < text.size(); at += blockSize) {
        const BlockMasks masks = text.size() - at < blockSize
                ? classifyBytes(text.data() + at, text.size() - at)
                : classify(text.data() + at);

        // A backslash escapes the next byte unless it is escaped itself.
        uint64_t escaped = escapedCarry ? 1 : 0;
        escapedCarry = false;
        for (uint64_t backslashes = masks.backslash; backslashes; backslashes &= backslashes - 1) {
            const uint k = qCountTrailingZeroBits(backslashes);
            if (escaped >> k & 1)
                continue;
            if (k == blockSize - 1)
                escapedCarry = true;
            else
                escaped |= uint64_t(2) << k;
        }
        // Set from each opening quotation mark up to its closing one.
        const uint64_t inString
                = prefixParity(masks.quote & ~escaped) ^ (inStringCarry ? ~uint64_t(0) : 0);
        inStringCarry = inString >> (blockSize - 1);
        if (masks.newline & inString)
            return false;

        const uint64_t opens = masks.open & ~inString;
        const uint64_t closes = masks.close & ~inString;
        for (uint64_t breaks = masks.newline; breaks; breaks &= breaks - 1) {
            const uint64_t before = (breaks & -breaks) - 1;
            if (depth + int(qPopulationCount(opens & before))
                        - int(qPopulationCount(closes & before))
                != 0)
                return false;
        }
        depth += int(qPopulationCount(opens)) - int(qPopulationCount(closes));
    }
    return depth == 0 && !inStringCarry;
}
