#include "column_rule_cases.h"

#include <map>
#include <string_view>

namespace vask::test {
namespace {

using Cases = std::vector<RuleCase>;

std::u16string repeat(char16_t c, int n) { return std::u16string(static_cast<size_t>(n), c); }
std::u16string digit(int d) { return std::u16string(1, static_cast<char16_t>(u'0' + d)); }

Cases join(Cases a, const Cases& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// --- The boundaries of each kind of rule.

Cases lengthAtMost(int n, char16_t fill) {
    return {{repeat(fill, n), repeat(fill, n)}, {repeat(fill, n + 1), u""}, {u"", u""}};
}

// For rules that look at the trimmed value only: blanks around it do not count, and stay.
Cases lengthAtMostWithBlanks(int n, char16_t fill) {
    auto cases = lengthAtMost(n, fill);
    cases.push_back({u" " + repeat(fill, n) + u"\t", u" " + repeat(fill, n) + u"\t"});
    cases.push_back({u" " + repeat(fill, n + 1), u""});
    return cases;
}

Cases lengthExactly(int n, char16_t fill) {
    return {{repeat(fill, n), repeat(fill, n)}, {repeat(fill, n - 1), u""}, {repeat(fill, n + 1), u""}, {u"", u""}};
}

Cases code(std::u16string_view allowed) {
    Cases cases;
    for (int d = 0; d <= 9; ++d) {
        const bool in = allowed.find(static_cast<char16_t>(u'0' + d)) != std::u16string_view::npos;
        cases.push_back({digit(d), in ? digit(d) : u""});
        cases.push_back({u" " + digit(d) + u" ", in ? u" " + digit(d) + u" " : u""});
    }
    for (const auto* bad : {u"", u"01", u"１", u"+1", u"a", u"1.0"}) cases.push_back({bad, u""});
    return cases;
}

Cases integerUpTo(int n) {
    Cases cases = {{u"0", u"0"},     {u"-1", u""},         {u"1.5", u""},       {u"abc", u""},
                   {u"", u""},       {u"４", u""},         {u"$A", u"$A"},      {u"0x0A", u"0x0A"},
                   {u" 5 ", u" 5 "}, {u"4294967296", u""}, {u"$FFFFFFFF", u""}, {u"00005", u"00005"}};
    const std::string nText = std::to_string(n);
    const std::string overText = std::to_string(n + 1);
    cases.push_back({std::u16string(nText.begin(), nText.end()), std::u16string(nText.begin(), nText.end())});
    cases.push_back({std::u16string(overText.begin(), overText.end()), u""});
    return cases;
}

// "%3.1f" with halves away from zero on 18 significant digits; -0.0 loses its sign.
const Cases kDecimalCommon = {
    {u"6", u"6.0"},   {u"6.04", u"6.0"}, {u"6.25", u"6.3"}, {u"0.15", u"0.2"}, {u"6.55", u"6.6"},
    {u" 7 ", u"7.0"}, {u"1e1", u"10.0"}, {u"0", u""},       {u"0.0", u""},     {u"abc", u""},
    {u"", u""},       {u"0.04", u"0.0"}, {u"1,5", u""},     {u"７", u""},      {u"2.96", u"3.0"},
};

Cases decimalAnyRange() {
    return join(
        kDecimalCommon,
        {{u"65.25", u"65.3"}, {u"-3", u"-3.0"}, {u"-6.25", u"-6.3"}, {u"-0.04", u"0.0"}, {u"350.55", u"350.6"}});
}

Cases decimalUpTo20() {
    return join(kDecimalCommon, {{u"20", u"20.0"}, {u"20.0", u"20.0"}, {u"20.01", u""}, {u"-1", u""}, {u"-0.04", u""}});
}

const Cases kYearMonth = {{u"202404", u"20240401"}, {u" 202404 ", u"20240401"}, {u"20240415", u"20240415"},
                          {u"2024041", u"2024041"}, {u"abcdef", u"abcdef01"},   {u"", u""}};

const Cases kNoHalfWidth = {{u"山田　太郎", u"山田　太郎"},
                            {u"山田 太郎", u""},
                            {u"山田太郎 ", u""},
                            {u"ﾔﾏﾀﾞ", u""},
                            {u"Ａ１", u"Ａ１"},
                            {u"山田1", u""},
                            {u"", u""}};

const Cases kNoFullWidth = {{u"C34.1", u"C34.1"}, {u"Ｃ３４", u""}, {u"\tC34", u""},
                            {u"C34\r", u""},      {u"ｶ", u"ｶ"},     {u"", u""}};

// A code of the digits `allowed`: its boundaries, and the codes a clinic's file holds.
ColumnRule codeRule(std::u16string_view allowed) {
    Cases samples;
    for (char16_t d : std::u16string_view(u"01239")) {
        samples.push_back(
            {std::u16string(1, d), allowed.find(d) != std::u16string_view::npos ? std::u16string(1, d) : u""});
    }
    samples.push_back({u"", u""});
    return {code(allowed), samples};
}

struct Positions {
    std::vector<int> positions;
    ColumnRule rule;
};

// Each rule once, with the positions it holds at.
std::vector<Positions> ruleTable() {
    const ColumnRule date = {lengthExactly(8, u'2'), {{u"20240110", u"20240110"}, {u"2024011", u""}}};
    const ColumnRule diagnosisMonth = {lengthExactly(6, u'2'), {{u"201905", u"201905"}, {u"2019", u""}, {u"", u""}}};
    const ColumnRule diseaseName = {join(lengthAtMost(40, u'病'), kNoHalfWidth),
                                    {{u"本態性高血圧症", u"本態性高血圧症"}, {u"2型糖尿病", u""}}};
    const Cases fourUnitSamples = {{u"2056", u"2056"}, {u"205", u""}};
    return {
        {{0}, {lengthAtMostWithBlanks(10, u'9'), {{u"1001", u"1001"}, {u"00012345678", u""}, {u" 77 ", u" 77 "}}}},
        {{1},
         {join(lengthAtMost(20, u'山'), kNoHalfWidth),
          {{u"山田　太郎", u"山田　太郎"}, {u"ﾔﾏﾀﾞ ﾀﾛｳ", u""}, {u"髙橋　一", u"髙橋　一"}, {u"佐藤 花子", u""}}}},
        {{3}, {kYearMonth, {{u"202404", u"20240401"}, {u"20240415", u"20240415"}, {u" 202403", u"20240301"}}}},
        {{5}, {lengthExactly(7, u'1'), {{u"1000001", u"1000001"}, {u"100-0001", u""}}}},
        {{6}, {lengthExactly(3, u'1'), {{u"165", u"165"}, {u"170.5", u""}, {u"", u""}}}},
        {{7}, {decimalAnyRange(), {{u"60", u"60.0"}, {u"58.25", u"58.3"}, {u"", u""}, {u"0", u""}}}},
        {{8, 20, 64}, codeRule(u"012")},
        {{11, 13, 29}, codeRule(u"012345")},
        {{12}, codeRule(u"0123456789")},
        {{14, 80, 138}, date},
        {{16, 57}, {lengthAtMostWithBlanks(7, u'A'), {{u"8830052", u"8830052"}, {u"88300521", u""}}}},
        {{17, 58, 72}, {lengthExactly(4, u'A'), fourUnitSamples}},
        {{18, 59, 73, 87}, diseaseName},
        {{19, 23, 44}, codeRule(u"01239")},
        {{21, 28, 35, 40, 43, 45, 51, 53}, diagnosisMonth},
        {{22}, {decimalUpTo20(), {{u"6.5", u"6.5"}, {u"7", u"7.0"}, {u"25", u""}, {u"", u""}}}},
        {{24, 25, 26, 33, 38, 41, 46, 48, 50, 66, 67}, codeRule(u"019")},
        {{27, 34, 55, 62, 69}, codeRule(u"01")},
        {{30}, codeRule(u"0123")},
        {{31, 32, 37}, {integerUpTo(300), {{u"120", u"120"}, {u"999", u""}, {u" 85 ", u" 85 "}, {u"1e2", u""}}}},
        {{36}, codeRule(u"01234")},
        {{39}, codeRule(u"012349")},
        {{42}, codeRule(u"129")},
        {{52}, {decimalUpTo20(), {{u"5.2", u"5.2"}, {u"", u""}, {u"-1", u""}}}},
        {{54}, codeRule(u"01234567")},
        {{56, 74, 75, 76}, {kNoFullWidth, {{u"I10", u"I10"}, {u"Ｃ３４", u""}}}},
        {{60},
         {join(lengthAtMost(13, u'1'), {{u"0101010101010 ", u"0101010101010 "},
                                        {u" 010101010101", u""},
                                        {u"010101010102", u""},
                                        {u"010101010101", u""},
                                        {u"01010101010100", u""}}),
          {{u"0101010101010", u"0101010101010"}, {u"010101010101", u""}}}},
        {{61},
         {join(lengthExactly(10, u'9'), {{u"0123901239", u"0123901239"}, {u"0123401234", u""}}),
          {{u"0123901239", u"0123901239"}, {u"0123401234", u""}}}},
        {{63}, codeRule(u"012345679")},
        {{65},
         {join(lengthAtMost(7, u'0'),
               {{u"0123456", u"0123456"}, {u"01278", u""}, {u"0120", u""}, {u"01269xy", u"01269xy"}, {u"9", u""}}),
          {{u"0123456", u"0123456"}, {u"0127", u""}}}},
        {{68},
         {join(lengthAtMost(5, u'1'), {{u"01010", u"01010"}, {u"0101", u""}, {u"01012", u""}}),
          {{u"01010", u"01010"}, {u"0102", u""}}}},
        {{78},
         {{{u"7", u"7"},
           {u"8", u"8"},
           {u" 8 ", u" 8 "},
           {u"9", u""},
           {u"80", u""},
           {u"10", u"10"},
           {u"８", u""},
           {u"", u""}},
          {{u"8", u"8"}, {u"9", u""}, {u"10", u"10"}}}},
        {{79}, {integerUpTo(10), {{u"5", u"5"}, {u"11", u""}}}},
        {{82}, {lengthAtMostWithBlanks(18, u'9'), {{u"126", u"126"}, {u"1234567890123456789", u""}}}},
        {{85}, {join(lengthAtMost(7, u'9'), kNoFullWidth), {{u"4019", u"4019"}, {u"Ｉ１０", u""}}}},
        {{86},
         {join(lengthExactly(4, u'9'), {{u"C345 ", u"C345 "}, {u"Ｃ３４５", u""}, {u"C345\t", u""}}), fourUnitSamples}},
        {{140},
         {join(lengthExactly(14, u'1'), {{u"01010101010101", u"01010101010101"}, {u"01010101010102", u""}}),
          {{u"01010101010101", u"01010101010101"}, {u"0101010101010", u""}}}},
    };
}

const std::map<int, ColumnRule>& rulesByPosition() {
    static const std::map<int, ColumnRule> rules = [] {
        std::map<int, ColumnRule> byPosition;
        for (const auto& [positions, rule] : ruleTable()) {
            for (int position : positions) byPosition.emplace(position, rule);
        }
        return byPosition;
    }();
    return rules;
}

}  // namespace

const ColumnRule& columnRule(int position) {
    static const ColumnRule free = {{{u" x,\"y\" ", u" x,\"y\" "}, {u"ａ b", u"ａ b"}, {u"", u""}},
                                    {{u"自由記載", u"自由記載"}, {u" a b ", u" a b "}, {u"", u""}}};
    const auto& rules = rulesByPosition();
    const auto found = rules.find(position);
    return found == rules.end() ? free : found->second;
}

const std::vector<int>& ruledPositions() {
    static const std::vector<int> positions = [] {
        std::vector<int> all;
        for (const auto& entry : rulesByPosition()) all.push_back(entry.first);
        return all;
    }();
    return positions;
}

const std::vector<int>& freePositions() {
    static const std::vector<int> positions = {2,  4,  9,  10, 15,  47,  49,  70,  71, 77,
                                               81, 83, 84, 88, 137, 139, 141, 500, -1};
    return positions;
}

}  // namespace vask::test
