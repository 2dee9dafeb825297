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
// The same trimming of code page 932 bytes: a byte up to 0x20 is a character of its own,
// never part of a two-byte one.
inline std::string_view trimmedBytes(std::string_view bytes) {
    size_t begin = 0;
    size_t end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 0x20) --end;
    return bytes.substr(begin, end - begin);
}
// Both under one name, for code that works on text and on bytes alike.
inline std::string_view trimmedView(std::string_view bytes) { return trimmedBytes(bytes); }

// --- Letter case (for comparisons that ignore it): ASCII, full-width Latin, Latin-1,
// Greek and Cyrillic letters.
char16_t upperUnit(char16_t c);
char16_t lowerUnit(char16_t c);
std::u16string upperCase(std::u16string_view text);
bool sameTextIgnoringCase(std::u16string_view a, std::u16string_view b);

// --- Small utilities.
std::u16string replaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);
bool contains(std::u16string_view text, std::u16string_view part);
std::u16string fromAscii(std::string_view ascii);

}  // namespace vask
