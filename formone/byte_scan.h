// Finding the separators of form-1 lines in their bytes, sixteen at a time. A tab, comma,
// double quote, CR or LF byte is never part of a character in code page 932 (whose second
// bytes start at 40) nor in UTF-8, so lines and fields split at these bytes are the lines
// and fields of the decoded text.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vask::formone {

// The fields of one line, split at its separator bytes as the tab split rule splits text:
// an empty line has no fields, k separators give k + 1 fields. Kept from line to line, so
// that a large file is split without allocating.
class ByteFields {
public:
    // Splits `line` (which must outlive the fields) at every `separator` and
    // `alsoSeparator` byte. No more than `maxFields` fields are split off: the split stops
    // at the separator after the last of them.
    void split(std::string_view line, char separator, char alsoSeparator, size_t maxFields);

    size_t size() const { return count_; }
    std::string_view operator[](size_t i) const {
        return std::string_view(line_.data() + start_[i], start_[i + 1] - 1 - start_[i]);
    }
    // Whether every byte of field i is below 80: such bytes are the same characters in
    // code page 932, UTF-8 and UTF-16, so the field needs no decoding.
    bool isAscii(size_t i) const { return ascii_[i] != 0; }

private:
    std::string_view line_;
    size_t count_ = 0;
    // Field i runs from start_[i] to the separator before start_[i + 1].
    std::vector<size_t> start_;
    std::vector<unsigned char> ascii_;
};

}  // namespace vask::formone
