#include <gtest/gtest.h>

#include "platform/utf.h"

namespace vask {
namespace {

TEST(Utf8, DecodesAndReplacesMalformedSequences) {
    EXPECT_EQ(utf8ToUtf16("a\xE3\x81\x82\xF0\x9F\x98\x80"), u"aあ\U0001F600");
    EXPECT_EQ(utf8ToUtf16("\xC3"), u"\uFFFD");  // cut short
    EXPECT_EQ(utf8ToUtf16("\xE3\x81"
                          "a"),
              u"\uFFFD"
              "a");                                                 // maximal subpart, then afresh
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
}

TEST(Utf8, EncodesLoneSurrogatesAsReplacement) {
    EXPECT_EQ(utf16ToUtf8(u"aあ\U0001F600"), "a\xE3\x81\x82\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

// File names need not be UTF-8: each byte of an ill-formed sequence becomes a lone
// surrogate and comes back as that byte; well-formed text is decoded as it always is.
TEST(Utf8, EscapedNameBytesComeBackAsTheyWere) {
    const std::string shiftJis("\x83\x65\x83\x58.txt\xE3\x81", 10);  // テス, then a cut sequence
    const std::u16string escaped{0xDC83, u'e', 0xDC83, u'X', u'.', u't', u'x', u't', 0xDCE3, 0xDC81};
    EXPECT_EQ(utf8ToUtf16Escaped(shiftJis), escaped);
    EXPECT_EQ(utf16ToUtf8Escaped(escaped), shiftJis);
    EXPECT_EQ(utf8ToUtf16Escaped("a\xE3\x81\x82\xF0\x9F\x98\x80"), u"aあ\U0001F600");
    EXPECT_EQ(utf16ToUtf8Escaped(u"aあ\U0001F600"), "a\xE3\x81\x82\xF0\x9F\x98\x80");
    // Only U+DC80..U+DCFF stand for bytes; any other lone surrogate is U+FFFD.
    EXPECT_EQ(utf16ToUtf8Escaped(std::u16string{0xDC41, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(utf16ToUtf8(escaped),
              "\xEF\xBF\xBD"
              "e"
              "\xEF\xBF\xBD"
              "X.txt\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf16, BothByteOrdersAndAnOddLastByte) {
    EXPECT_EQ(utf16leToUtf16(std::string("a\0\x42\x30", 4)), u"a\u3042");
    EXPECT_EQ(utf16beToUtf16(std::string("\0a\x30\x42", 4)), u"a\u3042");
    EXPECT_EQ(utf16leToUtf16(std::string("a\0b", 3)), u"a\uFFFD");
    EXPECT_EQ(utf16ToUtf16le(u"a\u3042"), std::string("a\0\x42\x30", 4));
}

}  // namespace
}  // namespace vask
