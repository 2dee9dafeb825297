// Reading and writing text files: the streaming line reader, the line-list loader and the
// line writers. Every writer goes through the atomic file writer.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace vask {

enum class TextEncoding { Cp932, Utf8, Utf16LE, Utf16BE };

// How a line ends.
enum class LineRule {
    // The text-file line reader of the claims tools: a line ends at CR or LF, and after a
    // CR the rest of the physical line up to the next LF is skipped; reading stops for
    // good at the first byte 0x1A.
    TextFile,
    // CR LF, LF or a lone CR each end a line; 0x1A is an ordinary byte.
    AnyBreak,
};

// Bytes LineBytesReader reads at a time. The fuzz build sets a smaller block, since the
// address sanitizer maps and unmaps every block above 128 KiB afresh.
#ifdef VASK_LINE_READ_BLOCK
inline constexpr size_t kLineReadBlock = VASK_LINE_READ_BLOCK;
#else
inline constexpr size_t kLineReadBlock = 1 << 18;
#endif

// Streams the lines of a file as raw bytes, in constant memory (bounded by the longest
// line). CR and LF bytes are never part of a character in code page 932 or UTF-8, so the
// lines are the same whatever the file's encoding turns out to be.
class LineBytesReader {
public:
    // Raises Error (cannot open). A smaller `blockSize` (at least 4 bytes, the longest
    // byte-order mark) lets tests put block boundaries anywhere in short files.
    LineBytesReader(const std::filesystem::path& path, LineRule rule, size_t blockSize = kLineReadBlock);

    // Drops `mark` (a byte-order mark) when the file begins with it; call before next().
    void skipLeading(std::string_view mark);
    // From now on a NUL byte anywhere in the file (before the byte 0x1A under the text-file
    // rule) raises Error (not Shift-JIS text), also in the part of a physical line that the
    // text-file rule skips after a lone CR: the refusal is about the file, not about the
    // bytes a reader keeps. Call before next().
    void refuseNulBytes() { refuseNul_ = true; }
    // The next line without its break, valid until the next call; false when there is none.
    bool next(std::string_view& line);
    const std::filesystem::path& path() const { return file_.path(); }

private:
    bool fill();
    void checkBlock(size_t from);
    bool skipRestOfPhysicalLine();

    InputFile file_;
    LineRule rule_;
    // Not zeroed: only the bytes a read filled are looked at, and a short file touches
    // only the first pages of the block.
    std::unique_ptr<char[]> block_;
    size_t blockSize_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool atEnd_ = false;           // no further byte will be read
    bool skipLineFeed_ = false;    // the last line ended in CR: an LF right after belongs to it
    bool skipToLineFeed_ = false;  // the text-file rule after a CR: skip through the next LF
    bool refuseNul_ = false;
    std::string carried_;  // the start of a line that runs past the block
};

// What a code page 932 reader or loader accepts.
enum class Cp932Input {
    AnyBytes,  // every byte is decoded as code page 932 decodes it
    // No NUL byte: one raises Error (not Shift-JIS text). Such a file is UTF-16 (whose
    // ASCII characters all hold a NUL byte) or no text at all; read byte by byte it gives
    // fields full of NUL characters and numbers cut short. A byte-order mark passes as the
    // characters code page 932 reads in it.
    NoNulBytes,
    // Shift-JIS text only: no NUL byte, and, in Cp932LineReader, no byte-order mark at the
    // start either. Read byte by byte, the records and names of a UTF-8 file with its mark
    // or of a UTF-16 file would pass unrecognised.
    ShiftJisText,
};

// Streams the decoded lines of a code page 932 file, one at a time.
class Cp932LineReader {
public:
    Cp932LineReader(const std::filesystem::path& path, LineRule rule, Cp932Input input = Cp932Input::AnyBytes)
        : bytes_(path, rule), input_(input) {
        if (input_ != Cp932Input::AnyBytes) bytes_.refuseNulBytes();
    }
    // The next line, decoded; false when there is none.
    bool next(std::u16string& line);

private:
    void check(std::string_view bytes);

