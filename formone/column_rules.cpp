#include "formone/column_rules.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/numbers.h"
#include "core/text.h"
#include "formone/decimal_value.h"

namespace vask::formone {
namespace {

// --- Character classes. Every code unit falls into exactly one, tested in this order.
enum CharClass : unsigned {
    kHalfAlpha = 1u << 0,     // ASCII letters
    kHalfDigit = 1u << 1,     // ASCII digits
    kFullAlphaNum = 1u << 2,  // full-width digits and letters
    kHalfOther = 1u << 3,     // space, ASCII symbols, half-width katakana and punctuation
    kFullOther = 1u << 4,     // everything else, control characters included
};
constexpr unsigned kHalfWidthClasses = kHalfAlpha | kHalfDigit | kHalfOther;
constexpr unsigned kFullWidthClasses = kFullAlphaNum | kFullOther;

constexpr unsigned classByRanges(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return kHalfAlpha;
    if (c >= u'0' && c <= u'9') return kHalfDigit;
    if ((c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A)) {
        return kFullAlphaNum;
    }
    if ((c >= 0x20 && c <= 0x7E) || (c >= 0xFF61 && c <= 0xFF9F)) return kHalfOther;
    return kFullOther;
}

constexpr std::array<uint8_t, 0x80> makeAsciiClasses() {
    std::array<uint8_t, 0x80> classes{};
    for (char16_t c = 0; c < 0x80; ++c) classes[c] = static_cast<uint8_t>(classByRanges(c));
    return classes;
}
constexpr std::array<uint8_t, 0x80> kAsciiClasses = makeAsciiClasses();

// The same, by a table for ASCII; from U+0080 up to the full-width forms every code unit
// (kanji, kana) is of the last class.
constexpr unsigned classOf(char16_t c) {
    if (c < 0x80) return kAsciiClasses[c];
    return c < 0xFF10 ? kFullOther : classByRanges(c);
}

// The rules judge texts and, without decoding them, fields of ASCII bytes, which are the
// same characters.
template <typename Char>
using View = std::basic_string_view<Char>;
constexpr char16_t unitOf(char16_t c) { return c; }
constexpr char16_t unitOf(char c) { return static_cast<unsigned char>(c); }

// The value as UTF-16 text, for the readers of numbers: ASCII bytes widened into `buffer`.
std::u16string_view asText(std::u16string_view text, std::u16string&) { return text; }
std::u16string_view asText(std::string_view ascii, std::u16string& buffer) {
    buffer.resize(ascii.size());
    for (size_t k = 0; k < ascii.size(); ++k) buffer[k] = unitOf(ascii[k]);
    return buffer;
}

// True when `text` holds a code unit of one of `classes`.
template <typename Char>
bool holdsClass(View<Char> text, unsigned classes) {
    for (const Char c : text) {
        if (classOf(unitOf(c)) & classes) return true;
    }
    return false;
}

// --- Rule kinds and the rules of each form-1 position.
enum class Kind : uint8_t {
    None,
    Length,         // trimmed length from `low` to n, and, with digits, one character of them
    IntRange,       // a whole integer from 0 to n
    NoHalfWidth,    // no half-width character in the untrimmed value
    NoFullWidth,    // no full-width character in the untrimmed value
    LeadingDigits,  // characters 1 to n of the untrimmed value are digits of the set
    Decimal,        // a non-zero number, written "%3.1f"
    Decimal0To20,   // a non-zero number from 0 to 20, written "%3.1f"
    YearMonth,      // six characters get "01" appended
    NotAfter8,      // does not sort after "8"
};

struct Rule {
    Kind kind = Kind::None;
    int n = 0;            // the longest trimmed length, the largest integer, the leading digits
    uint16_t digits = 0;  // bit d set: the digit d is allowed
    int low = 0;          // the shortest trimmed length
};

constexpr uint16_t digitSet(std::string_view allowed) {
    uint16_t set = 0;
    for (char d : allowed) set = static_cast<uint16_t>(set | (1u << (d - '0')));
    return set;
}

// The length rules and the code rule (one character, a digit of the set) are one kind,
// bounds of the trimmed length, so that the length tests of a position fold into one.
constexpr Rule maxLength(int n) { return {Kind::Length, n, 0, 0}; }
constexpr Rule length(int n) { return {Kind::Length, n, 0, n}; }
constexpr Rule code(std::string_view allowed) { return {Kind::Length, 1, digitSet(allowed), 1}; }
constexpr Rule intRange(int n) { return {Kind::IntRange, n, 0}; }
constexpr Rule leadingDigits(int n, std::string_view allowed) { return {Kind::LeadingDigits, n, digitSet(allowed)}; }
constexpr Rule noHalfWidth{Kind::NoHalfWidth, 0, 0};
constexpr Rule noFullWidth{Kind::NoFullWidth, 0, 0};
constexpr Rule decimal{Kind::Decimal, 0, 0};
constexpr Rule decimal0To20{Kind::Decimal0To20, 0, 0};
constexpr Rule yearMonth{Kind::YearMonth, 0, 0};
constexpr Rule notAfter8{Kind::NotAfter8, 0, 0};

struct RulesOfPosition {
    int position;
    std::array<Rule, 2> rules;  // applied in order; Kind::None ends the list
};

// Positions without an entry (2, 4, 9, 10, 15, 47, 49, 70, 71, 77, 81, 83, 84, 88 to
// 137, 139 and after 140) pass their values unchanged.
constexpr RulesOfPosition kRules[] = {
    {0, {maxLength(10)}},                                // カルテ番号
    {1, {noHalfWidth, maxLength(20)}},                   // 患者氏名
    {3, {yearMonth}},                                    // 診療年月日
    {5, {length(7)}},                                    // 郵便番号
    {6, {length(3)}},                                    // 身長
    {7, {decimal}},                                      // 体重
    {8, {code("012")}},                                  // 喫煙歴
    {11, {code("012345")}},                              // 高齢者情報
    {12, {code("0123456789")}},                          // 要介護度
    {13, {code("012345")}},                              // 終診情報
    {14, {length(8)}},                                   // 終診年月日
    {16, {maxLength(7)}},                                // 終診情報の傷病名コード
    {17, {length(4)}},                                   // 終診情報の修飾語コード
    {18, {noHalfWidth, maxLength(40)}},                  // 終診情報の傷病名
    {19, {code("01239")}},                               // 糖尿病の有無
    {20, {code("012")}},                                 // 糖尿病の自院管理
    {21, {length(6)}},                                   // 糖尿病の診断年月
    {22, {decimal0To20}},                                // HbA1c
    {23, {code("01239")}},                               // 網膜症
    {24, {code("019")}},                                 // 腎症
    {25, {code("019")}},                                 // 神経障害
    {26, {code("019")}},                                 // 高血圧症の有無
    {27, {code("01")}},                                  // 高血圧症の自院管理
    {28, {length(6)}},                                   // 高血圧症の診断年月
    {29, {code("012345")}},                              // 血圧分類
    {30, {code("0123")}},                                // 高血圧リスク層
    {31, {intRange(300)}},                               // 収縮期血圧
    {32, {intRange(300)}},                               // 拡張期血圧
    {33, {code("019")}},                                 // 脂質異常症の有無
    {34, {code("012"), code("01")}},                     // 脂質異常症の自院管理
    {35, {length(6)}},                                   // 脂質異常症の診断年月
    {36, {code("01234")}},                               // 脂質異常症リスク分類
    {37, {intRange(300)}},                               // LDLコレステロール
    {38, {code("019")}},                                 // 脳卒中の有無
    {39, {code("012349")}},                              // 脳卒中の初発の種類
    {40, {length(6)}},                                   // 脳卒中の初発の発症年月
    {41, {code("019")}},                                 // 急性冠症候群の有無
    {42, {code("129")}},                                 // 急性冠症候群の初発の種類
    {43, {length(6)}},                                   // 急性冠症候群の初発の発症年月
    {44, {code("01239")}},                               // 心不全の有無
    {45, {length(6)}},                                   // 心不全の診断年月
    {46, {code("019")}},                                 // 急性大動脈解離の有無
    {48, {code("019")}},                                 // 慢性腎臓病の有無
    {50, {code("019")}},                                 // 高尿酸血症の有無
    {51, {length(6)}},                                   // 高尿酸血症の診断年月
    {52, {decimal0To20}},                                // 尿酸
    {53, {length(6)}},                                   // 在宅療養を始めた年月
    {54, {code("01234567")}},                            // 療養を行っている場所
    {55, {code("01")}},                                  // 訪問の主傷病の自院診断の有無
    {56, {noFullWidth}},                                 // 訪問の主傷病のICD10コード
    {57, {maxLength(7)}},                                // 訪問の主傷病の傷病名コード
    {58, {length(4)}},                                   // 訪問の主傷病の修飾語コード
    {59, {noHalfWidth, maxLength(40)}},                  // 訪問の主傷病の傷病名
    {60, {maxLength(13), leadingDigits(13, "01")}},      // 患者の状態
    {61, {length(10), leadingDigits(10, "01239")}},      // バーセルインデックス
    {62, {code("01")}},                                  // 排泄の状況
    {63, {code("012345679")}},                           // ブリストルスケール
    {64, {code("012")}},                                 // 排尿の状況
    {65, {maxLength(7), leadingDigits(5, "01234569")}},  // 褥瘡の状況 (characters 6 and 7 free)
    {66, {code("019")}},                                 // 低栄養の有無
    {67, {code("019")}},                                 // 摂食・嚥下障害の有無
    {68, {maxLength(5), leadingDigits(5, "01")}},        // 経管・経静脈栄養の状況
    {69, {code("01")}},                                  // がんの自院診断の有無
    {72, {length(4)}},                                   // がんの修飾語コード
    {73, {noHalfWidth, maxLength(40)}},                  // がんの傷病名
    {74, {noFullWidth}},                                 // がんのStaging分類
    {75, {noFullWidth}},                                 // UICC病気分類（T）
    {76, {noFullWidth}},                                 // UICC病気分類（N）
    {78, {notAfter8}},                                   // UICC病気分類（版）
    {79, {intRange(10)}},                                // がんのNRS
    {80, {length(8)}},                                   // リハビリの退院年月日
    {82, {maxLength(18)}},                               // ADL_FIM
    {85, {noFullWidth, maxLength(7)}},                   // 入院の傷病名コード
    {86, {length(4), noFullWidth}},                      // 入院の修飾語コード
    {87, {noHalfWidth, maxLength(40)}},                  // 入院の傷病名
    {138, {length(8)}},                                  // 訪問診療開始前の往診または外来受診日
    {140, {length(14), leadingDigits(14, "01")}},        // 訓練内容
};

constexpr int kLastRuledPosition = 140;
using RuleTable = std::array<std::array<Rule, 2>, kLastRuledPosition + 1>;

constexpr RuleTable makeRuleTable() {
    RuleTable table{};
    for (const auto& entry : kRules) table[static_cast<size_t>(entry.position)] = entry.rules;
    return table;
}
constexpr RuleTable kRuleTable = makeRuleTable();

bool inSet(uint16_t set, int digit) { return digit >= 0 && digit <= 9 && (set >> digit) & 1u; }

int digitValue(char16_t c) { return c >= u'0' && c <= u'9' ? c - u'0' : -1; }

// The integer a rule reads from the trimmed value: -1 when it is no 32-bit integer. A few
// plain digits, the usual value, are read here.
int integerOf(std::u16string_view trimmed) {
    constexpr size_t kSafeDigits = 9;  // no overflow
    if (trimmed.empty() || trimmed.size() > kSafeDigits) return readInt32(trimmed).value_or(-1);
    int value = 0;
    for (const char16_t c : trimmed) {
        if (c < u'0' || c > u'9') return readInt32(trimmed).value_or(-1);
        value = value * 10 + (c - u'0');
    }
    return value;
}

template <typename Char>
bool leadingDigitsIn(View<Char> raw, int count, uint16_t set) {
    if (raw.size() < static_cast<size_t>(count)) return false;  // a missing character fails
    for (int p = 0; p < count; ++p) {
        if (!inSet(set, digitValue(unitOf(raw[static_cast<size_t>(p)])))) return false;
    }
    return true;
}

// Whether the text sorts after "8" in code-unit order.
template <typename Char>
bool sortsAfter8(View<Char> text) {
    return !text.empty() && (unitOf(text[0]) > u'8' || (unitOf(text[0]) == u'8' && text.size() > 1));
}

Verdict decimalVerdict(std::u16string_view trimmed, bool upTo20, std::u16string& rewritten) {
    // A text that is no number reads as 0 and is blanked like a zero.
    const DecimalValue value(trimmed);
    if (!value.isNumber() || value.isZero()) return Verdict::Blank;
    if (upTo20 && (value.isNegative() || value.isAbove(20))) return Verdict::Blank;
    value.fixed1(rewritten);
    return Verdict::Rewrite;
}

template <typename Char>
Verdict lengthVerdict(const Rule& rule, View<Char> trimmed) {
    const size_t len = trimmed.size();
    if (len < static_cast<size_t>(rule.low) || len > static_cast<size_t>(rule.n)) return Verdict::Blank;
    // A text of one character reads as an integer only when it is a digit.
    if (rule.digits != 0 && !inSet(rule.digits, digitValue(unitOf(trimmed[0])))) return Verdict::Blank;
    return Verdict::Keep;
}

// One rule on the value and its trimmed form; `buffer` holds the text of ASCII bytes for
// the readers of numbers.
template <typename Char>
Verdict apply(const Rule& rule, View<Char> raw, View<Char> trimmed, std::u16string& buffer, std::u16string& rewritten) {
    switch (rule.kind) {
        case Kind::None:
            return Verdict::Keep;
        case Kind::Length:
            return lengthVerdict(rule, trimmed);
        case Kind::IntRange: {
            const int value = integerOf(asText(trimmed, buffer));
            return value >= 0 && value <= rule.n ? Verdict::Keep : Verdict::Blank;
        }
        case Kind::NoHalfWidth:
            return holdsClass(raw, kHalfWidthClasses) ? Verdict::Blank : Verdict::Keep;
        case Kind::NoFullWidth:
            return holdsClass(raw, kFullWidthClasses) ? Verdict::Blank : Verdict::Keep;
        case Kind::LeadingDigits:
            return leadingDigitsIn(raw, rule.n, rule.digits) ? Verdict::Keep : Verdict::Blank;
        case Kind::Decimal:
        case Kind::Decimal0To20:
            return decimalVerdict(asText(trimmed, buffer), rule.kind == Kind::Decimal0To20, rewritten);
        case Kind::YearMonth:
            if (trimmed.size() != 6) return Verdict::Keep;
            rewritten.assign(asText(trimmed, buffer));
            rewritten += u"01";
            return Verdict::Rewrite;
        case Kind::NotAfter8:
            return sortsAfter8(trimmed) ? Verdict::Blank : Verdict::Keep;
    }
    return Verdict::Keep;
}

const std::array<Rule, 2>& rulesOf(int pinIdx) {
    static constexpr std::array<Rule, 2> kNoRules{};
    return pinIdx < 0 || pinIdx > kLastRuledPosition ? kNoRules : kRuleTable[static_cast<size_t>(pinIdx)];
}

template <typename Char>
Verdict judge(View<Char> field, int pinIdx, std::u16string& buffer, std::u16string& rewritten) {
    const auto& rules = rulesOf(pinIdx);
    if (rules[0].kind == Kind::None) return Verdict::Keep;  // Kind::None ends the list
    const View<Char> trimmedField = trimmedView(field);
    Verdict verdict = Verdict::Keep;
    for (const Rule& rule : rules) {
        switch (apply(rule, field, trimmedField, buffer, rewritten)) {
            case Verdict::Blank:  // a later rule never brings a blanked value back
                return Verdict::Blank;
            case Verdict::Rewrite:
                verdict = Verdict::Rewrite;
                break;
            case Verdict::Keep:
                break;
        }
    }
    return verdict;
}

}  // namespace

Verdict judgeValue(std::u16string_view pstField, int pinIdx, std::u16string& rewritten) {
    std::u16string unused;  // a text needs no buffer
    return judge(pstField, pinIdx, unused, rewritten);
}

// The rules of a position as tests: every rule kind but the ones that read a number or
// rewrite the value only keeps or blanks it, so their order does not matter.
PositionRules::PositionRules(int pinIdx) : pinIdx_(pinIdx) {
    for (const Rule& rule : rulesOf(pinIdx)) {
        if (rule.kind == Kind::None) break;
        keepsAll_ = false;
        switch (rule.kind) {
            case Kind::None:
                break;
            case Kind::Length:
                low_ = std::max(low_, static_cast<size_t>(rule.low));
                high_ = std::min(high_, static_cast<size_t>(rule.n));
                if (rule.digits != 0) {
                    digits_ = testsDigit_ ? static_cast<uint16_t>(digits_ & rule.digits) : rule.digits;
                    testsDigit_ = true;
                }
                break;
            case Kind::NoHalfWidth:
                forbidden_ |= kHalfWidthClasses;
                testsMore_ = true;
                break;
            case Kind::NoFullWidth:
                forbidden_ |= kFullWidthClasses;
                testsMore_ = true;
                break;
            case Kind::LeadingDigits:
                if (leadingCount_ != 0) oneByOne_ = true;  // two such rules do not fold into one
                leadingCount_ = static_cast<size_t>(rule.n);
                leadingDigits_ = rule.digits;
                testsMore_ = true;
                break;
            case Kind::NotAfter8:
                notAfter8_ = true;
                testsMore_ = true;
                break;
            case Kind::IntRange:
            case Kind::Decimal:
            case Kind::Decimal0To20:
            case Kind::YearMonth:
                oneByOne_ = true;
                break;
        }
    }
}

Verdict PositionRules::judgeOneByOne(std::string_view field, std::u16string& text, std::u16string& rewritten) const {
    return judge(field, pinIdx_, text, rewritten);
}

bool PositionRules::passesOtherTests(std::string_view field, std::string_view trimmed) const {
    for (const char c : field) {
        if (kAsciiClasses[static_cast<unsigned char>(c)] & forbidden_) return false;
    }
    if (leadingCount_ != 0 && !leadingDigitsIn(field, static_cast<int>(leadingCount_), leadingDigits_)) return false;
    return !(notAfter8_ && sortsAfter8(trimmed));
}

void appendChkStd(std::u16string_view pstField, int pinIdx, std::u16string& out) {
    std::u16string rewritten;
    switch (judgeValue(pstField, pinIdx, rewritten)) {
        case Verdict::Keep:
            out += pstField;
            break;
        case Verdict::Rewrite:
            out += rewritten;
            break;
        case Verdict::Blank:
            break;
    }
}

std::u16string ChkStd(std::u16string_view pstField, int pinIdx) {
    std::u16string result;
    appendChkStd(pstField, pinIdx, result);
    return result;
}

std::u16string GetStringCategories(std::u16string_view S, int pinKbn) {
    unsigned present = 0;
    for (char16_t c : S) present |= classOf(c);
    static constexpr std::u16string_view kShort[] = {u"半角", u"半角", u"全角", u"半角", u"全角"};
    static constexpr std::u16string_view kLong[] = {u"半角英字", u"半角数字", u"全角英数字", u"半角記号/半角カナ",
                                                    u"漢字・全角カナ・全角記号"};
    std::u16string labels;
    for (unsigned k = 0; k < 5; ++k) {
        if (!(present & (1u << k))) continue;
        if (!labels.empty()) labels += u", ";
        labels += pinKbn == 1 ? kShort[k] : kLong[k];
    }
    return labels;
}

}  // namespace vask::formone
