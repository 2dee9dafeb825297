// Streams the lines of a file as raw bytes, for files whose encoding is known only at run
// time (FF1 files are code page 932 or UTF-8) and whose lines may be kept as read.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace vask::ff1 {

// CR LF, LF or a lone CR end a line (none of them is ever part of a multi-byte character
// in code page 932 or UTF-8); a file that ends with a break gives no extra empty line.
// Memory stays bounded by the longest line.
class LineBytesReader {
public:
    explicit LineBytesReader(const std::filesystem::path& path);  // raises Error (cannot open)

    // Drops `mark` (a byte-order mark) when the file begins with it; call before next().
    void skipLeading(std::string_view mark);
    // The next line without its break, valid until the next call; false at the end.
    bool next(std::string_view& line);

private:
    bool fill();

    InputFile file_;
    std::string block_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool atEnd_ = false;
    bool skipLineFeed_ = false;  // the last line ended in CR: an LF right after belongs to it
    std::string carried_;        // the start of a line that runs past the block
};

}  // namespace vask::ff1
