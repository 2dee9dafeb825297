// Reading and writing text files: the streaming line reader, the line-list loader and the
// line writers. Every writer goes through the atomic file writer.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/outcome.h"
#include "core/shift_jis_text.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace vask {

enum class TextEncoding { Cp932, Utf8, Utf16LE, Utf16BE };

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
    ~LineBytesReader();

    // Drops `mark` (a byte-order mark) when the file begins with it; call before next().
    void skipLeading(std::string_view mark);
    // From now on a file that is no Shift-JIS text (see shift_jis_text.h; under the
    // text-file rule only the bytes before 0x1A count, also those of a physical line that
    // the rule skips after a lone CR: the refusal is about the file, not about the bytes a
    // reader keeps) raises Error with the line of its first offending byte: a byte that is
    // no character as soon as its block is read, UTF-8 text at the end. Call before next().
    void refuseNonShiftJis();
    // The next line without its break, valid until the next call; false when there is none.
    bool next(std::string_view& line);
    // For readers that split the bytes themselves, instead of next(): the next bytes of the
    // file as read (and checked) a block at a time, valid until the next call; false at the
    // end. Raises Error as next() does.
    bool nextBlock(std::string_view& bytes);
    const std::filesystem::path& path() const { return file_.path(); }
    // Refusing what is no Shift-JIS text: whether every character of the lines given so
    // far comes back from the code page 932 round trip unchanged (no code of the NEC and
    // IBM rows that has a twin). False when not refusing.
    bool linesComeBack() const { return comeBack_; }

private:
    // A block as read and checked: its size (0 at the end), what linesComeBack() says after
    // it, and whether no block follows (the end, or the end mark 0x1A among its bytes).
    struct LoadedBlock {
        size_t size = 0;
        bool comeBack = false;
        bool last = false;
    };
    class ReadAhead;

    bool fill();
    LoadedBlock load(char* into);
    bool checkBlock(std::string_view bytes);
    void checkEnd();
    bool skipRestOfPhysicalLine();

    // What load() uses, on the read-ahead thread once that runs.
    InputFile file_;
    LineRule rule_;
    std::optional<ShiftJisTextCheck> check_;  // refusing what is no Shift-JIS text
    bool loadedComeBack_ = false;

    // Not zeroed: only the bytes a read filled are looked at, and a short file touches
    // only the first pages of the block.
    std::unique_ptr<char[]> block_;
    size_t blockSize_;
    // A file of more than one block is read a few blocks ahead on a thread of its own.
    std::unique_ptr<ReadAhead> ahead_;
    const char* data_ = nullptr;  // the block the lines are taken from
    size_t pos_ = 0;
    size_t end_ = 0;
    bool atEnd_ = false;           // no further byte will be read
    bool skipLineFeed_ = false;    // the last line ended in CR: an LF right after belongs to it
    bool skipToLineFeed_ = false;  // the text-file rule after a CR: skip through the next LF
    bool comeBack_ = false;        // what linesComeBack() says
    std::string carried_;          // the start of a line that runs past the block
};

// What a code page 932 reader or loader accepts.
enum class Cp932Input {
    // Every byte is decoded as code page 932 decodes it: for the files the program wrote
    // itself.
    AnyBytes,
    // Shift-JIS text only (see shift_jis_text.h), and, in Cp932LineReader, no byte-order
    // mark at the start either; anything else raises Error (not Shift-JIS text, with the
    // line). Read byte by byte, the records and names of a UTF-8 or UTF-16 file would pass
    // as mojibake or "?" into the output.
    ShiftJisText,
};

// Streams the decoded lines of a code page 932 file, one at a time.
class Cp932LineReader {
public:
    Cp932LineReader(const std::filesystem::path& path, LineRule rule, Cp932Input input = Cp932Input::AnyBytes)
        : bytes_(path, rule), input_(input) {
        if (input_ != Cp932Input::AnyBytes) bytes_.refuseNonShiftJis();
    }
    // The next line, decoded; false when there is none.
    bool next(std::u16string& line);

private:
    LineBytesReader bytes_;
    Cp932Input input_;
    bool first_ = true;
};

// Streams the lines of a file that must be Shift-JIS text, as bytes: the lines
// Cp932LineReader with Cp932Input::ShiftJisText decodes, before decoding. A byte-order mark
// or bytes that are no Shift-JIS text raise Error (not Shift-JIS text, with the line), as
// there. Every line given is valid code page 932 (a line break never ends a two-byte
// character in Shift-JIS text); a file that turns out to be UTF-8 is refused only at its
// end, before which its lines are given as the code page 932 characters they also are.
class ShiftJisLineReader {
public:
    ShiftJisLineReader(const std::filesystem::path& path, LineRule rule) : bytes_(path, rule) {
        bytes_.refuseNonShiftJis();
    }
    // The next line without its break, valid until the next call; false when there is none.
    bool next(std::string_view& line);
    const std::filesystem::path& path() const { return bytes_.path(); }
    // See LineBytesReader::linesComeBack.
    bool linesComeBack() const { return bytes_.linesComeBack(); }

private:
    LineBytesReader bytes_;
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
    // is no Shift-JIS text.
    bool next(std::u16string& line);
    TextEncoding encoding() const { return encoding_; }

