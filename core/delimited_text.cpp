#include "core/delimited_text.h"

namespace vask {
namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

constexpr bool isSeparatingBlank(char16_t c) { return c >= 0x01 && c <= 0x20; }

// Walks the items of one line from left to right.
class CommaTextReader {
public:
    explicit CommaTextReader(std::u16string_view line) : line_(line) { skipBlanks(); }

    // Reads the next item into `item`; false when the line has no more.
    bool next(std::u16string& item) {
        item.clear();
        if (pendingEmpty_) {
            pendingEmpty_ = false;
            return true;
        }
        if (pos_ >= line_.size()) return false;
        if (line_[pos_] == kQuote) {
            readQuoted(item);
        } else {
            readPlain(item);
        }
        skipSeparator();
        return true;
    }

private:
    void skipBlanks() {
        while (pos_ < line_.size() && isSeparatingBlank(line_[pos_])) ++pos_;
    }

    // From the opening quote to the next quote that is not doubled, or to the end of the line.
    void readQuoted(std::u16string& item) {
        ++pos_;
        while (pos_ < line_.size()) {
            const char16_t c = line_[pos_++];
            if (c != kQuote) {
                item.push_back(c);
            } else if (pos_ < line_.size() && line_[pos_] == kQuote) {
                item.push_back(kQuote);
                ++pos_;
            } else {
                return;
            }
        }
    }

    void readPlain(std::u16string& item) {
        const size_t start = pos_;
        while (pos_ < line_.size() && line_[pos_] != kComma && !isSeparatingBlank(line_[pos_])) ++pos_;
        item.assign(line_.substr(start, pos_ - start));
    }

    // Blanks after an item, then at most one comma with the blanks after it. A comma that is
    // the last character of the line leaves one more, empty, item.
    void skipSeparator() {
        skipBlanks();
        if (pos_ >= line_.size() || line_[pos_] != kComma) return;
        ++pos_;
        if (pos_ == line_.size()) pendingEmpty_ = true;
        skipBlanks();
    }

    std::u16string_view line_;
    size_t pos_ = 0;
    bool pendingEmpty_ = false;
};

}  // namespace

bool delimitedTextItem(std::u16string_view line, size_t index, std::u16string& item) {
    CommaTextReader reader(line);
    for (size_t i = 0;; ++i) {
        if (!reader.next(item)) return false;
        if (i == index) return true;
    }
}

std::vector<std::u16string> splitDelimitedText(std::u16string_view line) {
    std::vector<std::u16string> items;
    CommaTextReader reader(line);
    for (std::u16string item; reader.next(item);) items.push_back(item);
    return items;
}

}  // namespace vask
