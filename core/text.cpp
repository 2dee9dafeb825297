#include "core/text.h"

namespace vask {

std::u16string trim(std::u16string_view text) { return std::u16string(trimmedView(text)); }

bool isBlank(std::u16string_view text) { return trimmedView(text).empty(); }

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

std::u16string fromAscii(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace vask
