// Text for standard output and standard error.
//
// Pipes and files receive the UTF-8 bytes as given, with "\n" line ends, on every system.
// A Windows console receives the text as UTF-16, so that Japanese shows whatever the
// console's code page is.
#pragma once

#include <cstdio>
#include <string_view>

namespace vask {

void writeText(std::FILE* stream, std::string_view utf8);

}  // namespace vask
