#include <gtest/gtest.h>

#include "platform/utf.h"

namespace vask {
namespace {

TEST(Utf8, DecodesAndReplacesMalformedSequences) {
    EXPECT_EQ(utf8ToUtf16("a\xE3\x81\x82\xF0\x9F\x98\x80"), u"aあ\U0001F600");
    EXPECT_EQ(utf8ToUtf16("\xC3"), u"\uFFFD");              // cut short
    EXPECT_EQ(utf8ToUtf16("\xE3\x81" "a"), u"\uFFFD" "a");  // maximal subpart, then afresh
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");    // overlong
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
}

TEST(Utf8, EncodesLoneSurrogatesAsReplacement) {
    EXPECT_EQ(utf16ToUtf8(u"aあ\U0001F600"), "a\xE3\x81\x82\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Utf16, BothByteOrdersAndAnOddLastByte) {
    EXPECT_EQ(utf16leToUtf16(std::string("a\0\x42\x30", 4)), u"a\u3042");
    EXPECT_EQ(utf16beToUtf16(std::string("\0a\x30\x42", 4)), u"a\u3042");
    EXPECT_EQ(utf16leToUtf16(std::string("a\0b", 3)), u"a\uFFFD");
    EXPECT_EQ(utf16ToUtf16le(u"a\u3042"), std::string("a\0\x42\x30", 4));
}

}  // namespace
}  // namespace vask
