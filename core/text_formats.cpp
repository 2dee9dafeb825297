#include "core/text_formats.h"

#include <type_traits>

namespace vask {

void splitOn(std::u16string_view line, char16_t separator, std::vector<std::u16string_view>& fields) {
    fields.clear();
    if (line.empty()) return;
    size_t start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == separator) {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    fields.push_back(line.substr(start));
}

void splitTabs(std::u16string_view line, std::vector<std::u16string_view>& fields) { splitOn(line, u'\t', fields); }

namespace {

// Splits `line` at every comma (and, with `tabs`, every tab), dropping double quotes, into
// fields[first], fields[first+1] ...; entries already there are reused (their storage
// kept), surplus ones removed. No more than `maxFields` fields are split off: the split
// stops at the separator after the last of them.
void splitCommaFieldsFrom(std::u16string_view line, std::vector<std::u16string>& fields, size_t first,
                          bool tabs = false, size_t maxFields = std::u16string_view::npos) {
    size_t count = first;
    auto nextField = [&]() -> std::u16string& {
        if (count == fields.size()) fields.emplace_back();
        std::u16string& field = fields[count++];
        field.clear();
        return field;
    };
    std::u16string* field = &nextField();
    size_t start = 0;
    // Copies the runs between commas and quotes in one piece each.
    for (size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c != u',' && c != u'"' && !(tabs && c == u'\t')) continue;
        field->append(line.substr(start, i - start));
        start = i + 1;
        if (c == u'"') continue;
        if (count - first == maxFields) {  // the last field wanted is complete
            start = line.size();
            break;
        }
        field = &nextField();
    }
    field->append(line.substr(start));
    fields.resize(count);
}

}  // namespace

bool GetCommaTxt(std::u16string_view pstString, std::vector<std::u16string>& pclList) {
    splitCommaFieldsFrom(pstString, pclList, pclList.size());
    return true;
}

void splitCommaFields(std::u16string_view line, std::vector<std::u16string>& fields) {
    splitCommaFieldsFrom(line, fields, 0);
}

void splitCommaAndTabFields(std::u16string_view line, size_t maxFields, std::vector<std::u16string>& fields) {
    splitCommaFieldsFrom(line, fields, 0, true, maxFields);
}

namespace {

bool needsQuotes(std::u16string_view field) {
    for (char16_t c : field) {
        if ((c >= 0x01 && c <= 0x20) || c == u'"' || c == u',') return true;
    }
    return false;
}

}  // namespace

void appendCommaText(const std::vector<std::u16string>& fields, std::u16string& out) {
    if (fields.size() == 1 && fields[0].empty()) {
        out += u"\"\"";
        return;
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out.push_back(u',');
        const std::u16string& field = fields[i];
        if (!needsQuotes(field)) {
            out += field;
            continue;
        }
        out.push_back(u'"');
        for (char16_t c : field) {
            if (c == u'"') out.push_back(u'"');
            out.push_back(c);
        }
        out.push_back(u'"');
    }
}

std::u16string CommaText(const std::vector<std::u16string>& fields) {
    std::u16string out;
    appendCommaText(fields, out);
    return out;
}

namespace {

// Walks the items of one line from left to right, in UTF-16 units or in code page 932
// bytes: the blanks, the comma and the double quote are below 0x40, never part of a
// two-byte character, so both give the same items.
template <typename Char>
class CommaTextReader {
public:
    using View = std::basic_string_view<Char>;

    explicit CommaTextReader(View line) : line_(line) { skipBlanks(); }

    // Reads the next item into `item`; false when the line has no more.
    bool next(std::basic_string<Char>& item) {
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
    static constexpr Char kQuote = '"';
    static constexpr Char kComma = ',';

    static constexpr bool isSeparatingBlank(Char c) {
        const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
        return unit >= 0x01 && unit <= 0x20;
    }

    void skipBlanks() {
        while (pos_ < line_.size() && isSeparatingBlank(line_[pos_])) ++pos_;
    }

    // From the opening quote to the next quote that is not doubled, or to the end of the line.
    void readQuoted(std::basic_string<Char>& item) {
        ++pos_;
        while (pos_ < line_.size()) {
            const Char c = line_[pos_++];
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

    void readPlain(std::basic_string<Char>& item) {
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

    View line_;
    size_t pos_ = 0;
    bool pendingEmpty_ = false;
};

template <typename Char>
bool itemAt(std::basic_string_view<Char> line, size_t index, std::basic_string<Char>& item) {
    CommaTextReader<Char> reader(line);
    for (size_t i = 0;; ++i) {
        if (!reader.next(item)) return false;
        if (i == index) return true;
    }
}

}  // namespace

bool delimitedTextItem(std::u16string_view line, size_t index, std::u16string& item) {
    return itemAt(line, index, item);
}

bool delimitedTextItem(std::string_view cp932Line, size_t index, std::string& item) {
    return itemAt(cp932Line, index, item);
}

std::vector<std::u16string> splitDelimitedText(std::u16string_view line) {
    std::vector<std::u16string> items;
    CommaTextReader<char16_t> reader(line);
    for (std::u16string item; reader.next(item);) items.push_back(item);
    return items;
}

std::vector<std::u16string> splitQuotedCsv(std::u16string_view Line) {
    std::vector<std::u16string> cells;
    std::u16string cell;
    bool quoted = false;
    for (size_t i = 0; i < Line.size(); ++i) {
        const char16_t c = Line[i];
        if (c == u'"') {
            if (quoted && i + 1 < Line.size() && Line[i + 1] == u'"') {
                cell.push_back(u'"');
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == u',' && !quoted) {
            cells.push_back(std::move(cell));
            cell.clear();
        } else {
            cell.push_back(c);
        }
    }
    cells.push_back(std::move(cell));
    return cells;
}

std::u16string joinWithoutQuotes(const std::vector<std::u16string>& Cols) {
    std::u16string line;
    for (size_t i = 0; i < Cols.size(); ++i) {
        if (i > 0) line.push_back(u',');
        for (const char16_t c : Cols[i]) {
            if (c != u'"') line.push_back(c);
        }
    }
    return line;
}

std::u16string joinFields(const std::vector<std::u16string>& fields, char16_t separator) {
    std::u16string line;
    for (size_t k = 0; k < fields.size(); ++k) {
        if (k > 0) line.push_back(separator);
        line += fields[k];
    }
    return line;
}

}  // namespace vask
