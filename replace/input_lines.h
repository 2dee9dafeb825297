// The lines of the replacement's data file, exactly as the line-list loader gives them
// (a byte-order mark selects UTF-8 or UTF-16, otherwise code page 932; CR LF, LF or a lone
// CR end a line), but handed out one at a time in constant memory. A code page 932 file,
// the usual case, is split before decoding: its bytes CR and LF are never part of a
// character, so that gives the same lines as decoding the whole file first.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/textfile.h"

namespace vask::replace {

class InputLines {
public:
    explicit InputLines(const std::filesystem::path& file);  // raises Error (cannot open)
    // The next line; false when there is none. Raises Error when the file cannot be read.
    bool next(std::u16string& line);

private:
    std::optional<Cp932LineReader> stream_;
    std::optional<TextLineReader> marked_;  // a file with a byte-order mark
};

}  // namespace vask::replace
