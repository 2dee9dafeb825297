#include "formone/byte_scan.h"

#include <emmintrin.h>  // SSE2, which every x86-64 processor has

#include <bit>
#include <cstdint>
#include <cstring>

namespace vask::formone {
namespace {

constexpr size_t kBlock = 16;

// Bit i set when byte i of the sixteen at `p` is `a` or `b`.
unsigned matches(const char* p, __m128i a, __m128i b) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, a), _mm_cmpeq_epi8(bytes, b))));
}

// The same for the fewer than sixteen bytes at the end of a text.
unsigned matchesInTail(const char* p, size_t count, char a, char b) {
    unsigned mask = 0;
    for (size_t k = 0; k < count; ++k) {
        if (p[k] == a || p[k] == b) mask |= 1u << k;
    }
    return mask;
}

}  // namespace

size_t findLineBreak(std::string_view bytes) {
    const char* p = bytes.data();
    const size_t n = bytes.size();
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    size_t i = 0;
    for (; i + kBlock <= n; i += kBlock) {
        if (const unsigned mask = matches(p + i, cr, lf)) return i + static_cast<size_t>(std::countr_zero(mask));
    }
    const unsigned mask = matchesInTail(p + i, n - i, '\r', '\n');
    return mask ? i + static_cast<size_t>(std::countr_zero(mask)) : n;
}

void splitFields(std::string_view line, char separator, char alsoSeparator, size_t maxFields,
                 std::vector<std::string_view>& fields) {
    fields.clear();
    if (line.empty() || maxFields == 0) return;
    const char* p = line.data();
    const size_t n = line.size();
    const __m128i a = _mm_set1_epi8(separator);
    const __m128i b = _mm_set1_epi8(alsoSeparator);
    size_t start = 0;
    for (size_t i = 0; i < n; i += kBlock) {
        unsigned mask = i + kBlock <= n ? matches(p + i, a, b) : matchesInTail(p + i, n - i, separator, alsoSeparator);
        for (; mask != 0; mask &= mask - 1) {
            const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
            fields.push_back(line.substr(start, at - start));
            if (fields.size() == maxFields) return;
            start = at + 1;
        }
    }
    fields.push_back(line.substr(start));
}

bool isAscii(std::string_view bytes) {
    constexpr uint64_t kHighBits = 0x8080808080808080ULL;
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & kHighBits) return false;
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
    }
    return true;
}

}  // namespace vask::formone
