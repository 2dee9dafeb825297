// Helpers of the FF1 link tests: FF1 lines, files of lines, and the lines of an output.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "../support/test_support.h"
#include "platform/paths.h"

namespace vask::test {

// An FF1 data line (without its break): facility code, data ID, year-month, item code,
// sequence number 1 and the given payloads.
inline std::u16string ff1Line(std::u16string_view id, std::u16string_view ym, std::u16string_view code,
                              const std::vector<std::u16string>& payloads, std::u16string_view facility = u"131") {
    std::u16string line = std::u16string(facility) + u"\t" + std::u16string(id) + u"\t" + std::u16string(ym) + u"\t" +
                          std::u16string(code) + u"\t1";
    for (const auto& p : payloads) line += u"\t" + p;
    return line;
}

// The payloads 1 to 9 with the first ones given, so that the line has 14 fields.
inline std::vector<std::u16string> payloads(std::vector<std::u16string> first) {
    first.resize(9);
    return first;
}

// Code page 932 bytes of the lines, each followed by CR LF.
inline std::string sjisLines(const std::vector<std::u16string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += sjis(line) + "\r\n";
    return bytes;
}

// The lines of code page 932 bytes split at CR LF (the last break gives no extra line).
inline std::vector<std::u16string> linesOf(std::string_view bytes) {
    std::vector<std::u16string> lines;
    const std::u16string text = fromSjis(bytes);
    size_t start = 0;
    for (size_t at; (at = text.find(u"\r\n", start)) != std::u16string::npos; start = at + 2) {
        lines.push_back(text.substr(start, at - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

inline std::u16string u16path(const std::filesystem::path& path) { return fromPath(path); }

}  // namespace vask::test
