#include "core/strconv.h"

namespace vask {
namespace {

constexpr size_t kResultLimit = 1024;

// Full-width forms of the half-width katakana and punctuation U+FF61..U+FF9F.
constexpr char16_t kWideKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
constexpr char16_t kHalfFirst = 0xFF61;
constexpr char16_t kHalfVoiced = 0xFF9E;
constexpr char16_t kHalfSemiVoiced = 0xFF9F;

bool takesVoicedMark(char16_t half) {
    return half == 0xFF73 || (half >= 0xFF76 && half <= 0xFF84) || (half >= 0xFF8A && half <= 0xFF8E);
}
bool takesSemiVoicedMark(char16_t half) { return half >= 0xFF8A && half <= 0xFF8E; }

void appendWideUnits(std::u16string_view src, std::u16string& out) {
    for (size_t i = 0; i < src.size();) out.push_back(nextWideUnit(src, i));
}

std::u16string toWide(std::u16string_view src) {
    std::u16string out;
    out.reserve(src.size());
    appendWideUnits(src, out);
    return out;
}

bool has(TConversions set, TConversion member) { return (set & conversionSet(member)) != 0; }

}  // namespace

void appendWide(std::u16string_view src, std::u16string& out) { appendWideUnits(src, out); }

char16_t wideKanaAt(std::u16string_view text, size_t& i) {
    const char16_t c = text[i++];
    char16_t wide = kWideKana[c - kHalfFirst];
    const char16_t next = i < text.size() ? text[i] : 0;
    if (next == kHalfVoiced && takesVoicedMark(c)) {
        wide = c == 0xFF73 ? char16_t{0x30F4} : static_cast<char16_t>(wide + 1);
        ++i;
    } else if (next == kHalfSemiVoiced && takesSemiVoicedMark(c)) {
        wide = static_cast<char16_t>(wide + 2);
        ++i;
    }
    return wide;
}

std::u16string StrConv(std::u16string_view src, TConversions conversion) {
    if (src.empty()) return {};
    std::u16string out = has(conversion, TConversion::Wide) ? toWide(src) : std::u16string(src);
    if (out.size() > kResultLimit) return {};
    return out;
}

}  // namespace vask
