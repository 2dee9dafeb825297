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

// Tells, piece by piece, whether bytes are well-formed UTF-8 and whether a sequence of
// three or four bytes (most of all Japanese text) has begun among them.
class Utf8Check {
public:
    // Takes the next byte; false once the bytes are ill-formed (and from then on).
    bool step(unsigned char byte);
    // Takes the next bytes; false once the bytes are ill-formed.
    bool feed(std::string_view bytes);
    // Well-formed so far and no sequence left open: at the end, the whole input is UTF-8.
    bool complete() const { return wellFormed_ && need_ == 0; }
    bool wellFormed() const { return wellFormed_; }
    bool sawLongSequence() const { return sawLong_; }

private:
    bool wellFormed_ = true;
    bool sawLong_ = false;
    int need_ = 0;                         // continuation bytes still to come
    unsigned char lo_ = 0x80, hi_ = 0xBF;  // range of the next continuation byte
};

}  // namespace vask
