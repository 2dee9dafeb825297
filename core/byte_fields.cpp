#include "core/byte_fields.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vask {

namespace {

// How many bytes of `bytes` are `separator`.
size_t countOf(std::string_view bytes, char separator) {
    const char* data = bytes.data();
    size_t count = 0;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(separator);
    const __m128i one = _mm_set1_epi8(1);
    __m128i sums = _mm_setzero_si128();  // two sums of eight bytes each
    for (; i + 16 <= bytes.size(); i += 16) {
        const __m128i same = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), wanted);
        sums = _mm_add_epi64(sums, _mm_sad_epu8(_mm_and_si128(same, one), _mm_setzero_si128()));
    }
    count =
        static_cast<size_t>(_mm_cvtsi128_si64(sums)) + static_cast<size_t>(_mm_cvtsi128_si64(_mm_srli_si128(sums, 8)));
#endif
    for (; i < bytes.size(); ++i) count += data[i] == separator;
    return count;
}

}  // namespace

FieldsFilled fieldsFilled(std::string_view line, char separator, std::uint64_t wanted) {
    FieldsFilled shape;
    const auto last = static_cast<size_t>(63 - std::countl_zero(wanted | 1));
    size_t index = 0;  // of the field that begins at `start`
    size_t start = 0;
    // The separator at `at` ends field `index`.
    const auto fieldEnds = [&](size_t at) {
        if (at > start && ((wanted >> index) & 1) != 0) shape.filled |= std::uint64_t{1} << index;
        ++index;
        start = at + 1;
    };
    forEachSeparatorBlock(line, separator, [&](size_t i, unsigned separators) {
        for (; separators != 0 && index <= last; separators &= separators - 1) {
            fieldEnds(i + static_cast<size_t>(std::countr_zero(separators)));
        }
        return index <= last;
    });
    // The line's last field, when the walk got to it.
    if (index <= last) fieldEnds(line.size());
    shape.count = countOf(line, separator) + 1;
    return shape;
}

bool isAsciiBytes(std::string_view bytes) {
    const char* data = bytes.data();
    size_t i = 0;
#if defined(__SSE2__)
    __m128i high = _mm_setzero_si128();
    for (; i + 16 <= bytes.size(); i += 16) {
        high = _mm_or_si128(high, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)));
    }
    if (_mm_movemask_epi8(high) != 0) return false;
#endif
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80) return false;
    }
    return true;
}

bool hasBlankControlOrQuote(std::string_view bytes) {
    const char* data = bytes.data();
    size_t i = 0;
#if defined(__SSE2__)
    // As signed numbers, 01..20 are the bytes above 0 and below 0x21.
    const __m128i zero = _mm_setzero_si128();
    const __m128i above = _mm_set1_epi8(0x21);
    const __m128i quote = _mm_set1_epi8('"');
    __m128i found = zero;
    for (; i + 16 <= bytes.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i control = _mm_and_si128(_mm_cmpgt_epi8(block, zero), _mm_cmpgt_epi8(above, block));
        found = _mm_or_si128(found, _mm_or_si128(control, _mm_cmpeq_epi8(block, quote)));
    }
    if (_mm_movemask_epi8(found) != 0) return true;
#endif
    for (; i < bytes.size(); ++i) {
        if ((data[i] >= 0x01 && data[i] <= 0x20) || data[i] == '"') return true;
    }
    return false;
}

size_t findFirstOf(std::string_view bytes, size_t from, char a, char b, char c) {
    const char* data = bytes.data();
    const size_t size = bytes.size();
    size_t i = from;
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    const __m128i wantC = _mm_set1_epi8(c);
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i found = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, wantA), _mm_cmpeq_epi8(block, wantB)),
                                           _mm_cmpeq_epi8(block, wantC));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(found));
        if (mask != 0) return i + static_cast<size_t>(std::countr_zero(mask));
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == a || data[i] == b || data[i] == c) return i;
    }
    return size;
}

size_t findLineBreak(std::u16string_view units) {
    size_t k = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16('\r');
    const __m128i lf = _mm_set1_epi16('\n');
    for (; k + 8 <= units.size(); k += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units.data() + k));
        const auto found = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(block, cr), _mm_cmpeq_epi16(block, lf))));
        if (found != 0) return k + static_cast<size_t>(std::countr_zero(found)) / 2;
    }
#endif
    while (k < units.size() && units[k] != u'\r' && units[k] != u'\n') ++k;
    return k;
}

}  // namespace vask
