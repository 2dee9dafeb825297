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

// How many characters of `text` its encoding `encoded` holds as "?" because the code page
// has no code for them (a "?" of the text itself is none). A "?" byte is never part of a
// two-byte code, so the count is exact.
size_t replacedCount(std::u16string_view text, std::string_view encoded);

// The round trip of text through decode and encode. Code page 932 has characters with two
// codes, and encoding gives one of them: the NEC-selected IBM extensions (rows ED and EE)
// come back as the IBM extensions (FA40..FC4B), and some symbols of NEC row 13 and of the
// IBM extensions as their JIS or NEC row 13 codes; every other code comes back as it was.
// Both functions require bytes that are text, valid as the Shift-JIS text check takes
// them (every byte a character of the code page, every lead byte with its pair). They
// skip ASCII 16 bytes at a time and look at a table only where another byte stands.
// (Other bytes do no harm: each byte that is no character, a lead byte without its pair
// included, comes out as '?', as encode(decode()) has it.)
//   Whether encode(decode(validBytes)) == validBytes.
bool roundTripsUnchanged(std::string_view validBytes);
//   Appends encode(decode(validBytes)) to `out`, copying the runs that come back unchanged.
void appendRoundTrip(std::string_view validBytes, std::string& out);

// Tells, byte by byte, whether bytes read as code page 932 are all characters. The codec
// itself never fails; readers that refuse other text ask this.
class CharacterCheck {
public:
    CharacterCheck() = default;
    // With `nulIsFault`, the byte 00 counts as a fault too: a character of the code page,
    // but never part of text.
    explicit CharacterCheck(bool nulIsFault) : nulIsFault_(nulIsFault) {}
    // Takes the next byte; false when it is no character on its own, or when it makes no
    // character with the lead byte before it (the fault then lies at that lead byte). A
    // faulty pair is taken as the decoder takes it: this byte is looked at afresh.
    bool step(unsigned char byte);
    // Takes the next bytes; false at the first fault. ASCII outside a pair is skipped 16
    // bytes at a time.
    bool feed(std::string_view bytes);
    // A lead byte waits for its pair: at the end of the input it is a fault.
    bool pending() const { return lead_ >= 0; }
    // Whether every character taken so far comes back from the round trip unchanged (see
    // roundTripsUnchanged): then so do the bytes made of them and of encoded text, which
    // a writer may take as they are.
    bool allComeBack() const { return allComeBack_; }

private:
    void takePair(unsigned info);

    int lead_ = -1;
    bool nulIsFault_ = false;
    bool allComeBack_ = true;
};

}  // namespace vask::cp932
