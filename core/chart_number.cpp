#include "core/chart_number.h"

#include <algorithm>

#include "core/text.h"

namespace vask {
namespace {

// The part of `text` before the first `mark`, trimmed; all of `text` when it has none.
std::u16string_view beforeFirst(std::u16string_view text, char16_t mark) {
    const size_t at = text.find(mark);
    return at == std::u16string_view::npos ? text : trimmedView(text.substr(0, at));
}

char16_t halfWidth(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char16_t>(c - 0xFF01 + 0x21);
    return c == 0x3000 ? u' ' : c;
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::u16string cutBranchNumber(std::u16string_view chartNumber) {
    std::u16string a(trimmedView(chartNumber));
    if (a.ends_with(u"*0")) a = trim(std::u16string_view(a).substr(0, a.size() - 2));
    for (const char16_t mark : {u'-', u'/', u'*'}) {
        a = std::u16string(beforeFirst(a, mark));
        std::erase(a, u' ');
    }
    return a;
}

std::u16string normalisedChartNumber(std::u16string_view chartNumber) {
    std::u16string half(chartNumber);
    std::transform(half.begin(), half.end(), half.begin(), halfWidth);
    std::u16string number = upperCase(cutBranchNumber(half));
    if (!number.empty() && std::all_of(number.begin(), number.end(), isDigit)) {
        const size_t firstSignificant = std::min(number.find_first_not_of(u'0'), number.size() - 1);
        number.erase(0, firstSignificant);
    }
    return number;
}

}  // namespace vask
