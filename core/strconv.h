// StrConv: width, case and kana mapping of a text.
#pragma once

#include <string>
#include <string_view>

namespace vask {

// The tools use the width mapping only; the other mappings of the set (case, narrow, kana
// kind) have no caller and are left out.
enum class TConversion : unsigned { Wide };
using TConversions = unsigned;  // bit n set for the member of ordinal n
constexpr TConversions conversionSet(TConversion c) { return 1u << static_cast<unsigned>(c); }
// Maps `src`; the empty text when `src` is empty or the result is longer than 1024 units.
std::u16string StrConv(std::u16string_view src, TConversions conversion);
// The mapping of StrConv with {Wide}, without its length limit, appended to `out`: for
// comparisons in loops over large files, which reuse `out` instead of allocating.
void appendWide(std::u16string_view src, std::u16string& out);

// The full-width form of the half-width kana at text[i] (U+FF61..U+FF9F); `i` moves past
// the units it took: two for a kana and the voiced sound mark that joins it.
char16_t wideKanaAt(std::u16string_view text, size_t& i);
// The mapping of StrConv with {Wide} one character at a time: the full-width form of the
// character at text[i] (i < text.size()); `i` moves past the units it took.
inline char16_t nextWideUnit(std::u16string_view text, size_t& i) {
    const char16_t c = text[i];
    if (c >= 0x21 && c <= 0x7E) {
        ++i;
        return static_cast<char16_t>(c - 0x21 + 0xFF01);
    }
    if (c == 0x20) {
        ++i;
        return 0x3000;
    }
    if (c >= 0xFF61 && c <= 0xFF9F) return wideKanaAt(text, i);
    ++i;
    return c;
}

}  // namespace vask
