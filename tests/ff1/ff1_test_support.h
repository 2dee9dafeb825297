// Helpers of the FF1 link tests: FF1 data lines and their payloads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "../support/test_support.h"

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

}  // namespace vask::test
