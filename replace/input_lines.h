// The lines of the replacement's data file, exactly as the line-list loader gives them
// (a byte-order mark selects UTF-8 or UTF-16, otherwise code page 932; CR LF, LF or a lone
// CR end a line), but handed out one at a time in constant memory. A code page 932 file,
// the usual case, is split before decoding: its bytes CR and LF are never part of a
// character, so that gives the same lines as decoding the whole file first; its lines can
// also be had as bytes, undecoded. A UTF-16 file is split unit by unit. Both are read in
// large blocks and their breaks looked for sixteen bytes at a time (SSE2, which every
// x86-64 processor has).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/textfile.h"

namespace vask::replace {

class InputLines {
public:
    explicit InputLines(const std::filesystem::path& file);  // raises Error (cannot open)
    ~InputLines();
    InputLines(const InputLines&) = delete;
    InputLines& operator=(const InputLines&) = delete;

    // Whether the file is code page 932 (it has no byte-order mark).
    bool isCp932() const { return cp932_ != nullptr; }
    // The next line; false when there is none. Raises Error when the file cannot be read,
    // or when a code page 932 file is no Shift-JIS text (as soon as the block that holds
    // the first offending byte is read, or at the end).
    bool next(std::u16string& line);
    // The next line of a code page 932 file as its bytes, valid until the next call.
    bool nextBytes(std::string_view& line);

private:
    class Cp932Lines;
    class Utf16Lines;

    std::unique_ptr<Cp932Lines> cp932_;
    std::unique_ptr<Utf16Lines> utf16_;
    std::optional<TextLineReader> utf8_;
};

}  // namespace vask::replace
