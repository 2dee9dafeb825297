// The column rules, position by position: each position's rule is typed here again from
// the layout's rule list, and the boundaries of its kind are generated from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formone/column_rules.h"

namespace vask::formone {
namespace {

struct Case {
    std::u16string input;
    std::u16string expected;
};

std::u16string repeat(char16_t c, int n) { return std::u16string(static_cast<size_t>(n), c); }
std::u16string digit(int d) { return std::u16string(1, static_cast<char16_t>(u'0' + d)); }

std::vector<Case> lengthAtMost(int n, char16_t fill) {
    return {{repeat(fill, n), repeat(fill, n)}, {repeat(fill, n + 1), u""}, {u"", u""}};
}

// For rules that look at the trimmed value only: blanks around it do not count, and stay.
std::vector<Case> lengthAtMostWithBlanks(int n, char16_t fill) {
    auto cases = lengthAtMost(n, fill);
    cases.push_back({u" " + repeat(fill, n) + u"\t", u" " + repeat(fill, n) + u"\t"});
    cases.push_back({u" " + repeat(fill, n + 1), u""});
    return cases;
}

std::vector<Case> lengthExactly(int n, char16_t fill) {
    return {{repeat(fill, n), repeat(fill, n)}, {repeat(fill, n - 1), u""}, {repeat(fill, n + 1), u""}, {u"", u""}};
}

std::vector<Case> code(std::u16string_view allowed) {
    std::vector<Case> cases;
    for (int d = 0; d <= 9; ++d) {
        const bool in = allowed.find(static_cast<char16_t>(u'0' + d)) != std::u16string_view::npos;
        cases.push_back({digit(d), in ? digit(d) : u""});
        cases.push_back({u" " + digit(d) + u" ", in ? u" " + digit(d) + u" " : u""});
    }
    for (const auto* bad : {u"", u"01", u"１", u"+1", u"a", u"1.0"}) cases.push_back({bad, u""});
    return cases;
}

std::vector<Case> integerUpTo(int n) {
    std::vector<Case> cases = {{u"0", u"0"},     {u"-1", u""},         {u"1.5", u""},       {u"abc", u""},
                               {u"", u""},       {u"４", u""},         {u"$A", u"$A"},      {u"0x0A", u"0x0A"},
                               {u" 5 ", u" 5 "}, {u"4294967296", u""}, {u"$FFFFFFFF", u""}, {u"00005", u"00005"}};
    const std::string nText = std::to_string(n);
    const std::string overText = std::to_string(n + 1);
    cases.push_back({std::u16string(nText.begin(), nText.end()), std::u16string(nText.begin(), nText.end())});
    cases.push_back({std::u16string(overText.begin(), overText.end()), u""});
    return cases;
}

// "%3.1f" with halves away from zero on 18 significant digits; -0.0 loses its sign.
const std::vector<Case> kDecimalCommon = {
    {u"6", u"6.0"},   {u"6.04", u"6.0"}, {u"6.25", u"6.3"}, {u"0.15", u"0.2"}, {u"6.55", u"6.6"},
    {u" 7 ", u"7.0"}, {u"1e1", u"10.0"}, {u"0", u""},       {u"0.0", u""},     {u"abc", u""},
    {u"", u""},       {u"0.04", u"0.0"}, {u"1,5", u""},     {u"７", u""},      {u"2.96", u"3.0"},
};

std::vector<Case> decimalAnyRange() {
    std::vector<Case> cases = kDecimalCommon;
    cases.insert(
        cases.end(),
        {{u"65.25", u"65.3"}, {u"-3", u"-3.0"}, {u"-6.25", u"-6.3"}, {u"-0.04", u"0.0"}, {u"350.55", u"350.6"}});
    return cases;
}

std::vector<Case> decimalUpTo20() {
    std::vector<Case> cases = kDecimalCommon;
    cases.insert(cases.end(), {{u"20", u"20.0"}, {u"20.0", u"20.0"}, {u"20.01", u""}, {u"-1", u""}, {u"-0.04", u""}});
    return cases;
}

const std::vector<Case> kYearMonth = {{u"202404", u"20240401"}, {u" 202404 ", u"20240401"}, {u"20240415", u"20240415"},
                                      {u"2024041", u"2024041"}, {u"abcdef", u"abcdef01"},   {u"", u""}};

const std::vector<Case> kNoHalfWidth = {{u"山田　太郎", u"山田　太郎"},
                                        {u"山田 太郎", u""},
                                        {u"山田太郎 ", u""},
                                        {u"ﾔﾏﾀﾞ", u""},
                                        {u"Ａ１", u"Ａ１"},
                                        {u"山田1", u""},
                                        {u"", u""}};

const std::vector<Case> kNoFullWidth = {{u"C34.1", u"C34.1"}, {u"Ｃ３４", u""}, {u"\tC34", u""},
                                        {u"C34\r", u""},      {u"ｶ", u"ｶ"},     {u"", u""}};

std::vector<Case> join(std::vector<Case> a, const std::vector<Case>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct PositionCases {
    int position;
    std::vector<Case> cases;
};

std::vector<PositionCases> allPositions() {
    const auto unchanged = std::vector<Case>{{u" x,\"y\" ", u" x,\"y\" "}, {u"ａ b", u"ａ b"}, {u"", u""}};
    std::vector<PositionCases> table = {
        {0, lengthAtMostWithBlanks(10, u'9')},
        {1, join(lengthAtMost(20, u'山'), kNoHalfWidth)},
        {3, kYearMonth},
        {5, lengthExactly(7, u'1')},
        {6, lengthExactly(3, u'1')},
        {7, decimalAnyRange()},
        {8, code(u"012")},
        {11, code(u"012345")},
        {12, code(u"0123456789")},
        {13, code(u"012345")},
        {14, lengthExactly(8, u'2')},
        {16, lengthAtMostWithBlanks(7, u'A')},
        {17, lengthExactly(4, u'A')},
        {18, join(lengthAtMost(40, u'病'), kNoHalfWidth)},
        {19, code(u"01239")},
        {20, code(u"012")},
        {21, lengthExactly(6, u'2')},
        {22, decimalUpTo20()},
        {23, code(u"01239")},
        {24, code(u"019")},
        {25, code(u"019")},
        {26, code(u"019")},
        {27, code(u"01")},
        {28, lengthExactly(6, u'2')},
        {29, code(u"012345")},
        {30, code(u"0123")},
        {31, integerUpTo(300)},
        {32, integerUpTo(300)},
        {33, code(u"019")},
        {34, code(u"01")},
        {35, lengthExactly(6, u'2')},
        {36, code(u"01234")},
        {37, integerUpTo(300)},
        {38, code(u"019")},
        {39, code(u"012349")},
        {40, lengthExactly(6, u'2')},
        {41, code(u"019")},
        {42, code(u"129")},
        {43, lengthExactly(6, u'2')},
        {44, code(u"01239")},
        {45, lengthExactly(6, u'2')},
        {46, code(u"019")},
        {48, code(u"019")},
        {50, code(u"019")},
        {51, lengthExactly(6, u'2')},
        {52, decimalUpTo20()},
        {53, lengthExactly(6, u'2')},
        {54, code(u"01234567")},
        {55, code(u"01")},
        {56, kNoFullWidth},
        {57, lengthAtMostWithBlanks(7, u'A')},
        {58, lengthExactly(4, u'A')},
        {59, join(lengthAtMost(40, u'病'), kNoHalfWidth)},
        {60, join(lengthAtMost(13, u'1'), {{u"0101010101010 ", u"0101010101010 "},
                                           {u" 010101010101", u""},
                                           {u"010101010102", u""},
                                           {u"010101010101", u""},
                                           {u"01010101010100", u""}})},
        {61, join(lengthExactly(10, u'9'), {{u"0123901239", u"0123901239"}, {u"0123401234", u""}})},
        {62, code(u"01")},
        {63, code(u"012345679")},
        {64, code(u"012")},
        {65, join(lengthAtMost(7, u'0'),
                  {{u"0123456", u"0123456"}, {u"01278", u""}, {u"0120", u""}, {u"01269xy", u"01269xy"}, {u"9", u""}})},
        {66, code(u"019")},
        {67, code(u"019")},
        {68, join(lengthAtMost(5, u'1'), {{u"01010", u"01010"}, {u"0101", u""}, {u"01012", u""}})},
        {69, code(u"01")},
        {72, lengthExactly(4, u'A')},
        {73, join(lengthAtMost(40, u'病'), kNoHalfWidth)},
        {74, kNoFullWidth},
        {75, kNoFullWidth},
        {76, kNoFullWidth},
        {78,
         {{u"7", u"7"},
          {u"8", u"8"},
          {u" 8 ", u" 8 "},
          {u"9", u""},
          {u"80", u""},
          {u"10", u"10"},
          {u"８", u""},
          {u"", u""}}},
        {79, integerUpTo(10)},
        {80, lengthExactly(8, u'2')},
        {82, lengthAtMostWithBlanks(18, u'9')},
        {85, join(lengthAtMost(7, u'9'), kNoFullWidth)},
        {86, join(lengthExactly(4, u'9'), {{u"C345 ", u"C345 "}, {u"Ｃ３４５", u""}, {u"C345\t", u""}})},
        {87, join(lengthAtMost(40, u'病'), kNoHalfWidth)},
        {138, lengthExactly(8, u'2')},
        {140, join(lengthExactly(14, u'1'), {{u"01010101010101", u"01010101010101"}, {u"01010101010102", u""}})},
    };
    for (int free : {2, 4, 9, 10, 15, 47, 49, 70, 71, 77, 81, 83, 84, 88, 137, 139, 141, 500, -1}) {
        table.push_back({free, unchanged});
    }
    return table;
}

TEST(ChkStd, EveryPositionAppliesItsRuleAtTheBoundaries) {
    for (const auto& [position, cases] : allPositions()) {
        for (const auto& [input, expected] : cases) {
            EXPECT_EQ(ChkStd(input, position), expected)
                << "position " << position << ", input of " << input.size() << " units";
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
