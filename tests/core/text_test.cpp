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

// The fields of a line as a byte-by-byte split gives them.
std::vector<std::string_view> naiveFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] != ',') continue;
        fields.push_back(line.substr(start, i - start));
        start = i + 1;
    }
    return fields;
}

// The splits of records, which take 16 bytes at a time and a line's last bytes as one more
// block, against the byte-by-byte split, over lines of every length up to three blocks
// with separators at every kind of place; and the shape of a record (every field counted,
// which of the wanted ones hold a byte) as the full split gives it.
TEST(ByteFields, SplitsAgreeWithTheByteByByteSplitAtEveryLength) {
    const std::uint64_t wanted[] = {0, 1, 0b10, 0b1001, (std::uint64_t{1} << 8) | (1u << 12), std::uint64_t{1} << 63};
    std::vector<std::string_view> fields;
    for (size_t length = 0; length <= 48; ++length) {
        for (size_t every : {2, 3, 7, 16, 100}) {
            std::string line(length, 'x');
            for (size_t i = every - 1; i < length; i += every) line[i] = ',';
            if (length > 1 && every == 7) line.back() = ',';
            const auto expected = naiveFields(line);
            splitBytes(line, ',', fields);
            ASSERT_EQ(fields, expected) << line;
            std::uint64_t filledBits = 0;
            for (size_t i = 0; i < expected.size() && i < 64; ++i) {
                if (!expected[i].empty()) filledBits |= std::uint64_t{1} << i;
            }
            std::vector<std::pair<size_t, std::string_view>> visited;
            std::uint64_t filled = 0;
            const size_t count = forEachFilledField(
                line, ',', filled, [&](size_t i, std::string_view field) { visited.emplace_back(i, field); });
            ASSERT_EQ(count, expected.size()) << line;
            ASSERT_EQ(filled, filledBits) << line;
            for (const auto& [i, field] : visited) ASSERT_EQ(field, expected[i]) << line;
            for (const std::uint64_t want : wanted) {
                const FieldsFilled shape = fieldsFilled(line, ',', want);
                EXPECT_EQ(shape.count, expected.size()) << line;
                EXPECT_EQ(shape.filled, filledBits & want) << line << " " << want;
            }
        }
    }
}

}  // namespace
}  // namespace vask
