// The column rules, position by position: every position's boundaries (the table of the
// form-one rules that the converter tests share) and the positions without rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/column_rule_cases.h"
#include "formone/column_rules.h"

namespace vask::formone {
namespace {

void expectBoundaries(int position) {
    for (const auto& [input, expected] : test::columnRule(position).boundaries) {
        EXPECT_EQ(ChkStd(input, position), expected)
            << "position " << position << ", input of " << input.size() << " units";
    }
}

TEST(ChkStd, EveryPositionAppliesItsRuleAtTheBoundaries) {
    for (int position : test::ruledPositions()) expectBoundaries(position);
    for (int position : test::freePositions()) expectBoundaries(position);
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
