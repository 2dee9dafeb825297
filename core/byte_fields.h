// Splitting a line of code page 932 bytes into fields at an ASCII separator (a comma or a
// tab, which are never part of a two-byte character), as views into the line. The claims
// tools split every record of a file this way, so the search for separators looks at 16
// bytes at a time where the processor can (SSE2, which every x86-64 processor has).
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vask {

namespace detail {
// The separators among the `count` (1 to 16) bytes from `bytes` on, as a mask (bit k:
// bytes[k]). A shorter block, the last of a line, is copied into one of its own: a load
// past the line could cross into memory that is not there.
inline unsigned separatorsIn(const char* bytes, size_t count, char separator) {
#if defined(__SSE2__)
    __m128i block;
    if (count == 16) {
        block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    } else {
        char tail[16];
        std::memset(tail, separator + 1, sizeof tail);
        std::memcpy(tail, bytes, count);
        block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(tail));
    }
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(separator))));
#else
    unsigned mask = 0;
    for (size_t k = 0; k < count; ++k) mask |= static_cast<unsigned>(bytes[k] == separator) << k;
    return mask;
#endif
}
}  // namespace detail

// Calls take(i, separators) for the blocks of 16 bytes of `line` from i = 0 on (the last
// may be shorter), with the mask of the block's separators (bit k: byte i + k), while take
// returns true. Every split of a record into fields walks the line this way.
template <class Take>
void forEachSeparatorBlock(std::string_view line, char separator, Take&& take) {
    for (size_t i = 0; i < line.size(); i += 16) {
        const size_t count = std::min<size_t>(16, line.size() - i);
        if (!take(i, detail::separatorsIn(line.data() + i, count, separator))) return;
    }
}

// Calls visit(index, field) for every field of `line` in order (n separators give n + 1
// fields; an empty line is one empty field); returns the number of fields.
template <class Visit>
size_t forEachField(std::string_view line, char separator, Visit&& visit) {
    const char* data = line.data();
    size_t index = 0;
    size_t start = 0;
    forEachSeparatorBlock(line, separator, [&](size_t i, unsigned mask) {
        for (; mask != 0; mask &= mask - 1) {
            const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
            visit(index++, std::string_view(data + start, at - start));
            start = at + 1;
        }
        return true;
    });
    visit(index++, std::string_view(data + start, line.size() - start));
    return index;
}

namespace detail {
// The set bits of a 16-bit mask, counted by table: x86-64 without the POPCNT extension has
// no instruction for it, and std::popcount then calls the compiler's library.
inline unsigned bitsIn16(unsigned mask) {
    static constexpr auto kBits = [] {
        std::array<unsigned char, 256> bits{};
        for (unsigned i = 0; i < 256; ++i) bits[i] = static_cast<unsigned char>(std::popcount(i));
        return bits;
    }();
    return kBits[mask & 0xFF] + kBits[(mask >> 8) & 0xFF];
}
}  // namespace detail

// Calls visit(index, field) for every field of `line` that is not empty, in order; returns
// the number of fields, all empty ones counted, and sets in `filled` bit i for each filled
// field i below 64. For records of many empty fields: a block of 16 bytes costs a few
// instructions, and only a filled field a call.
template <class Visit>
size_t forEachFilledField(std::string_view line, char separator, std::uint64_t& filled, Visit&& visit) {
    const char* data = line.data();
    const size_t size = line.size();
    size_t index = 0;  // of the field that begins at `start`
    size_t start = 0;
    filled = 0;
    const auto field = [&](size_t fieldIndex, size_t from, size_t to) {
        if (fieldIndex < 64) filled |= std::uint64_t{1} << fieldIndex;
        visit(fieldIndex, std::string_view(data + from, to - from));
    };
    forEachSeparatorBlock(line, separator, [&](size_t i, unsigned separators) {
        if (separators == 0) return true;
        // A separator ends a filled field unless the byte before it ends a field too (a
        // separator, or the start of the line).
        const unsigned fieldStarts = (separators << 1) | (start == i ? 1u : 0u);
        for (unsigned ends = separators & ~fieldStarts & 0xFFFF; ends != 0; ends &= ends - 1) {
            const auto bit = static_cast<unsigned>(std::countr_zero(ends));
            const unsigned before = separators & ((1u << bit) - 1);
            const size_t from = before != 0 ? i + static_cast<size_t>(std::bit_width(before)) : start;
            field(index + detail::bitsIn16(before), from, i + bit);
        }
        index += detail::bitsIn16(separators);
        start = i + static_cast<size_t>(std::bit_width(separators));
        return true;
    });
    if (size > start) field(index, start, size);
    return index + 1;
}

// How many fields `line` has, split at `separator`, and which of the fields in `wanted`
// (bit i: field i, below 64) are not empty. The fields are walked only up to the last one
// wanted; the separators after it are just counted, 16 bytes at a time.
struct FieldsFilled {
    size_t count = 0;
    std::uint64_t filled = 0;
};
FieldsFilled fieldsFilled(std::string_view line, char separator, std::uint64_t wanted);

// The fields themselves, replacing what `fields` held.
inline void splitBytes(std::string_view line, char separator, std::vector<std::string_view>& fields) {
    fields.clear();
    forEachField(line, separator, [&](size_t, std::string_view field) { fields.push_back(field); });
}

// Whether every byte of `bytes` is below 0x80 (ASCII): such bytes are the same characters
// in code page 932, UTF-8 and UTF-16, and need no decoding.
bool isAsciiBytes(std::string_view bytes);

// Whether `bytes` hold a blank or control byte (01..20) or a double quote: with a comma,
// the bytes for which the comma-text join encloses a field in quotes.
bool hasBlankControlOrQuote(std::string_view bytes);

// The position of the first byte of `bytes` from `from` on that is `a`, `b` or `c`;
// bytes.size() when there is none.
size_t findFirstOf(std::string_view bytes, size_t from, char a, char b, char c);
// The position of the first CR or LF unit of UTF-16 `units`; units.size() when there is none.
size_t findLineBreak(std::u16string_view units);

}  // namespace vask
