// Splitting a line of code page 932 bytes into fields at an ASCII separator (a comma or a
// tab, which are never part of a two-byte character), as views into the line. The claims
// tools split every record of a file this way, so the search for separators looks at 16
// bytes at a time where the processor can (SSE2, which every x86-64 processor has).
#pragma once

#include <bit>
#include <cstddef>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vask {

// Calls visit(index, field) for every field of `line` in order (n separators give n + 1
// fields; an empty line is one empty field); returns the number of fields.
template <class Visit>
size_t forEachField(std::string_view line, char separator, Visit&& visit) {
    const char* data = line.data();
    const size_t size = line.size();
    size_t index = 0;
    size_t start = 0;
    size_t i = 0;
#if defined(__SSE2__)
    // Each block of 16 bytes gives a mask of its separators, taken one bit at a time.
    const __m128i wanted = _mm_set1_epi8(separator);
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
        while (mask != 0) {
            const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
            visit(index++, std::string_view(data + start, at - start));
            start = at + 1;
            mask &= mask - 1;
        }
    }
#endif
    for (; i < size; ++i) {
        if (data[i] != separator) continue;
        visit(index++, std::string_view(data + start, i - start));
        start = i + 1;
    }
    visit(index++, std::string_view(data + start, size - start));
    return index;
}

// The fields themselves, replacing what `fields` held.
inline void splitBytes(std::string_view line, char separator, std::vector<std::string_view>& fields) {
    fields.clear();
    forEachField(line, separator, [&](size_t, std::string_view field) { fields.push_back(field); });
}

// The position of the first byte of `bytes` from `from` on that is `a`, `b` or `c`;
// bytes.size() when there is none.
size_t findFirstOf(std::string_view bytes, size_t from, char a, char b, char c);

}  // namespace vask
