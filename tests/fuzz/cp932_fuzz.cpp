// The code page 932 codec on arbitrary bytes, and on arbitrary UTF-16 units.
//
// Decoding then encoding then decoding is stable, with one exception that the codec's
// rules make: a byte that is no character decodes to U+FFFD, which code page 932 cannot
// hold, so it encodes to '?' and the second decode has '?' where the first had U+FFFD.
// Everything else decodes to a unit that encodes to a code decoding to that same unit (a
// character with two codes comes back with the one the encoder chooses). So:
//   decode(encode(decode(b))) == decode(b) with every U+FFFD read as '?'
//   encode(decode(encode(t))) == encode(t)          for any UTF-16 text t
// and appending to a non-empty buffer gives the buffer followed by the plain result. The
// round trip of text is that of the codec: appendRoundTrip(b) appends encode(decode(b)),
// and roundTripsUnchanged(b) tells whether that is b. The character check takes the bytes
// all at once as it takes them one after the other, with NUL a character or a fault.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "platform/cp932.h"

using namespace vask;

namespace {

void checkBytes(std::string_view bytes) {
    const std::u16string first = cp932::decode(bytes);
    fuzz::require(first.size() <= bytes.size(), "a decode has no more units than bytes");
    const std::string encoded = cp932::encode(first);
    const std::u16string second = cp932::decode(encoded);
    std::u16string expected = first;
    for (char16_t& c : expected) {
        if (c == cp932::kReplacement) c = u'?';
    }
    fuzz::require(second == expected, "decode, encode, decode gives the first decode (U+FFFD read as '?')");
    fuzz::require(cp932::encode(second) == encoded, "the encoding of a decoded text is stable");

    std::u16string appended = u"\u3042x";
    cp932::decodeAppend(bytes, appended);
    fuzz::require(appended == u"\u3042x" + first, "decodeAppend appends what decode gives");
    std::string appendedBytes = "\x82\xa0";
    cp932::encodeAppend(first, appendedBytes);
    fuzz::require(appendedBytes == "\x82\xa0" + encoded, "encodeAppend appends what encode gives");

    std::string roundTrip = "\x82\xa0";
    cp932::appendRoundTrip(bytes, roundTrip);
    fuzz::require(roundTrip == "\x82\xa0" + encoded, "appendRoundTrip appends encode(decode())");
    fuzz::require(cp932::roundTripsUnchanged(bytes) == (encoded == bytes), "roundTripsUnchanged tells the same");
    for (const bool nulIsFault : {false, true}) {
        cp932::CharacterCheck whole(nulIsFault);
        cp932::CharacterCheck stepwise(nulIsFault);
        bool stepped = true;
        for (size_t i = 0; i < bytes.size() && stepped; ++i)
            stepped = stepwise.step(static_cast<unsigned char>(bytes[i]));
        fuzz::require(whole.feed(bytes) == stepped && whole.pending() == stepwise.pending(),
                      "the character check takes the bytes at once as one by one");
    }
}

void checkUnits(std::u16string_view text) {
    const std::string encoded = cp932::encode(text);
    fuzz::require(encoded.size() <= 2 * text.size(), "an encoding has at most two bytes per unit");
    fuzz::require(cp932::encode(cp932::decode(encoded)) == encoded, "encode, decode, encode is stable");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    checkBytes(bytes);
    checkUnits(fuzz::unitsOf(bytes));
    return 0;
}
