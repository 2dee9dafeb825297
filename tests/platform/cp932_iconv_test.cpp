// The code page 932 codec against the C library's live iconv "CP932", whose tables it is
// generated from: every byte, every lead-trail pair, every BMP code point.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/cp932.h"

namespace vask {
namespace {

class IconvDecoder {
public:
    IconvDecoder() : cd_(iconv_open("UTF-16LE", "CP932")) {}
    ~IconvDecoder() { iconv_close(cd_); }
    // The one UTF-16 unit of `bytes`, or -1 when iconv finds no character in all of them.
    int decodeWhole(const std::string& bytes) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string in = bytes;
        char out[8];
        char* inp = in.data();
        size_t inLeft = in.size();
        char* outp = out;
        size_t outLeft = sizeof out;
        const size_t rc = iconv(cd_, &inp, &inLeft, &outp, &outLeft);
        if (rc == static_cast<size_t>(-1) || inLeft != 0 || sizeof out - outLeft != 2) return -1;
        return static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8;
    }

private:
    iconv_t cd_;
};

class IconvEncoder {
public:
    IconvEncoder() : cd_(iconv_open("CP932", "UTF-16LE")) {}
    ~IconvEncoder() { iconv_close(cd_); }
    // The bytes of one code point, or nothing when iconv has no code for it.
    std::string encode(char16_t unit) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char out[8];
        char* inp = in;
        size_t inLeft = 2;
        char* outp = out;
        size_t outLeft = sizeof out;
        if (iconv(cd_, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return {};
        return std::string(out, sizeof out - outLeft);
    }

private:
    iconv_t cd_;
};

TEST(Cp932AgainstIconv, EverySingleByte) {
    IconvDecoder iconv;
    for (int b = 0; b < 256; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        const int expected = iconv.decodeWhole(bytes);
        const std::u16string got = cp932::decode(bytes);
        ASSERT_EQ(got.size(), 1u) << b;
        EXPECT_EQ(static_cast<int>(got[0]), expected < 0 ? 0xFFFD : expected) << "byte " << b;
    }
}

TEST(Cp932AgainstIconv, EveryLeadTrailPair) {
    IconvDecoder iconv;
    int pairs = 0;
    for (int lead = 0x80; lead < 256; ++lead) {
        if (iconv.decodeWhole(std::string(1, static_cast<char>(lead))) >= 0) continue;  // a character of its own
        for (int trail = 0; trail < 256; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const int expected = iconv.decodeWhole(bytes);
            const std::u16string got = cp932::decode(bytes);
            if (expected >= 0) {
                ++pairs;
                ASSERT_EQ(got, std::u16string(1, static_cast<char16_t>(expected))) << lead << " " << trail;
            } else {
                // No character: U+FFFD for the first byte, the second read afresh.
                const std::u16string second = cp932::decode(std::string(1, static_cast<char>(trail)));
                ASSERT_EQ(got, u"\uFFFD" + second) << lead << " " << trail;
            }
        }
    }
    EXPECT_GT(pairs, 7000);
}

TEST(Cp932AgainstIconv, EveryBmpCodePoint) {
    IconvEncoder iconv;
    for (int cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const char16_t unit = static_cast<char16_t>(cp);
        const std::string expected = iconv.encode(unit);
        ASSERT_EQ(cp932::encode(std::u16string(1, unit)), expected.empty() ? "?" : expected) << "U+" << std::hex << cp;
    }
}

}  // namespace
}  // namespace vask
