// The INI reader and writer on arbitrary file contents. Input parts (separated by a line
// "~~~~"): the file's bytes, a section, a key, a value, and another name (UTF-8).
//   - Reading any file with any names never fails.
//   - Writing then reading returns what was written, when the three texts can be written
//     and read back as such: the section is free of "]", the key is not empty, holds no
//     "=" and does not start with "[" (the line would open a section), neither the key nor
//     the value is surrounded by blanks (space, tab, CR, LF, VT, FF: the reader drops
//     them) or holds a line break, the value is not enclosed in a pair of equal quotes
//     (the reader drops them) and has at most 2047 units, and the file's encoding (UTF-16
//     LE after its mark, else code page 932) holds all three.
//   - Writing keeps every other entry: the other name as a key of the written section,
//     and the key in a section of the other name, read the same before and after.
#include <cstddef>
#include <cstdint>

#include "core/inifile.h"
#include "core/text.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/utf.h"

using namespace vask;

namespace {

constexpr std::u16string_view kDefault = u"\u0001default";

bool isProfileBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

bool unstripped(std::u16string_view s) { return !s.empty() && (isProfileBlank(s.front()) || isProfileBlank(s.back())); }

bool holdsBreak(std::u16string_view s) { return s.find_first_of(u"\r\n") != s.npos; }

bool encodable(std::u16string_view s, bool utf16) {
    return utf16 ? utf16leToUtf16(utf16ToUtf16le(s)) == s : cp932::decode(cp932::encode(s)) == s;
}

bool writable(std::u16string_view section, std::u16string_view key, std::u16string_view value, bool utf16) {
    if (section.find(u']') != section.npos || holdsBreak(section) || unstripped(section)) return false;
    if (key.empty() || key.find(u'=') != key.npos || key.front() == u'[' || holdsBreak(key) || unstripped(key)) {
        return false;
    }
    if (holdsBreak(value) || unstripped(value) || value.size() > 2047) return false;
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
        return false;
    }
    return encodable(section, utf16) && encodable(key, utf16) && encodable(value, utf16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::splitParts(fuzz::bytesOf(data, size), 5);
    const std::u16string section = fuzz::textOf(parts[1]);
    const std::u16string key = fuzz::textOf(parts[2]);
    const std::u16string value = fuzz::textOf(parts[3]);
    const std::u16string other = fuzz::textOf(parts[4]);

    const std::filesystem::path file = fuzz::emptyFolder("ini") / "user.ini";
    fuzz::require(IFReadIniStr(file, section, key, kDefault) == kDefault, "a missing file gives the default");
    fuzz::writeFile(file, parts[0]);
    const std::u16string otherKeyBefore = IFReadIniStr(file, section, other, kDefault);
    const std::u16string otherSectionBefore = IFReadIniStr(file, other, key, kDefault);

    IFWriteIniStr(file, section, key, value);

    const bool utf16 = parts[0].substr(0, 2) == "\xFF\xFE";
    if (!writable(section, key, value, utf16)) return 0;
    fuzz::require(IFReadIniStr(file, section, key, kDefault) == value, "a written value reads back");
    if (!sameTextIgnoringCase(other, key)) {
        fuzz::require(IFReadIniStr(file, section, other, kDefault) == otherKeyBefore, "another key keeps its value");
    }
    if (!sameTextIgnoringCase(other, section)) {
        fuzz::require(IFReadIniStr(file, other, key, kDefault) == otherSectionBefore,
                      "another section keeps its value");
    }
    return 0;
}
