// The column rules of the 89-column EHR link file: every value taken from a form-1 line
// is tested (and for a few kinds rewritten) by the rule of the form-1 position it came
// from. A value that breaks its rule becomes the empty text; nothing is reported.
#pragma once

#include <string>
#include <string_view>

namespace vask::formone {

// What the rules of form-1 position `pinIdx` make of `pstField` (untrimmed, as split off
// at the tabs): the value is kept as it is, blanked, or rewritten into its normal form,
// which is then in `rewritten` (a year-month completed, a decimal formatted). A caller that
// holds the value's bytes copies them when it is kept.
enum class Verdict { Keep, Blank, Rewrite };
Verdict judgeValue(std::u16string_view pstField, int pinIdx, std::u16string& rewritten);
// The same for a field of ASCII bytes (all below 80), which need no decoding.
Verdict judgeAsciiValue(std::string_view field, int pinIdx, std::u16string& rewritten);

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
