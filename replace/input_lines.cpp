#include "replace/input_lines.h"

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/shift_jis_text.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace vask::replace {
namespace {

constexpr size_t kLongestMark = 3;
constexpr size_t kUtf16Mark = 2;
constexpr size_t kChunk = 16;  // bytes looked at together
static_assert(std::endian::native == std::endian::little, "UTF-16 LE bytes are taken as units as they are");

// Bit k set for every byte k of the 16 at `chunk` that is CR or LF (in UTF-16, each unit
// sets both its bits when it is one).
unsigned breaksIn(const char* chunk, bool units) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk));
    const __m128i cr = units ? _mm_set1_epi16('\r') : _mm_set1_epi8('\r');
    const __m128i lf = units ? _mm_set1_epi16('\n') : _mm_set1_epi8('\n');
    const __m128i found = units ? _mm_or_si128(_mm_cmpeq_epi16(bytes, cr), _mm_cmpeq_epi16(bytes, lf))
                                : _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf));
    return static_cast<unsigned>(_mm_movemask_epi8(found));
}

// The position of the first CR or LF byte in `bytes`, or its size.
size_t findBreak(std::string_view bytes) {
    size_t k = 0;
    for (; k + kChunk <= bytes.size(); k += kChunk) {
        if (const unsigned found = breaksIn(bytes.data() + k, false)) return k + std::countr_zero(found);
    }
    while (k < bytes.size() && bytes[k] != '\r' && bytes[k] != '\n') ++k;
    return k;
}

// The position of the first CR or LF unit in `units`, or its size.
size_t findBreak(std::u16string_view units) {
    constexpr size_t kUnits = kChunk / 2;
    size_t k = 0;
    for (; k + kUnits <= units.size(); k += kUnits) {
        if (const unsigned found = breaksIn(reinterpret_cast<const char*>(units.data() + k), true)) {
            return k + std::countr_zero(found) / 2;
        }
    }
    while (k < units.size() && units[k] != u'\r' && units[k] != u'\n') ++k;
    return k;
}

}  // namespace

// The lines of a code page 932 file as bytes, read a block at a time, with the Shift-JIS
// check of every reader of such files fed as each block comes.
class InputLines::Cp932Lines {
public:
    explicit Cp932Lines(const std::filesystem::path& file) : file_(file), block_(new char[kLineReadBlock]) {}

    bool next(std::string_view& line) {
        for (;;) {
            if (skipLineFeed_ && begin_ < end_) {
                skipLineFeed_ = false;
                if (block_[begin_] == '\n') scanned_ = ++begin_;
            }
            const size_t at = scanned_ + findBreak(std::string_view(block_.get() + scanned_, end_ - scanned_));
            if (at < end_) {
                line = std::string_view(block_.get() + begin_, at - begin_);
                skipLineFeed_ = block_[at] == '\r';
                begin_ = scanned_ = at + 1;
                return true;
            }
            scanned_ = end_;
            if (!fill()) {
                if (begin_ == end_) return false;
                line = std::string_view(block_.get() + begin_, end_ - begin_);
                begin_ = scanned_ = end_;
                return true;
            }
        }
    }

private:
    // Reads on after the line being read, which moves to the start of the block first (the
    // block doubles when that line fills it). False at the end of the file.
    bool fill() {
        if (atEnd_) return false;
        const size_t kept = end_ - begin_;
        if (kept == capacity_) {
            std::unique_ptr<char[]> larger(new char[2 * capacity_]);
            std::memcpy(larger.get(), block_.get(), kept);
            block_ = std::move(larger);
            capacity_ *= 2;
        } else if (begin_ > 0) {
            std::memmove(block_.get(), block_.get() + begin_, kept);
        }
        scanned_ -= begin_;
        begin_ = 0;
        end_ = kept;
        const size_t got = file_.read(block_.get() + end_, capacity_ - end_);
        if (got == 0) {
            atEnd_ = true;
            if (!check_.finish()) refuseNotShiftJis(file_.path(), LineRule::AnyBreak);
            return false;
        }
        if (!check_.feed(std::string_view(block_.get() + end_, got))) {
            refuseNotShiftJis(file_.path(), LineRule::AnyBreak);
        }
        end_ += got;
        return true;
    }

