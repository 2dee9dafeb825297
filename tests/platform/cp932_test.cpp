// The code page 932 codec's fixed behaviour: known mappings, bytes and code points without
// a mapping, long text. Its tables are compared with iconv in cp932_iconv_test.cpp.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/cp932.h"

namespace vask {
namespace {

// Bytes with many lead bytes, second bytes of every kind, bytes that are no character and
// NUL among ASCII, so that long text meets every case at every place of a block.
std::string mixedBytes(std::mt19937& random, size_t length) {
    static const std::string kinds[] = {"\x88\x9F\x82\xA0", "ab", std::string(1, '\0'), "\x81\x40\xB1", "\xED\x40"};
    std::string bytes;
    while (bytes.size() < length) {
        switch (random() % 6) {
            case 0:
                bytes += static_cast<char>(random() % 256);
                break;
            case 1:
                bytes += static_cast<char>(0x81 + random() % 0x7C);  // a lead byte, or a character of one byte
                break;
            case 2:
                bytes += static_cast<char>(0x40 + random() % 0xC0);  // what may follow a lead byte
                break;
            default:
                bytes += kinds[random() % std::size(kinds)];
        }
    }
    bytes.resize(length);
    return bytes;
}

// Decoding taken one character at a time: a lead byte with its pair is two bytes when the
// two alone decode to one unit.
std::u16string decodedCharacterByCharacter(const std::string& bytes) {
    std::u16string text;
    for (size_t i = 0; i < bytes.size();) {
        const std::u16string pair = i + 1 < bytes.size() ? cp932::decode(bytes.substr(i, 2)) : u"";
        const bool two = pair.size() == 1;
        text += two ? pair : cp932::decode(bytes.substr(i, 1));
        i += two ? 2 : 1;
    }
    return text;
}

TEST(Cp932, KnownMappings) {
    EXPECT_EQ(cp932::encode(u"\u9AD9"), "\xFB\xFC");  // 髙
    EXPECT_EQ(cp932::encode(u"\u2460"), "\x87\x40");  // ①
    EXPECT_EQ(cp932::encode(u"\u301C"), "\x81\x60");
    EXPECT_EQ(cp932::encode(u"\uE000\uE757"), "\xF0\x40\xF9\xFC");  // user-defined area
    EXPECT_EQ(cp932::decode("\xF0\x40\xF9\xFC"), u"\uE000\uE757");
    EXPECT_EQ(cp932::decode("\x82\xA0\x83\x41\xB1"), u"あアｱ");
}

TEST(Cp932, InvalidBytesBecomeOneReplacementEach) {
    EXPECT_EQ(cp932::decode("\x81"), u"\uFFFD");  // lead byte at the end
    EXPECT_EQ(cp932::decode("\x81\x20"
                            "a"),
              u"\uFFFD a");                                     // the byte after is read afresh
    EXPECT_EQ(cp932::decode("\x85\x81\x40"), u"\uFFFD\u3000");  // ... and may start a pair itself
    EXPECT_EQ(cp932::decode("\xFF\xFE"), u"\uFFFD\uFFFD");
}

TEST(Cp932, EachUnmappableCodePointBecomesOneQuestionMark) {
    EXPECT_EQ(cp932::encode(u"a\U0001F600b"), "a?b");  // a surrogate pair is one code point
    EXPECT_EQ(cp932::encode(u"a\xD800"
                            u"b"),
              "a?b");  // a lone surrogate too
    EXPECT_EQ(cp932::encode(std::u16string(1, u'\xDC00')), "?");
    EXPECT_EQ(cp932::encode(u"\u00E9"), "?");
    EXPECT_EQ(cp932::encode(std::u16string(1, u'\0')), std::string(1, '\0'));
}

// Long input goes 16 and 64 bytes at a time: it must decode as the bytes one character at
// a time do, wherever a pair, a faulty pair or a byte that is no character falls.
TEST(Cp932, LongInputDecodesAsCharacterByCharacter) {
    std::mt19937 random(932);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = mixedBytes(random, random() % 300);
        ASSERT_EQ(cp932::decode(bytes), decodedCharacterByCharacter(bytes)) << testing::PrintToString(bytes);
    }
    // Every pair of every lead byte in one text, after 0 to 16 ASCII bytes, and past the
    // stretch of 16 KiB that the decoder takes again when a byte in it is no character.
    std::string pairs;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) pairs += {static_cast<char>(lead), static_cast<char>(trail)};
    }
    for (size_t shift = 0; shift <= 16; ++shift) {
        const std::string bytes = std::string(shift, 'a') + pairs;
        ASSERT_EQ(cp932::decode(bytes), decodedCharacterByCharacter(bytes)) << "after " << shift;
    }
}

// Long text goes 16 units at a time: it must encode as its code points one by one do,
// with surrogate pairs and lone surrogates anywhere.
TEST(Cp932, LongTextEncodesAsCodePointByCodePoint) {
    const char16_t units[] = {u'a', u'山', u'ｱ', u'\u00E9', 0xD83D, 0xDE00, u'\u2460', u'\uFFFD', u'\0', u'~'};
    std::mt19937 random(932);
    for (int round = 0; round < 3000; ++round) {
        std::u16string text;
        for (size_t n = random() % 200; text.size() < n;) text += units[random() % std::size(units)];
        std::string expected;
        for (size_t i = 0; i < text.size(); ++i) {
            const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                              text[i + 1] <= 0xDFFF;
            expected += cp932::encode(text.substr(i, pair ? 2 : 1));
            i += pair ? 1 : 0;
        }
        ASSERT_EQ(cp932::encode(text), expected) << testing::PrintToString(cp932::encode(text));
    }
}

