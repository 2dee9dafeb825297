// Code page 932 (Shift-JIS as Windows has it) to and from UTF-16.
//
// Conversion never fails. Decoding: a byte, or a lead byte whose pair is no character,
// becomes U+FFFD (one per byte), and the byte after such a lead byte is read afresh.
// Encoding: a code point without a code becomes one '?' (a surrogate pair is one code
// point, a lone surrogate is one code point too).
#pragma once

#include <string>
#include <string_view>

namespace vask::cp932 {

inline constexpr char16_t kReplacement = u'\uFFFD';

void decodeAppend(std::string_view bytes, std::u16string& out);
std::u16string decode(std::string_view bytes);

void encodeAppend(std::u16string_view text, std::string& out);
std::string encode(std::u16string_view text);

}  // namespace vask::cp932
