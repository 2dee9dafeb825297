// ChkStd on any value at any position (byte 0 of the input chooses the position, from -8
// to 247; the rest is the value as UTF-8). ChkStd never throws, and its result R is one
// of exactly three things:
//   - the empty text (the value broke a rule of its position; never at a position
//     without rules: 2, 4, 9, 10, 15, 47, 49, 70, 71, 77, 81, 83, 84, 88 to 137, 139,
//     and every position below 0 or above 140);
//   - the value itself, untrimmed (always so at a position without rules);
//   - a normal form, only at these positions, with T the value trimmed of units up to
//     U+0020 and X = T read as a decimal number:
//       3 (year-month): T + "01", when T is 6 units long;
//       7 (decimal): X as "%3.1f", that is an optional "-" (only when the rounded value
//         is not zero), one or more digits, ".", one digit, within 0.05 of X; a value of
//         10^18 or more in the general form "d[.ddd]E<exponent>";
//       22, 52 (decimal 0 to 20): X as "%3.1f" from "0.0" to "20.0".
// R passes its rules again unchanged, except "0.0": a value that rounds to zero is kept
// as "0.0", but zero itself is blanked.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>

#include "core/numbers.h"
#include "core/text.h"
#include "formone/column_rules.h"
#include "fuzz_support.h"

using namespace vask;
using vask::formone::ChkStd;

namespace {

bool hasRules(int position) {
    static const std::set<int> kUnruled = {2, 4, 9, 10, 15, 47, 49, 70, 71, 77, 81, 83, 84, 139};
    return position >= 0 && position <= 140 && !(position >= 88 && position <= 137) && !kUnruled.count(position);
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// "-"? digits "." digit
bool isFixedForm(std::u16string_view r) {
    if (!r.empty() && r.front() == u'-') r.remove_prefix(1);
    const size_t point = r.find(u'.');
    if (point == 0 || point == r.npos || point + 2 != r.size() || !isDigit(r.back())) return false;
    for (size_t i = 0; i < point; ++i) {
        if (!isDigit(r[i])) return false;
    }
    return true;
}

// "-"? digit ("." digits)? "E" digits, for magnitudes of 10^18 and more
bool isGeneralForm(std::u16string_view r) {
    if (!r.empty() && r.front() == u'-') r.remove_prefix(1);
    const size_t e = r.find(u'E');
    if (e == r.npos || e == 0 || !isDigit(r[0]) || (e > 1 && (r[1] != u'.' || e == 2))) return false;
    for (size_t i = 2; i < e; ++i) {
        if (!isDigit(r[i])) return false;
    }
    const auto exponent = readInt32(r.substr(e + 1));
    return exponent && *exponent >= 18 && isDigit(r[e + 1]);
}

bool isDecimalForm(std::u16string_view r, std::u16string_view trimmed) {
    const long double x = readDecimalOr(trimmed, 0);
    if (isGeneralForm(r)) return std::fabs(x) >= 1e18L;
    if (!isFixedForm(r) || r == u"-0.0") return false;
    const long double back = readDecimalOr(r, 0);
    return std::fabs(back - x) <= 0.05L + std::fabs(x) * 1e-15L;
}

bool isNormalForm(std::u16string_view r, std::u16string_view value, int position) {
    const std::u16string_view t = trimmedView(value);
    switch (position) {
        case 3:
            return t.size() == 6 && r == std::u16string(t) + u"01";
        case 7:
            return isDecimalForm(r, t);
        case 22:
        case 52: {
            if (!isFixedForm(r) || r.front() == u'-') return false;
            const long double back = readDecimalOr(r, -1);
            return back >= 0 && back <= 20 && isDecimalForm(r, t);
        }
        default:
            return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int position = static_cast<int>(data[0]) - 8;
    const std::u16string value = fuzz::textOf(fuzz::bytesOf(data + 1, size - 1));
    const std::u16string r = ChkStd(value, position);

    std::u16string appended = u"a\t";
    formone::appendChkStd(value, position, appended);
    fuzz::require(appended == u"a\t" + r, "appendChkStd appends what ChkStd gives");

    if (!hasRules(position)) {
        fuzz::require(r == value, "a position without rules keeps the value");
        return 0;
    }
    fuzz::require(r.empty() || r == value || isNormalForm(r, value, position),
                  "the result is empty, the value or the position's normal form");
    if (r != u"0.0") fuzz::require(ChkStd(r, position) == r, "a result passes its rules again unchanged");
    return 0;
}
