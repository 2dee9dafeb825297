#include "core/shift_jis_text.h"

#include <algorithm>
#include <cstring>
#include <memory>

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
    if (std::memchr(bytes.data(), '\0', bytes.size())) return false;
    if (!characters_.feed(bytes)) return false;
    if (utf8_.wellFormed()) utf8_.feed(bytes);
    return true;
}

bool ShiftJisTextCheck::finish() {
    if (characters_.pending()) return false;
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