    // A code page 932 or UTF-8 file also gives its lines as their bytes, undecoded (CR and
    // LF bytes are never part of a character in either), for readers that split them at
    // separator bytes and decode only what they read; a UTF-16 file does not.
    bool bytewise() const { return bytes_.has_value(); }
    // The next line's bytes without its break, valid until the next call; false when there
    // is none. Bytewise files only; raises Error as next does.
    bool next(std::string_view& line) { return bytes_->next(line); }
    // Appends the text of bytes of a line of this bytewise file (a line or a part of one
    // split at a separator byte).
    void decodeAppend(std::string_view bytes, std::u16string& text) const;
    // A code page 932 file read as Shift-JIS text: see LineBytesReader::linesComeBack.
    bool linesComeBack() const { return bytes_ && bytes_->linesComeBack(); }

private:
    bool nextUtf16(std::u16string& line);
    bool fillUnits();

    TextEncoding encoding_ = TextEncoding::Cp932;
    std::optional<LineBytesReader> bytes_;  // code page 932 and UTF-8
    // UTF-16: the file, a block of its units as read, and where the splitting stands.
    std::optional<InputFile> file_;
    std::unique_ptr<char16_t[]> units_;
    size_t blockUnits_ = 0;
    size_t count_ = 0;  // units in units_
    size_t pos_ = 0;
    std::optional<char> oddByte_;  // the first byte of a unit that runs past the block
    bool atEnd_ = false;
    bool skipLineFeed_ = false;  // the last line ended in CR: an LF right after belongs to it
};

// Whether the line-list loader would give the file at least one line. With AnyBytes it
// reads only up to the end of the first; otherwise it reads the whole file, so that a file
// without a mark that is no Shift-JIS text raises Error already when it is chosen. Raises
// Error (cannot open).
bool hasAnyLine(const std::filesystem::path& path, Cp932Input input = Cp932Input::AnyBytes);

// Raises Error (not Shift-JIS text, line 1) when the first line of `path` (split as the
// line-list loader splits) is no Shift-JIS text: for steps that read only that line of a
// file without a mark. Raises Error (cannot open).
void refuseUnlessFirstLineIsShiftJis(const std::filesystem::path& path);

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

// The characters a code page 932 writer wrote as "?" because the code page cannot hold
// them, and the first output lines (from 1) where it did.
struct LostCharacters {
    static constexpr size_t kShownLines = 5;
    size_t count = 0;
    std::vector<size_t> lines;  // at most kShownLines
    bool moreLines = false;     // further lines hold some too

    void add(size_t lost, size_t line);
};

// Adds the warning about `lost` to a run's outcome, when a character was lost.
void warnOfLostCharacters(Outcome& outcome, const LostCharacters& lost);

// Writes lines, each followed by CR LF, into a file that replaces `target` on commit.
// The encoding is code page 932 ("?" for what it cannot hold, counted in lost()) or UTF-8.
class LineWriter {
public:
    explicit LineWriter(std::filesystem::path target, TextEncoding encoding = TextEncoding::Cp932,
                        bool byteOrderMark = false);
    void writeLine(std::u16string_view line);
    // Writes a line its caller encoded (in the writer's encoding), which lost `lost`
    // characters on the way.
    void writeEncodedLine(std::string_view bytes, size_t lost);
    // Writes a line of valid code page 932 bytes (as ShiftJisLineReader gives them) as
    // writeLine writes their decoded text (see cp932::appendRoundTrip), without decoding
    // them. Bytes known to come back unchanged (a reader's linesComeBack()) need not be
    // looked at: writeEncodedLine(bytes, 0) writes them as they are.
    void writeRoundTrip(std::string_view validBytes);
    void commit() { file_.commit(); }
    // Commits under another name in the same folder (see AtomicFile::commit).
    void commit(const std::filesystem::path& target) { file_.commit(target); }
    const std::filesystem::path& target() const { return file_.target(); }
    const LostCharacters& lost() const { return lost_; }
    size_t lines() const { return lines_; }  // written so far

private:
    AtomicFile file_;
    TextEncoding encoding_;
    std::string scratch_;
    size_t lines_ = 0;
    LostCharacters lost_;
};

}  // namespace vask