    InputFile file_;
    ShiftJisTextCheck check_;
    std::unique_ptr<char[]> block_;
    size_t capacity_ = kLineReadBlock;
    size_t begin_ = 0;    // the start of the line being read
    size_t scanned_ = 0;  // bytes from begin_ up to here hold no break
    size_t end_ = 0;      // bytes read
    bool atEnd_ = false;
    bool skipLineFeed_ = false;  // the last line ended in CR: an LF right after belongs to it
};

// The lines of a UTF-16 file after its byte-order mark, read a block at a time: the bytes
// become units (an odd last byte U+FFFD) and CR LF, LF or a lone CR end a line.
class InputLines::Utf16Lines {
public:
    Utf16Lines(const std::filesystem::path& file, bool bigEndian)
        : file_(file), bigEndian_(bigEndian), units_(new char16_t[kLineReadBlock / 2]) {
        char mark[kUtf16Mark];
        file_.readFully(mark, kUtf16Mark);
    }

    bool next(std::u16string& line) {
        line.clear();
        bool started = false;  // some unit of this line was read (an empty line has its break)
        for (;;) {
            if (pos_ == count_) {
                if (!fill()) return started;
                continue;
            }
            if (skipLineFeed_) {
                skipLineFeed_ = false;
                if (units_[pos_] == u'\n') {
                    ++pos_;
                    continue;
                }
            }
            const std::u16string_view rest(units_.get() + pos_, count_ - pos_);
            const size_t k = findBreak(rest);
            line.append(rest.substr(0, k));
            started = started || k > 0;
            pos_ += k;
            if (pos_ == count_) continue;
            skipLineFeed_ = units_[pos_] == u'\r';
            ++pos_;
            return true;
        }
    }

private:
    // The next block as units; false at the end of the file. The bytes are read into the
    // units themselves: as this machine holds units, they are UTF-16 LE.
    bool fill() {
        pos_ = 0;
        count_ = 0;
        if (atEnd_) return false;
        char* bytes = reinterpret_cast<char*>(units_.get());
        size_t got = 0;
        if (odd_) bytes[got++] = *odd_;
        const size_t read = file_.read(bytes + got, kLineReadBlock - got);
        got += read;
        odd_.reset();
        if (read == 0) {
            atEnd_ = true;
            if (got == 0) return false;
            units_[count_++] = u'\uFFFD';  // an odd last byte
            return true;
        }
        if (got % 2 != 0) odd_ = bytes[--got];
        count_ = got / 2;
        if (bigEndian_) {
            for (size_t k = 0; k < count_; ++k) units_[k] = static_cast<char16_t>(units_[k] << 8 | units_[k] >> 8);
        }
        return true;
    }

    InputFile file_;
    bool bigEndian_;
    std::unique_ptr<char16_t[]> units_;
    size_t count_ = 0;  // units in units_
    size_t pos_ = 0;
    std::optional<char> odd_;  // the first byte of a unit that runs past the block
    bool atEnd_ = false;
    bool skipLineFeed_ = false;  // the last line ended in CR: an LF right after belongs to it
};

InputLines::InputLines(const std::filesystem::path& file) {
    size_t markLength = 0;
    switch (encodingFromBom(readPrefix(file, kLongestMark), markLength)) {
        case TextEncoding::Cp932:
            // Without a mark the file must be Shift-JIS text.
            cp932_ = std::make_unique<Cp932Lines>(file);
            break;
        case TextEncoding::Utf16LE:
            utf16_ = std::make_unique<Utf16Lines>(file, false);
            break;
        case TextEncoding::Utf16BE:
            utf16_ = std::make_unique<Utf16Lines>(file, true);
            break;
        case TextEncoding::Utf8:
            utf8_.emplace(file);
            break;
    }
}

InputLines::~InputLines() = default;

bool InputLines::next(std::u16string& line) {
    if (cp932_) {
        std::string_view bytes;
        if (!cp932_->next(bytes)) return false;
        line.clear();
        cp932::decodeAppend(bytes, line);
        return true;
    }
    if (utf16_) return utf16_->next(line);
    return utf8_->next(line);
}

bool InputLines::nextBytes(std::string_view& line) { return cp932_->next(line); }

}  // namespace vask::replace