    LineBytesReader bytes_;
    Cp932Input input_;
    bool first_ = true;
};

// Streams the lines of a file exactly as LoadLineList gives them, in constant memory
// (bounded by the longest line): a byte-order mark selects UTF-8, UTF-16 LE or UTF-16 BE
// and is dropped; otherwise code page 932, checked as `input` says. CR LF, LF or a lone
// CR end a line. In UTF-16 the breaks are two-byte units, so such a file is split unit by
// unit; an odd last byte becomes U+FFFD.
class TextLineReader {
public:
    // Raises Error (cannot open). `blockSize` as for LineBytesReader.
    explicit TextLineReader(const std::filesystem::path& path, Cp932Input input = Cp932Input::AnyBytes,
                            size_t blockSize = kLineReadBlock);
    // The next line, decoded; false when there is none. Raises Error when the file cannot
    // be read, or, unless `input` is AnyBytes, when a file without a mark (code page 932)
    // holds a NUL byte.
    bool next(std::u16string& line);
    TextEncoding encoding() const { return encoding_; }

private:
    bool nextUtf16(std::u16string& line);
    bool fillUnits();

    TextEncoding encoding_ = TextEncoding::Cp932;
    std::optional<LineBytesReader> bytes_;  // code page 932 and UTF-8
    // UTF-16: the file, its bytes as read and as units, and where the splitting stands.
    std::optional<InputFile> file_;
    std::string block_;
    std::u16string units_;
    size_t pos_ = 0;
    std::optional<char> oddByte_;  // the first byte of a unit that runs past the block
    bool atEnd_ = false;
    bool skipLineFeed_ = false;  // the last line ended in CR: an LF right after belongs to it
};

// Whether the line-list loader would give the file at least one line; reads only up to
// the end of the first. Raises Error (cannot open).
bool hasAnyLine(const std::filesystem::path& path);

// Decodes bytes in `encoding` (a byte-order mark must already be cut off).
std::u16string decodeText(std::string_view bytes, TextEncoding encoding);
// The encoding a byte-order mark names (code page 932 without one) and the mark's length.
TextEncoding encodingFromBom(std::string_view bytes, size_t& bomLength);

// Splits at CR LF, LF or a lone CR; a text that ends with a break gives no extra line.
std::vector<std::u16string> splitLines(std::u16string_view text);

// The line-list loader: a byte-order mark selects UTF-8, UTF-16 LE or BE; otherwise code
// page 932, checked as `input` says. Raises Error (cannot open).
std::vector<std::u16string> LoadLineList(const std::filesystem::path& path, Cp932Input input = Cp932Input::AnyBytes);
// All lines of a file in one encoding, without looking for a byte-order mark.
std::vector<std::u16string> loadLines(const std::filesystem::path& path, TextEncoding encoding,
                                      Cp932Input input = Cp932Input::AnyBytes);

// Writes lines, each followed by CR LF, into a file that replaces `target` on commit.
// The encoding is code page 932 ("?" for what it cannot hold) or UTF-8.
class LineWriter {
public:
    explicit LineWriter(std::filesystem::path target, TextEncoding encoding = TextEncoding::Cp932,
                        bool byteOrderMark = false);
    void writeLine(std::u16string_view line);
    void commit() { file_.commit(); }
    // Commits under another name in the same folder (see AtomicFile::commit).
    void commit(const std::filesystem::path& target) { file_.commit(target); }
    const std::filesystem::path& target() const { return file_.target(); }

private:
    AtomicFile file_;
    TextEncoding encoding_;
    std::string scratch_;
};

// WrtSet: every item of SList as one code page 932 line with CR LF, replacing stFile.
void WrtSet(const std::filesystem::path& stFile, const std::vector<std::u16string>& SList);

}  // namespace vask
