#include "core/text.h"

namespace vask {

std::u16string trim(std::u16string_view text) { return std::u16string(trimmedView(text)); }

bool isBlank(std::u16string_view text) { return trimmedView(text).empty(); }

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

char16_t upperUnit(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);              // full-width Latin
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);   // Latin-1
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);  // Greek
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);                // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    return c;
}

char16_t lowerUnit(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
    if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 0x20);
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    return c;
}

std::u16string upperCase(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = upperUnit(c);
    return out;
}

bool sameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && upperUnit(a[i]) != upperUnit(b[i])) return false;
    }
    return true;
}

std::u16string replaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
    std::u16string out;
    if (from.empty()) return std::u16string(text);
    size_t pos = 0;
    for (size_t hit; (hit = text.find(from, pos)) != std::u16string_view::npos; pos = hit + from.size()) {
        out.append(text.substr(pos, hit - pos));
        out.append(to);
    }
    out.append(text.substr(pos));
    return out;
}

bool contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

bool containsIgnoringCase(std::u16string_view text, std::u16string_view part) {
    return upperCase(text).find(upperCase(part)) != std::u16string::npos;
}

std::u16string fromAscii(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace vask
