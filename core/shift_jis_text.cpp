#include "core/shift_jis_text.h"

#include <algorithm>
#include <memory>

#include "platform/cp932_ascii.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {
namespace {

constexpr char kEndOfFileMark = '\x1A';
constexpr size_t kScanBlock = 1 << 16;

// The line of each byte, as `rule` splits lines.
class LineCounter {
public:
    explicit LineCounter(LineRule rule) : rule_(rule) {}
    size_t lineOf(unsigned char byte) {
        if (rule_ == LineRule::AnyBreak) {
            if (afterCR_) {
                afterCR_ = false;
                if (byte == '\n') return line_ - 1;  // CR LF is one break
            }
        } else if (skipping_) {
            // The rest of a physical line after a CR, through its LF, belongs to that line.
            if (byte == '\n') skipping_ = false;
            return line_ - 1;
        }
        const size_t at = line_;
        if (byte == '\r') {
            ++line_;
            (rule_ == LineRule::AnyBreak ? afterCR_ : skipping_) = true;
        } else if (byte == '\n') {
            ++line_;
        }
        return at;
    }

private:
    LineRule rule_;
    size_t line_ = 1;
    bool afterCR_ = false;
    bool skipping_ = false;
};

// Finds the first offending byte. A byte that is no character (or NUL) offends in any
// case; the long sequences of UTF-8 offend only when the whole input is well-formed
// UTF-8, so the scan may have to go on to the end after its first finding.
class OffendingLineScan {
public:
    explicit OffendingLineScan(LineRule rule) : lines_(rule), textFile_(rule == LineRule::TextFile) {}

    // Takes the next bytes; false when the answer is known (or the input ended at 0x1A).
    bool feed(std::string_view bytes) {
        for (const char c : bytes) {
            if (textFile_ && c == kEndOfFileMark) return false;
            step(static_cast<unsigned char>(c));
            if (decided()) return false;
        }
        return true;
    }

    size_t finish() {
        if (!faultLine_ && characters_.pending()) faultLine_ = leadLine_;
        if (utf8_.complete() && longLine_) return faultLine_ ? std::min(faultLine_, longLine_) : longLine_;
        return faultLine_;
    }

private:
    void step(unsigned char byte) {
        const size_t line = lines_.lineOf(byte);
        if (!faultLine_) {
            const bool wasPending = characters_.pending();
            if (!wasPending) leadLine_ = line;
            if (byte == 0) {
                faultLine_ = line;
            } else if (!characters_.step(byte)) {
                faultLine_ = wasPending ? leadLine_ : line;
            }
        }
        if (utf8_.wellFormed()) {
            const bool sawLong = utf8_.sawLongSequence();
            utf8_.step(byte);
            if (!sawLong && utf8_.sawLongSequence()) longLine_ = line;
        }
    }
    // The first fault stands unless an earlier long UTF-8 sequence may still count.
    bool decided() const { return faultLine_ && (!utf8_.wellFormed() || !longLine_ || longLine_ > faultLine_); }

    LineCounter lines_;
    bool textFile_;
    cp932::CharacterCheck characters_;
    Utf8Check utf8_;
    size_t faultLine_ = 0;
    size_t leadLine_ = 0;  // line of the lead byte that waits for its pair
    size_t longLine_ = 0;  // line of the first sequence of three or four bytes
};

}  // namespace

bool ShiftJisTextCheck::feed(std::string_view bytes) {
    if (refused_) return false;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t len = bytes.size();
    size_t i = 0;
    // While the bytes could be UTF-8, both tests look at each byte from 0x80 on and at the
    // bytes of an open sequence; ASCII text between them is skipped.
    while (utf8_.wellFormed() && i < len) {
        if (!characters_.pending() && utf8_.complete()) {
            i += cp932::simd::asciiTextRun(in + i, len - i);
            if (i == len) return true;
        }
        utf8_.step(in[i]);
        if (!characters_.step(in[i++])) return refuse();
    }
    // No UTF-8 any more (most Shift-JIS text is not from its first lead byte on): the rest
    // in the character walk, which refuses NUL too.
    return characters_.feed(bytes.substr(i)) || refuse();
}

bool ShiftJisTextCheck::finish() {
    if (refused_ || characters_.pending()) return false;
    return !(utf8_.complete() && utf8_.sawLongSequence());
}

size_t firstOffendingLine(std::string_view bytes, LineRule rule) {
    OffendingLineScan scan(rule);
    scan.feed(bytes);
    return scan.finish();
}

size_t firstOffendingLine(const std::filesystem::path& file, LineRule rule) {
    InputFile in(file);
    OffendingLineScan scan(rule);
    const auto block = std::make_unique<char[]>(kScanBlock);
    for (size_t got; (got = in.read(block.get(), kScanBlock)) > 0;) {
        if (!scan.feed(std::string_view(block.get(), got))) break;
    }
    return scan.finish();
}

void refuseNotShiftJis(const std::filesystem::path& file, LineRule rule) {
    throw Error(msg::notShiftJisText(file, firstOffendingLine(file, rule)));
}

void refuseNotShiftJis(const std::filesystem::path& file, std::string_view bytes, LineRule rule) {
    throw Error(msg::notShiftJisText(file, firstOffendingLine(bytes, rule)));
}

}  // namespace vask
