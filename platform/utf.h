// Unicode transformations. Malformed input never fails: it becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace vask {

std::u16string utf8ToUtf16(std::string_view bytes);
std::string utf16ToUtf8(std::u16string_view text);

// The same for the bytes of file names, which need not be UTF-8 (a name made under another
// code page): each byte of an ill-formed sequence becomes the lone surrogate U+DC00 + byte
// (U+DC80..U+DCFF), and such a surrogate becomes its byte again, so that every name comes
// back as it was.
std::u16string utf8ToUtf16Escaped(std::string_view bytes);
std::string utf16ToUtf8Escaped(std::u16string_view text);

// UTF-16 byte streams (without their byte-order mark). An odd last byte becomes U+FFFD.
std::u16string utf16leToUtf16(std::string_view bytes);
std::u16string utf16beToUtf16(std::string_view bytes);
std::string utf16ToUtf16le(std::u16string_view text);

}  // namespace vask
