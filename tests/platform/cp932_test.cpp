// The code page 932 codec's fixed behaviour: known mappings, bytes and code points without
// a mapping, long text. Its tables are compared with iconv in cp932_iconv_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "platform/cp932.h"

namespace vask {
namespace {

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

TEST(Cp932, LongMixedTextRoundTrips) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i) text += u"ＡＢＣ abc 山田太郎 ｶﾀｶﾅ ①髙\r\n";
    EXPECT_EQ(cp932::decode(cp932::encode(text)), text);
}

}  // namespace
}  // namespace vask
