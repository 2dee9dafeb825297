#include "formone/delimited_text.h"

namespace vask::formone {
namespace {

constexpr char16_t kDelimiter = u',';
constexpr char16_t kQuote = u'"';

constexpr bool isSeparatingBlank(char16_t c) { return c <= 0x20; }

// Reads a quoted item starting at the quote at `pos`; leaves `pos` after its closing
// quote, or at the end when the quote is never closed (the item then runs to the end).
std::u16string readQuoted(std::u16string_view text, size_t& pos) {
    std::u16string item;
    ++pos;
    while (pos < text.size()) {
        const size_t quote = text.find(kQuote, pos);
        if (quote == std::u16string_view::npos) break;
        item.append(text.substr(pos, quote - pos));
        pos = quote + 1;
        if (pos >= text.size() || text[pos] != kQuote) return item;
        item.push_back(kQuote);
        ++pos;
    }
    item.append(text.substr(pos));
    pos = text.size();
    return item;
}

std::u16string_view readPlain(std::u16string_view text, size_t& pos) {
    const size_t start = pos;
    while (pos < text.size() && !isSeparatingBlank(text[pos]) && text[pos] != kDelimiter) ++pos;
    return text.substr(start, pos - start);
}

void skipBlanks(std::u16string_view text, size_t& pos) {
    while (pos < text.size() && isSeparatingBlank(text[pos])) ++pos;
}

}  // namespace

std::vector<std::u16string> splitDelimitedText(std::u16string_view text) {
    text = text.substr(0, text.find(u'\0'));
    std::vector<std::u16string> items;
    size_t pos = 0;
    skipBlanks(text, pos);
    while (pos < text.size()) {
        if (text[pos] == kQuote) {
            items.push_back(readQuoted(text, pos));
        } else {
            items.emplace_back(readPlain(text, pos));
        }
        skipBlanks(text, pos);
        if (pos < text.size() && text[pos] == kDelimiter) {
            if (pos + 1 == text.size()) items.emplace_back();
            ++pos;
            skipBlanks(text, pos);
        }
    }
    return items;
}

}  // namespace vask::formone
