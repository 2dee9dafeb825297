// StrConv: width, case and kana mapping of a text.
#pragma once

#include <string>
#include <string_view>

namespace vask {

enum class TConversion : unsigned { UpperCase, LowerCase, Wide, Narrow, Katakana, Hiragana };
using TConversions = unsigned;  // bit n set for the member of ordinal n
constexpr TConversions conversionSet(TConversion c) { return 1u << static_cast<unsigned>(c); }
// Maps `src`; the empty text when `src` is empty or the result is longer than 1024 units.
std::u16string StrConv(std::u16string_view src, TConversions conversion);
// The mapping of StrConv with {Wide}, without its length limit, appended to `out`: for
// comparisons in loops over large files, which reuse `out` instead of allocating.
void appendWide(std::u16string_view src, std::u16string& out);

}  // namespace vask
