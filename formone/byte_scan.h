// Finding the separators of form-1 lines in their bytes, sixteen at a time. A tab, comma,
// double quote, CR or LF byte is never part of a character in code page 932 (whose second
// bytes start at 40) nor in UTF-8, so lines and fields split at these bytes are the lines
// and fields of the decoded text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vask::formone {

// The position of the first CR or LF byte in `bytes`, or its size when there is none.
size_t findLineBreak(std::string_view bytes);

// Splits `line` at every `separator` and `alsoSeparator` byte into views of it, as the
// tab split rule splits text: an empty line has no fields, k separators give k + 1 fields.
// No more than `maxFields` fields are split off: the split stops at the separator after
// the last of them.
void splitFields(std::string_view line, char separator, char alsoSeparator, size_t maxFields,
                 std::vector<std::string_view>& fields);

// Whether every byte is below 80: such bytes are the same characters in code page 932,
// UTF-8 and UTF-16, so a field of them needs no decoding.
bool isAscii(std::string_view bytes);

}  // namespace vask::formone
