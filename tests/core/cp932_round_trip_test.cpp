// The round trip without decoding must give exactly what decoding and encoding give, for
// every byte and pair of bytes, in any company, with the count of "?" they write.
#include <gtest/gtest.h>

#include <string>

#include "core/cp932_round_trip.h"
#include "platform/cp932.h"

namespace vask {
namespace {

// What the codec itself makes of `bytes`, and the "?" it writes for want of a code.
std::pair<std::string, size_t> decodedAndEncoded(std::string_view bytes) {
    const std::u16string text = cp932::decode(bytes);
    const std::string written = cp932::encode(text);
    return {written, cp932::replacedCount(text, written)};
}

void expectSameAsCodec(std::string_view bytes) {
    std::string out = "kept";
    const size_t lost = appendCp932RoundTrip(bytes, out);
    const auto [written, replaced] = decodedAndEncoded(bytes);
    ASSERT_EQ(out, "kept" + written) << testing::PrintToString(std::string(bytes));
    ASSERT_EQ(lost, replaced) << testing::PrintToString(std::string(bytes));
}

TEST(Cp932RoundTrip, EveryByteAndPairAloneBetweenAsciiAndAfterSixteenBytes) {
    // Sixteen ASCII bytes before: the pair lies after the first block that is skipped whole.
    const std::string longAscii(16, 'a');
    for (unsigned first = 0; first < 256; ++first) {
        const std::string one(1, static_cast<char>(first));
        expectSameAsCodec(one);
        expectSameAsCodec("x" + one + "y");
        for (unsigned second = 0; second < 256; ++second) {
            const std::string pair = one + static_cast<char>(second);
            expectSameAsCodec(pair);
            expectSameAsCodec(longAscii + pair + "\t");
        }
    }
}

TEST(Cp932RoundTrip, DuplicateCodesAndBadBytesAmongOthers) {
    const std::string cases[] = {
        "",
        "plain ASCII of more than sixteen bytes, copied as it is",
        "\x82\xA0\x83\x41\xB1",                 // あアｱ: written as they are
        "\xED\x40 \x87\x90 \xFA\x54 \xEE\xF9",  // NEC and IBM codes of one character: one of them
        "a\xED\x40\xED\x40z\x82\xA0",
        "\x83\x41\x81",      // a lead byte at the end
        "\x81\x20\x82\xA0",  // a lead byte before a byte that makes no pair
        "\x80\xA0\xFD\xFE\xFF",
    };
    for (const auto& bytes : cases) expectSameAsCodec(bytes);
}

}  // namespace
}  // namespace vask
