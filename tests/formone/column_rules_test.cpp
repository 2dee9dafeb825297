// The column rules, position by position: every position's boundaries (the table of the
// form-one rules that the converter tests share) and the positions without rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "../support/column_rule_cases.h"
#include "core/numbers.h"
#include "formone/column_rules.h"
#include "formone/decimal_value.h"

namespace vask::formone {
namespace {

// What a converter that reads the field's ASCII bytes writes for it.
std::u16string judgedAsAscii(const PositionRules& rules, std::u16string_view value) {
    const std::string bytes(value.begin(), value.end());
    std::u16string text;
    std::u16string rewritten;
    switch (rules.judgeAscii(bytes, text, rewritten)) {
        case Verdict::Keep:
            return std::u16string(value);
        case Verdict::Rewrite:
            return rewritten;
        case Verdict::Blank:
            break;
    }
    return {};
}

bool isAscii(std::u16string_view value) {
    return std::all_of(value.begin(), value.end(), [](char16_t c) { return c < 0x80; });
}

void expectBoundaries(int position) {
    const PositionRules rules(position);
    for (const auto& [input, expected] : test::columnRule(position).boundaries) {
        EXPECT_EQ(ChkStd(input, position), expected)
            << "position " << position << ", input of " << input.size() << " units";
        if (isAscii(input)) {
            EXPECT_EQ(judgedAsAscii(rules, input), expected) << "position " << position;
        }
    }
}

TEST(ChkStd, EveryPositionAppliesItsRuleAtTheBoundaries) {
    for (int position : test::ruledPositions()) expectBoundaries(position);
    for (int position : test::freePositions()) expectBoundaries(position);
}

// The rules judged on ASCII bytes in place agree with the rules on text, also on values
// no table lists: blanks and control characters around and inside, signs, points,
// exponents, hexadecimal prefixes.
TEST(ChkStd, FieldsOfAsciiBytesAreJudgedAsTheirText) {
    std::mt19937 random(88);
    const std::u16string_view units = u"0123456789 \t\x01\x7F+-.eExX$aZ~";
    for (int position = -1; position <= 141; ++position) {
        const PositionRules rules(position);
        for (int round = 0; round < 300; ++round) {
            std::u16string value(random() % 16, u' ');
            for (char16_t& c : value) c = units[random() % units.size()];
            EXPECT_EQ(judgedAsAscii(rules, value), ChkStd(value, position)) << "position " << position;
        }
    }
}

// Decimals of up to 18 digits are formatted from their digits: the same texts as the
// value read in extended precision gives.
TEST(DecimalValue, GivesWhatTheReadValueGives) {
    for (const auto* sign : {u"", u"+", u"-"}) {
        for (const auto* whole :
             {u"", u"0", u"7", u"20", u"0020", u"99", u"123456789012345678", u"99999999999999999"}) {
            for (const auto* fraction : {u"", u".", u".0", u".04", u".05", u".15", u".25", u".94", u".95", u".9999",
                                         u".0000000000000005", u".12345678901234567"}) {
                for (const auto* exponent : {u"", u"e1", u"E-2"}) {
                    const std::u16string text = std::u16string(sign) + whole + fraction + exponent;
                    const DecimalValue value(text);
                    const auto read = readDecimal(text);
                    ASSERT_EQ(value.isNumber(), read.has_value());
                    if (!read) continue;
                    EXPECT_EQ(value.fixed1(), formatFixed1(*read));
                    EXPECT_EQ(value.integerPart(), formatIntegerPart(*read));
                    EXPECT_EQ(value.isZero(), *read == 0);
                    EXPECT_EQ(value.isNegative(), *read < 0);
                    EXPECT_EQ(value.isAbove(20), *read > 20);
                }
            }
        }
    }
}

TEST(ChkStd, TheSecondRuleOfSelfManagedDyslipidaemiaNarrowsTheFirst) {
    EXPECT_EQ(ChkStd(u"2", 20), u"2");
    EXPECT_EQ(ChkStd(u"2", 34), u"");
}

TEST(ChkStd, HugeAndHostileValuesNeverFail) {
    const std::u16string big(1 << 20, u'9');
    for (int position = -1; position <= 141; ++position) {
        const auto result = ChkStd(big, position);
        EXPECT_TRUE(result.empty() || result == big) << position;
        EXPECT_NO_THROW(ChkStd(std::u16string{u'\0', u'\uFFFF', char16_t(0xD800)}, position));
    }
}

TEST(GetStringCategories, ListsTheClassesInClassOrder) {
    const struct {
        std::u16string text;
        int kind;
        std::u16string expected;
    } cases[] = {
        {u"Ａ1", 2, u"半角数字, 全角英数字"},
        {u"ab12", 1, u"半角, 半角"},
        {u"", 1, u""},
        {u"ｶ漢a", 2, u"半角英字, 半角記号/半角カナ, 漢字・全角カナ・全角記号"},
        {u"\u3000\t", 1, u"全角"},
        {u"Ｚ z~", 1, u"半角, 全角, 半角"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetStringCategories(c.text, c.kind), c.expected);
}

}  // namespace
}  // namespace vask::formone
