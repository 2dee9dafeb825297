// What the readers of code page 932 files without a byte-order mark accept as Shift-JIS
// text, and where a refused file first goes wrong.
//
// A file is refused when it holds a NUL byte (UTF-16, or no text at all), a byte
// sequence that is no code page 932 character (an undefined byte such as 80, A0 or FD..FF,
// a lead byte without a defined pair, a lead byte at the very end), or when it is
// well-formed UTF-8 holding a sequence of three or four bytes (Japanese text saved as
// UTF-8, as Notepad saves it by default: read as Shift-JIS it would be mojibake). Two-byte
// UTF-8 sequences alone do not count, since Shift-JIS half-width kana pairs such as ﾃｽ
// (C3 BD) are such sequences too.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "platform/cp932.h"
#include "platform/utf.h"

namespace vask {

#ifdef VASK_BENCH_TEXT_CHECK_SWITCH
// Benchmark builds only, never the program's: lets a benchmark run a tool without the
// refusal of files that are no Shift-JIS text, to measure what the refusal costs it. The
// readers then check nothing and say that every character comes back from the code page
// 932 round trip, as every character of the files the benchmarks generate does.
namespace bench {
inline bool textCheckOff = false;
}
inline bool textCheckSwitchedOff() { return bench::textCheckOff; }
#else
constexpr bool textCheckSwitchedOff() { return false; }
#endif

// How a line ends.
enum class LineRule {
    // The text-file line reader of the claims tools: a line ends at CR or LF, and after a
    // CR the rest of the physical line up to the next LF is skipped; reading stops for
    // good at the first byte 0x1A.
    TextFile,
    // CR LF, LF or a lone CR each end a line; 0x1A is an ordinary byte.
    AnyBreak,
};

// Decides, as the bytes of a file come in, whether they are Shift-JIS text. Each byte is
// looked at once: ASCII 16 bytes at a time, the characters by table, and the UTF-8 test
// only where a byte from 0x80 on stands, while the bytes could still be UTF-8.
class ShiftJisTextCheck {
public:
    // Takes the next bytes of the file; false as soon as they cannot be Shift-JIS text,
    // and from then on.
    bool feed(std::string_view bytes);
    // After the last byte the reader looks at: whether the file is Shift-JIS text.
    bool finish();
    // Whether every character of the bytes taken comes back from the code page 932 round
    // trip unchanged (cp932::CharacterCheck::allComeBack).
    bool allComeBack() const { return characters_.allComeBack(); }

private:
    bool refuse() { return refused_ = true, false; }

    cp932::CharacterCheck characters_{true};  // NUL is no text
    Utf8Check utf8_;
    bool refused_ = false;
};

// The line (from 1, lines split by `rule`) of the first byte that makes `bytes`, the whole
// input a reader looks at, no Shift-JIS text; 0 when there is none. Under the text-file
// rule the bytes end at the first 0x1A, and the rest of a physical line that the rule
// skips after a CR counts to the line that CR ended.
size_t firstOffendingLine(std::string_view bytes, LineRule rule);
// The same for a whole file, read afresh. Raises Error (cannot open or read).
size_t firstOffendingLine(const std::filesystem::path& file, LineRule rule);

// The refusal of a file that is no Shift-JIS text: raises Error with the message and the
// line of the first offending byte. `bytes` is the whole input when the caller holds it.
[[noreturn]] void refuseNotShiftJis(const std::filesystem::path& file, LineRule rule);
[[noreturn]] void refuseNotShiftJis(const std::filesystem::path& file, std::string_view bytes, LineRule rule);

}  // namespace vask
