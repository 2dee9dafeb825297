#include <gtest/gtest.h>

#include "core/byte_fields.h"
#include "core/strconv.h"
#include "core/text.h"
#include "core/text_formats.h"

namespace vask {
namespace {

std::vector<std::u16string> split(std::u16string_view line) {
    std::vector<std::u16string> fields;
    GetCommaTxt(line, fields);
    return fields;
}

TEST(GetCommaTxt, EveryCommaSeparatesAndQuotesVanish) {
    struct Case {
        std::u16string line;
        std::vector<std::u16string> fields;
    };
    const Case cases[] = {
        {u"", {u""}},
        {u",", {u"", u""}},
        {u"a,,b", {u"a", u"", u"b"}},
        {u"\"x,y\"", {u"x", u"y"}},
        {u"a\"\"b", {u"ab"}},
        {u" a , b ", {u" a ", u" b "}},
    };
    for (const auto& c : cases) EXPECT_EQ(split(c.line), c.fields);
}

TEST(GetCommaTxt, AppendsToTheListItIsGiven) {
    std::vector<std::u16string> fields{u"kept"};
    EXPECT_TRUE(GetCommaTxt(u"a,b", fields));
    EXPECT_EQ(fields, (std::vector<std::u16string>{u"kept", u"a", u"b"}));
}

TEST(SplitCommaFields, ReplacesTheFieldsItIsGiven) {
    std::vector<std::u16string> fields;
    splitCommaFields(u"a,\"b\",c,d", fields);
    EXPECT_EQ(fields, (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
    splitCommaFields(u"x,", fields);
    EXPECT_EQ(fields, (std::vector<std::u16string>{u"x", u""}));
    splitCommaFields(u"", fields);
    EXPECT_EQ(fields, std::vector<std::u16string>{u""});
}

TEST(CommaText, QuotesFieldsWithBlanksControlsQuotesAndCommas) {
    struct Case {
        std::vector<std::u16string> fields;
        std::u16string joined;
    };
    const Case cases[] = {
        {{}, u""},
        {{u""}, u"\"\""},
        {{u"a", u""}, u"a,"},
        {{u"", u""}, u","},
        {{u"a\"b"}, u"\"a\"\"b\""},
        {{u"a\tb"}, u"\"a\tb\""},
        {{u"\u3000\u3000"}, u"\u3000\u3000"},
        {{u"RE", u"1", u"ﾔﾏﾀﾞ ﾀﾛｳ", u""}, u"RE,1,\"ﾔﾏﾀﾞ ﾀﾛｳ\","},
        {{u"a,b", u"c"}, u"\"a,b\",c"},
        {{std::u16string(1, u'\x01')}, u"\"\x01\""},
        {{std::u16string(1, u'\0')}, std::u16string(1, u'\0')},
    };
    for (const auto& c : cases) EXPECT_EQ(CommaText(c.fields), c.joined);
}

TEST(Trim, RemovesUnitsUpToSpaceButNotTheFullWidthSpace) {
    EXPECT_EQ(trim(u" \t\r\n\x01 a b \x1F"), u"a b");
    EXPECT_EQ(trim(u"\u3000a\u3000"), u"\u3000a\u3000");
    EXPECT_EQ(trim(u"   "), u"");
    EXPECT_TRUE(isBlank(u" \t"));
}

TEST(TabSplit, EmptyLineHasNoFieldsAndEmptyFieldsCount) {
    std::vector<std::u16string_view> fields;
    splitTabs(u"", fields);
    EXPECT_TRUE(fields.empty());
    splitTabs(u"a\tb\t", fields);
    EXPECT_EQ(fields, (std::vector<std::u16string_view>{u"a", u"b", u""}));
    splitTabs(u"\t", fields);
    EXPECT_EQ(fields, (std::vector<std::u16string_view>{u"", u""}));
    splitTabs(u"\"a,b\" c", fields);
    EXPECT_EQ(fields.size(), 1u);
}

TEST(StrConv, WideMapsAsciiSpaceAndHalfWidthKana) {
    const TConversions wide = conversionSet(TConversion::Wide);
    EXPECT_EQ(StrConv(u"123", wide), u"１２３");
    EXPECT_EQ(StrConv(u"", wide), u"");
    EXPECT_EQ(StrConv(u"A z~!", wide), u"Ａ\u3000ｚ～！");
    EXPECT_EQ(StrConv(u"ｶﾞｷﾞﾊﾟｳﾞｱﾞ｡", wide), u"ガギパヴア゛。");
    EXPECT_EQ(StrConv(u"漢字ａ", wide), u"漢字ａ");
}

TEST(StrConv, TheLengthLimit) {
    const TConversions wide = conversionSet(TConversion::Wide);
    EXPECT_EQ(StrConv(std::u16string(1024, u'1'), wide), std::u16string(1024, u'１'));
    EXPECT_EQ(StrConv(std::u16string(1025, u'1'), wide), u"");
}

TEST(Case, IgnoringCaseCoversAsciiAndFullWidthLetters) {
    EXPECT_TRUE(sameTextIgnoringCase(u"abcXYZ", u"ABCxyz"));
    EXPECT_TRUE(sameTextIgnoringCase(u"ａｂ", u"ＡＢ"));
    EXPECT_FALSE(sameTextIgnoringCase(u"ab", u"abc"));
    EXPECT_FALSE(sameTextIgnoringCase(u"ｱ", u"ア"));
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutOverlap) {
    EXPECT_EQ(replaceAll(u"aaa", u"aa", u"b"), u"ba");
    EXPECT_EQ(replaceAll(u"a.txt.txt", u".txt", u"ano.txt"), u"aano.txtano.txt");
    EXPECT_EQ(replaceAll(u"abc", u"", u"x"), u"abc");
}

// The shape of a record as a full split gives it: every field counted, and which of the
// wanted ones hold a byte, whether the line ends inside, at or after the last one wanted.
TEST(FieldsFilled, CountsEveryFieldAndTellsTheWantedFilledOnes) {
    const std::string longRecord = "SI,11,1,112064366,,265,1,810000063,ABC,,,,,,,,,,,,,,,1,,,,,,,,,,,,,,,,,,,,,";
    const std::string lines[] = {"", ",", "a", "a,", ",a", "a,,b", "SI,11", longRecord, longRecord + "X"};
    const std::uint64_t wanted[] = {0, 1, 0b10, 0b1001, (std::uint64_t{1} << 8) | (1u << 12), std::uint64_t{1} << 63};
    std::vector<std::string_view> fields;
    for (const auto& line : lines) {
        splitBytes(line, ',', fields);
        for (const std::uint64_t want : wanted) {
            std::uint64_t filled = 0;
            for (size_t i = 0; i < fields.size() && i < 64; ++i) {
                if (!fields[i].empty()) filled |= std::uint64_t{1} << i;
            }
            const FieldsFilled shape = fieldsFilled(line, ',', want);
            EXPECT_EQ(shape.count, fields.size()) << line;
            EXPECT_EQ(shape.filled, filled & want) << line << " " << want;
        }
    }
}

}  // namespace
}  // namespace vask
