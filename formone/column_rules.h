// The column rules of the 89-column EHR link file: every value taken from a form-1 line
// is tested (and for a few kinds rewritten) by the rule of the form-1 position it came
// from. A value that breaks its rule becomes the empty text; nothing is reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text.h"

namespace vask::formone {

// What the rules of form-1 position `pinIdx` make of `pstField` (untrimmed, as split off
// at the tabs): the value is kept as it is, blanked, or rewritten into its normal form,
// which is then in `rewritten` (a year-month completed, a decimal formatted). A caller that
// holds the value's bytes copies them when it is kept.
enum class Verdict { Keep, Blank, Rewrite };
Verdict judgeValue(std::u16string_view pstField, int pinIdx, std::u16string& rewritten);

// The rules of one form-1 position, looked up once for the values of many lines. Most
// positions only test a value (bound its trimmed length, allow one digit of a code, forbid
// half- or full-width characters, ask for leading digits) or have no rule; a field of
// ASCII bytes is judged for them here in place, the length and the code inline.
class PositionRules {
public:
    explicit PositionRules(int pinIdx);
    // judgeValue of a field of ASCII bytes (all below 80), which are the same characters
    // in every encoding the form-1 file may have; `text` is a buffer for the text of a
    // number that a rule reads.
    Verdict judgeAscii(std::string_view field, std::u16string& text, std::u16string& rewritten) const;

private:
    Verdict judgeOneByOne(std::string_view field, std::u16string& text, std::u16string& rewritten) const;
    bool passesOtherTests(std::string_view field, std::string_view trimmed) const;

    int pinIdx_;
    bool keepsAll_ = true;    // no rule at all
    bool oneByOne_ = false;   // a rule reads a number or rewrites the value: the rules apply in turn
    bool testsMore_ = false;  // a rule tests more than the length and the code
    size_t low_ = 0;          // bounds of the trimmed length
    size_t high_ = SIZE_MAX;
    bool testsDigit_ = false;  // a code: the one character must be a digit of digits_
    uint16_t digits_ = 0;      // bit d set: the digit d is allowed
    unsigned forbidden_ = 0;   // character classes that blank the value
    size_t leadingCount_ = 0;  // the first leadingCount_ characters must be digits of leadingDigits_
    uint16_t leadingDigits_ = 0;
    bool notAfter8_ = false;  // the trimmed value must not sort after "8"
};

inline Verdict PositionRules::judgeAscii(std::string_view field, std::u16string& text,
                                         std::u16string& rewritten) const {
    if (keepsAll_) return Verdict::Keep;
    if (oneByOne_) return judgeOneByOne(field, text, rewritten);
    const std::string_view trimmed = trimmedBytes(field);  // trimmed as text is
    if (trimmed.size() < low_ || trimmed.size() > high_) return Verdict::Blank;
    if (testsDigit_) {
        const unsigned digit = static_cast<unsigned char>(trimmed[0]) - unsigned{'0'};
        if (digit > 9 || !((digits_ >> digit) & 1u)) return Verdict::Blank;
    }
    if (testsMore_ && !passesOtherTests(field, trimmed)) return Verdict::Blank;
    return Verdict::Keep;
}

// The value to write for `pstField` (untrimmed, as split off at the tabs) taken from
// form-1 position `pinIdx`: unchanged, rewritten into its normal form, or empty.
std::u16string ChkStd(std::u16string_view pstField, int pinIdx);
// The same, appended to `out` (the converter's line buffer) without a temporary text.
void appendChkStd(std::u16string_view pstField, int pinIdx, std::u16string& out);

// The character classes present in `S`, in class order, joined by ", ". With `pinKbn` 1
// the short labels "半角" / "全角" (a label may repeat), otherwise the long ones. Kept as the
// named form of the half- and full-width tests: ChkStd asks the same classes directly
// (holdsClass), without making label texts for every value of a large file.
std::u16string GetStringCategories(std::u16string_view S, int pinKbn);

}  // namespace vask::formone
