// The lines of a form-1 file as the converters and the choosing step read it: a byte-order
// mark selects UTF-8, UTF-16 LE or UTF-16 BE; without one the file must be Shift-JIS text
// (code page 932). The lines are those TextLineReader gives (CR LF, LF or a lone CR end a
// line), but a code page 932 or UTF-8 file hands them out as their bytes, so that a reader
// splits them at their separator bytes (byte_scan.h) and decodes only the fields it reads.
// A UTF-16 file hands out decoded lines.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/shift_jis_text.h"
#include "core/textfile.h"
#include "platform/paths.h"

namespace vask::formone {

class FormOneLines {
public:
    // Raises Error (cannot open). `blockSize` as for LineBytesReader (at least 4 bytes): a
    // smaller one lets tests put block boundaries anywhere in short files.
    explicit FormOneLines(const std::filesystem::path& file, size_t blockSize = kLineReadBlock);

    // True unless the file is UTF-16: lines come from next(std::string_view&).
    bool bytewise() const { return !text_.has_value(); }
    // The next line's bytes without its break, valid until the next call; false when there
    // is none. Raises Error when the file cannot be read or, without a mark, is no
    // Shift-JIS text (see shift_jis_text.h), as the line readers do. Bytewise only.
    bool next(std::string_view& line);
    // The next line of a UTF-16 file, decoded.
    bool next(std::u16string& line) { return text_->next(line); }

    // Appends the text of bytes of a line, or of a part of one split at a separator byte.
    void decodeAppend(std::string_view bytes, std::u16string& text) const;

private:
    void start();
    bool readBlock(size_t size);
    void refuse() const;

    std::filesystem::path path_;
    TextEncoding encoding_ = TextEncoding::Cp932;
    std::optional<TextLineReader> text_;  // UTF-16
    std::optional<InputFile> file_;       // the others
    std::optional<ShiftJisTextCheck> check_;
    size_t blockSize_;
    // The bytes read and not yet handed out are buffer_[pos_, end_); scanned_ is where the
    // search for the next break goes on after more bytes came in.
    std::string buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    size_t scanned_ = 0;
    bool started_ = false;
    bool atEnd_ = false;
    bool skipLineFeed_ = false;  // the last line ended in CR: an LF right after belongs to it
};

}  // namespace vask::formone
