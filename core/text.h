// Text helpers shared by every tool. Text is UTF-16; lengths and positions count code units.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vask {

// --- Trimming: every leading and trailing code unit up to U+0020 goes (never U+3000).
constexpr bool isBlankUnit(char16_t c) { return c <= 0x20; }
// Inline: the search of anonymised files trims every field of a whole file.
inline std::u16string_view trimmedView(std::u16string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlankUnit(text[begin])) ++begin;
    while (end > begin && isBlankUnit(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}
std::u16string trim(std::u16string_view text);
bool isBlank(std::u16string_view text);

// --- Splitting and joining.
// Tab split: an empty line has no fields; k tabs give k + 1 fields; no quoting.
void splitTabs(std::u16string_view line, std::vector<std::u16string_view>& fields);
// Splits on every occurrence of `separator` with the tab rule (an empty line has no field).
void splitOn(std::u16string_view line, char16_t separator, std::vector<std::u16string_view>& fields);

// GetCommaTxt: appends the fields of `pstString` to `pclList`; every comma separates,
// every double quote is dropped; always at least one field.
bool GetCommaTxt(std::u16string_view pstString, std::vector<std::u16string>& pclList);
// The same split into `fields`, replacing what they held but reusing their storage, for
// loops over large files.
void splitCommaFields(std::u16string_view line, std::vector<std::u16string>& fields);
// The first converter's split of a form-1 record: every tab separates as a comma does (as
// if the tabs had become commas first), double quotes are dropped, and no more than
// `maxFields` fields are split off (a longer line gives that many, the last one whole).
void splitCommaAndTabFields(std::u16string_view line, size_t maxFields, std::vector<std::u16string>& fields);
// CommaText: joins with commas; a field holding U+0001..U+0020, '"' or ',' is quoted with
// its quotes doubled; one empty field gives "".
std::u16string CommaText(const std::vector<std::u16string>& fields);
void appendCommaText(const std::vector<std::u16string>& fields, std::u16string& out);

// --- Letter case (for comparisons that ignore it): ASCII, full-width Latin, Latin-1,
// Greek and Cyrillic letters.
char16_t upperUnit(char16_t c);
char16_t lowerUnit(char16_t c);
std::u16string upperCase(std::u16string_view text);
bool sameTextIgnoringCase(std::u16string_view a, std::u16string_view b);

// --- Small utilities.
std::u16string replaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);
bool contains(std::u16string_view text, std::u16string_view part);
bool containsIgnoringCase(std::u16string_view text, std::u16string_view part);
std::u16string fromAscii(std::string_view ascii);

}  // namespace vask
