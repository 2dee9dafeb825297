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

// What decoding and then encoding makes of valid code page 932 bytes (every byte part of a
// character, as the Shift-JIS check accepts them): the same bytes, but for the characters
// the code page has two codes for (the NEC-selected IBM extensions and some NEC row-13
// codes), which come back in the form the encoder gives them. `roundTripsUnchanged` tells
// whether the bytes come back as they are; `appendRoundTrip` appends what comes back,
// exactly encode(decode(validBytes)).
bool roundTripsUnchanged(std::string_view validBytes);
void appendRoundTrip(std::string_view validBytes, std::string& out);

// How many characters of `text` its encoding `encoded` holds as "?" because the code page
// has no code for them (a "?" of the text itself is none). A "?" byte is never part of a
// two-byte code, so the count is exact.
size_t replacedCount(std::u16string_view text, std::string_view encoded);

// Tells, byte by byte, whether bytes read as code page 932 are all characters. The codec
// itself never fails; readers that refuse other text ask this.
class CharacterCheck {
public:
    // Takes the next byte; false when it is no character on its own, or when it makes no
    // character with the lead byte before it (the fault then lies at that lead byte). A
    // faulty pair is taken as the decoder takes it: this byte is looked at afresh.
    bool step(unsigned char byte);
    // Takes the next bytes; false at the first fault.
    bool feed(std::string_view bytes);
    // A lead byte waits for its pair: at the end of the input it is a fault.
    bool pending() const { return lead_ >= 0; }

private:
    int lead_ = -1;
};

}  // namespace vask::cp932