// A character with two codes comes back from decoding and encoding as the one encoding
// gives: the NEC-selected IBM extensions as the IBM extensions, some of these and of NEC
// row 13 as the JIS or NEC row 13 code.
TEST(Cp932RoundTrip, KnownCodesThatComeBackAsAnother) {
    const struct {
        std::string code, back;
    } cases[] = {
        {"\xED\x40", "\xFA\x5C"},  // 纊
        {"\xEE\xEF", "\xFA\x40"},  // ⅰ
        {"\xFA\x4A", "\x87\x54"},  // Ⅰ
        {"\xFA\x54", "\x81\xCA"},  // ¬
        {"\x87\x90", "\x81\xE0"},  // ≒
        {"\x87\x93", "\x87\x93"},  // ∮, only in NEC row 13
        {"\xFA\x5C", "\xFA\x5C"},
    };
    for (const auto& c : cases) {
        std::string back = "x";
        cp932::appendRoundTrip("a" + c.code + "b", back);
        EXPECT_EQ(back, "xa" + c.back + "b") << testing::PrintToString(c.code);
        EXPECT_EQ(cp932::roundTripsUnchanged(c.code), c.code == c.back);
    }
}

// Both are encode(decode()): for every byte and every two bytes, alone and inside text
// long enough to be taken 64 bytes at a time, and for mixed text with faults too.
TEST(Cp932RoundTrip, IsEncodeOfDecodeForEveryCode) {
    const auto expectRoundTrip = [](const std::string& bytes) {
        const std::string expected = cp932::encode(cp932::decode(bytes));
        std::string back = "x";
        cp932::appendRoundTrip(bytes, back);
        EXPECT_EQ(back, "x" + expected) << testing::PrintToString(bytes);
        EXPECT_EQ(cp932::roundTripsUnchanged(bytes), expected == bytes) << testing::PrintToString(bytes);
        return !testing::Test::HasFailure();
    };
    const std::string before(70, 'a');
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            std::string code(1, static_cast<char>(first));
            if (second >= 0) code += static_cast<char>(second);
            ASSERT_TRUE(expectRoundTrip(code));
            ASSERT_TRUE(expectRoundTrip(before + code + "\x82\xA0" + before));
        }
    }
    std::mt19937 random(932);
    for (int round = 0; round < 3000; ++round) ASSERT_TRUE(expectRoundTrip(mixedBytes(random, random() % 300)));
}

// The check taken in pieces of any size, 64 bytes at a time where it can, agrees with
// taking one byte after the other, with NUL a character or a fault; on text (the odd
// rounds: characters alone, a code with a twin among them now and then) it passes, and
// says that all characters come back exactly when the round trip gives the bytes back.
TEST(Cp932CharacterCheck, PiecesAgreeWithByteByByte) {
    std::mt19937 random(932);
    const auto text = [&](size_t length) {
        static const std::string characters[] = {"\x88\x9F", "ab,", "\x81\x40", "\xB1", "\x87\x90", "\xED\x40"};
        std::string bytes;
        while (bytes.size() < length) bytes += characters[random() % (random() % 8 == 0 ? 6 : 4)];
        return bytes;
    };
    for (int round = 0; round < 6000; ++round) {
        const bool nulIsFault = round % 2 == 1;
        const bool isText = round % 4 == 1;
        const std::string bytes = isText ? text(random() % 300) : mixedBytes(random, random() % 300);
        cp932::CharacterCheck pieces(nulIsFault);
        cp932::CharacterCheck bytewise(nulIsFault);
        bool piecesOk = true;
        for (size_t at = 0; at < bytes.size() && piecesOk;) {
            const size_t size = 1 + random() % 150;
            piecesOk = pieces.feed(std::string_view(bytes).substr(at, size));
            at += size;
        }
        bool bytewiseOk = true;
        for (size_t at = 0; at < bytes.size() && bytewiseOk; ++at) bytewiseOk = bytewise.step(bytes[at]);
        ASSERT_EQ(piecesOk, bytewiseOk) << testing::PrintToString(bytes);
        ASSERT_EQ(pieces.pending(), bytewise.pending()) << testing::PrintToString(bytes);
        ASSERT_EQ(pieces.allComeBack(), bytewise.allComeBack()) << testing::PrintToString(bytes);
        if (!isText) continue;
        ASSERT_TRUE(piecesOk && !pieces.pending()) << testing::PrintToString(bytes);
        ASSERT_EQ(pieces.allComeBack(), cp932::roundTripsUnchanged(bytes)) << testing::PrintToString(bytes);
    }
}

TEST(Cp932, LongMixedTextRoundTrips) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i) text += u"ＡＢＣ abc 山田太郎 ｶﾀｶﾅ ①髙\r\n";
    EXPECT_EQ(cp932::decode(cp932::encode(text)), text);
}

}  // namespace
}  // namespace vask
