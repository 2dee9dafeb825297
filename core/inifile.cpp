#include "core/inifile.h"

#include <optional>
#include <system_error>
#include <vector>

#include "core/text.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask {
namespace {

constexpr size_t kValueLimit = 2047;
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

// One physical line of the file: its bytes as they are (so that untouched lines are
// written back unchanged), its line break, and its text.
struct RawLine {
    std::string bytes;
    std::string lineBreak;
    std::u16string text;
};

struct IniDocument {
    bool utf16 = false;
    std::vector<RawLine> lines;
};

// Whitespace around names and values, as the profile functions drop it.
std::u16string_view stripSpaces(std::u16string_view s) {
    auto blank = [](char16_t c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
    };
    size_t b = 0;
    size_t e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Splits the file into lines at LF (a CR before it belongs to the break) or a lone CR;
// for UTF-16 the breaks are two-byte units. A last odd byte of a UTF-16 file is half a
// unit and no text: it is dropped, so that lines written after it stay on unit bounds.
IniDocument parse(std::string_view bytes) {
    IniDocument doc;
    doc.utf16 = bytes.substr(0, kUtf16Bom.size()) == kUtf16Bom;
    if (doc.utf16 && bytes.size() % 2 != 0) bytes.remove_suffix(1);
    const size_t unit = doc.utf16 ? 2 : 1;
    size_t pos = doc.utf16 ? kUtf16Bom.size() : 0;
    auto unitAt = [&](size_t i) -> int {
        if (i + unit > bytes.size()) return -1;
        return doc.utf16 ? (static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8)
                         : static_cast<unsigned char>(bytes[i]);
    };
    while (pos < bytes.size()) {
        size_t k = pos;
        while (k < bytes.size() && unitAt(k) != '\r' && unitAt(k) != '\n') k += unit;
        if (k > bytes.size()) k = bytes.size();
        RawLine line;
        line.bytes = bytes.substr(pos, k - pos);
        size_t breakEnd = k;
        if (unitAt(breakEnd) == '\r') breakEnd += unit;
        if (unitAt(breakEnd) == '\n') breakEnd += unit;
        line.lineBreak = bytes.substr(k, breakEnd - k);
        line.text = doc.utf16 ? utf16leToUtf16(line.bytes) : cp932::decode(line.bytes);
        doc.lines.push_back(std::move(line));
        pos = breakEnd;
    }
    return doc;
}

std::optional<std::u16string> sectionName(std::u16string_view text) {
    const std::u16string_view s = stripSpaces(text);
    if (s.empty() || s.front() != u'[') return std::nullopt;
    const size_t close = s.find(u']');
    const std::u16string_view name = close == std::u16string_view::npos ? s.substr(1) : s.substr(1, close - 1);
    return std::u16string(stripSpaces(name));
}

// Key and raw value of a key line (a line without "=" is a key with no value).
void splitEntry(std::u16string_view text, std::u16string_view& key, std::u16string_view& value) {
    const size_t eq = text.find(u'=');
    key = stripSpaces(eq == std::u16string_view::npos ? text : text.substr(0, eq));
    value = eq == std::u16string_view::npos ? std::u16string_view{} : stripSpaces(text.substr(eq + 1));
}

// Lines [first, last) of the first section named `section`; first == npos when none.
struct SectionRange {
    size_t header = std::u16string::npos;
    size_t end = 0;
};

SectionRange findSection(const IniDocument& doc, std::u16string_view section) {
    SectionRange range;
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        const auto name = sectionName(doc.lines[i].text);
        if (!name) continue;
        if (range.header != std::u16string::npos) {
            range.end = i;
            return range;
        }
        if (sameTextIgnoringCase(*name, section)) range.header = i;
    }
    range.end = doc.lines.size();
    return range;
}

size_t findKey(const IniDocument& doc, const SectionRange& range, std::u16string_view key) {
    for (size_t i = range.header + 1; i < range.end; ++i) {
        std::u16string_view k;
        std::u16string_view v;
        splitEntry(doc.lines[i].text, k, v);
        if (!k.empty() && sameTextIgnoringCase(k, key)) return i;
    }
    return std::u16string::npos;
}

std::u16string unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::u16string(value.substr(0, kValueLimit));
}

RawLine makeLine(const IniDocument& doc, std::u16string text) {
    RawLine line;
    line.bytes = doc.utf16 ? utf16ToUtf16le(text) : cp932::encode(text);
    line.lineBreak = doc.utf16 ? utf16ToUtf16le(u"\r\n") : "\r\n";
    line.text = std::move(text);
    return line;
}

std::string serialise(const IniDocument& doc) {
    std::string out = doc.utf16 ? std::string(kUtf16Bom) : std::string();
    for (const auto& line : doc.lines) out += line.bytes + line.lineBreak;
    return out;
}

}  // namespace

std::filesystem::path settingsFile(const std::filesystem::path& programFolder) { return programFolder / "user.ini"; }

std::u16string IFReadIniStr(const std::filesystem::path& iniFile, std::u16string_view pMKey, std::u16string_view pSKey,
                            std::u16string_view pDef) {
    std::string bytes;
    try {
        if (!fileExists(iniFile)) return std::u16string(pDef);
        bytes = readAllBytes(iniFile);
    } catch (const std::exception&) {
        return std::u16string(pDef);
    }
    const IniDocument doc = parse(bytes);
    const SectionRange range = findSection(doc, pMKey);
    if (range.header == std::u16string::npos) return std::u16string(pDef);
    const size_t at = findKey(doc, range, pSKey);
    if (at == std::u16string::npos) return std::u16string(pDef);
    std::u16string_view key;
    std::u16string_view value;
    splitEntry(doc.lines[at].text, key, value);
    return unquote(value);
}

void IFWriteIniStr(const std::filesystem::path& iniFile, std::u16string_view pMKey, std::u16string_view pSKey,
                   std::u16string_view pPara) {
    IniDocument doc = fileExists(iniFile) ? parse(readAllBytes(iniFile)) : IniDocument{};
    const std::u16string entry = std::u16string(pSKey) + u"=" + std::u16string(pPara);
    const SectionRange range = findSection(doc, pMKey);
    if (range.header == std::u16string::npos) {
        if (!doc.lines.empty() && doc.lines.back().lineBreak.empty())
            doc.lines.back().lineBreak = makeLine(doc, {}).lineBreak;
        doc.lines.push_back(makeLine(doc, u"[" + std::u16string(pMKey) + u"]"));
        doc.lines.push_back(makeLine(doc, entry));
    } else if (const size_t at = findKey(doc, range, pSKey); at != std::u16string::npos) {
        RawLine replaced = makeLine(doc, entry);
        if (!doc.lines[at].lineBreak.empty()) replaced.lineBreak = doc.lines[at].lineBreak;
        doc.lines[at] = std::move(replaced);
    } else {
        // After the section's last non-blank line, before the blank lines that end it.
        size_t insertAt = range.end;
        while (insertAt > range.header + 1 && isBlank(doc.lines[insertAt - 1].text)) --insertAt;
        RawLine& before = doc.lines[insertAt - 1];
        if (before.lineBreak.empty()) before.lineBreak = makeLine(doc, {}).lineBreak;
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), makeLine(doc, entry));
    }
    writeFileAtomically(iniFile, serialise(doc));
}

}  // namespace vask
