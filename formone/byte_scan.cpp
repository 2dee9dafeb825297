#include "formone/byte_scan.h"

#include <emmintrin.h>  // SSE2, which every x86-64 processor has

#include <algorithm>
#include <bit>
#include <cstdint>

namespace vask::formone {
namespace {

constexpr size_t kBlock = 16;

// Bit i of `found` set when byte i of the sixteen (or, at the end of a text, fewer) at `p`
// is `a` or `b`; of `high` when it is 80 or above.
struct Masks {
    unsigned found = 0;
    unsigned high = 0;
};

Masks masksOf(const char* p, __m128i a, __m128i b) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i either = _mm_or_si128(_mm_cmpeq_epi8(bytes, a), _mm_cmpeq_epi8(bytes, b));
    return {static_cast<unsigned>(_mm_movemask_epi8(either)), static_cast<unsigned>(_mm_movemask_epi8(bytes))};
}

Masks masksOfTail(const char* p, size_t count, char a, char b) {
    Masks masks;
    for (size_t k = 0; k < count; ++k) {
        if (p[k] == a || p[k] == b) masks.found |= 1u << k;
        if (static_cast<unsigned char>(p[k]) >= 0x80) masks.high |= 1u << k;
    }
    return masks;
}

// The position of the highest bit of a mask that is not 0.
size_t highestBit(unsigned mask) { return static_cast<size_t>(std::bit_width(mask) - 1); }

}  // namespace

void ByteFields::split(std::string_view line, char separator, char alsoSeparator, size_t maxFields) {
    line_ = line;
    count_ = 0;
    if (line.empty() || maxFields == 0) return;
    // A line of n bytes has at most n + 1 fields.
    const size_t most = std::min(maxFields, line.size() + 1);
    if (start_.size() < most + 1) {
        start_.resize(most + 1);
        ascii_.resize(most);
    }
    const char* p = line.data();
    const size_t n = line.size();
    const __m128i a = _mm_set1_epi8(separator);
    const __m128i b = _mm_set1_epi8(alsoSeparator);
    size_t* starts = start_.data();
    unsigned char* ascii = ascii_.data();
    size_t count = 0;
    size_t start = 0;
    // One more than the position of the last byte of 80 or above seen, 0 while there is none:
    // a field is ASCII when that byte lies before it.
    size_t highEnd = 0;
    for (size_t i = 0; i < n; i += kBlock) {
        const Masks masks =
            i + kBlock <= n ? masksOf(p + i, a, b) : masksOfTail(p + i, n - i, separator, alsoSeparator);
        for (unsigned found = masks.found; found != 0; found &= found - 1) {
            const unsigned bit = static_cast<unsigned>(std::countr_zero(found));
            if (masks.high != 0) {
                if (const unsigned before = masks.high & ((1u << bit) - 1)) highEnd = i + highestBit(before) + 1;
            }
            starts[count] = start;
            ascii[count] = highEnd <= start;
            start = i + bit + 1;
            if (++count == maxFields) break;
        }
        if (count == maxFields) break;
        if (masks.high) highEnd = i + highestBit(masks.high) + 1;
    }
    if (count < maxFields) {  // the last field runs to the end of the line
        starts[count] = start;
        ascii[count] = highEnd <= start;
        start = n + 1;
        ++count;
    }
    starts[count] = start;
    count_ = count;
}

}  // namespace vask::formone
