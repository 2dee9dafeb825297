#include "replace/input_lines.h"

#include <emmintrin.h>

#include <bit>
#include <cstring>

#include "platform/cp932.h"
#include "platform/paths.h"

namespace vask::replace {
namespace {

constexpr size_t kLongestMark = 3;
constexpr size_t kUtf16Mark = 2;
constexpr size_t kUnitsPerChunk = 8;  // looked at together, with SSE2 (every x86-64 processor has it)
static_assert(std::endian::native == std::endian::little, "UTF-16 LE bytes are taken as units as they are");

// The position of the first CR or LF unit in `units`, or its size.
size_t findBreak(std::u16string_view units) {
    const __m128i cr = _mm_set1_epi16('\r');
    const __m128i lf = _mm_set1_epi16('\n');
    size_t k = 0;
    for (; k + kUnitsPerChunk <= units.size(); k += kUnitsPerChunk) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units.data() + k));
        const int found = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(chunk, cr), _mm_cmpeq_epi16(chunk, lf)));
        if (found != 0) return k + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(found))) / 2;
    }
    while (k < units.size() && units[k] != u'\r' && units[k] != u'\n') ++k;
    return k;
}

}  // namespace

// The lines of a UTF-16 file after its byte-order mark, read a block at a time: the bytes
// become units (an odd last byte U+FFFD) and CR LF, LF or a lone CR end a line.
class InputLines::Utf16Lines {
public:
    Utf16Lines(const std::filesystem::path& file, bool bigEndian) : file_(file), bigEndian_(bigEndian) {
        char mark[kUtf16Mark];
        file_.readFully(mark, kUtf16Mark);
    }

    bool next(std::u16string& line) {
        line.clear();
        bool started = false;  // some unit of this line was read (an empty line has its break)
        for (;;) {
            if (pos_ == units_.size()) {
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
            const std::u16string_view rest = std::u16string_view(units_).substr(pos_);
            const size_t k = findBreak(rest);
            line.append(rest.substr(0, k));
            started = started || k > 0;
            pos_ += k;
            if (pos_ == units_.size()) continue;
            skipLineFeed_ = units_[pos_] == u'\r';
            ++pos_;
            return true;
        }
    }

private:
    // The next block as units; false at the end of the file.
    bool fill() {
        units_.clear();
        pos_ = 0;
        if (atEnd_) return false;
        bytes_.resize(kLineReadBlock);
        size_t got = 0;
        if (odd_) bytes_[got++] = *odd_;
        const size_t read = file_.read(bytes_.data() + got, bytes_.size() - got);
        got += read;
        odd_.reset();
        if (read == 0) {
            atEnd_ = true;
            if (got == 0) return false;
            units_.push_back(u'\uFFFD');  // an odd last byte
            return true;
        }
        if (got % 2 != 0) odd_ = bytes_[--got];
        units_.resize(got / 2);
        std::memcpy(units_.data(), bytes_.data(), got);
        if (bigEndian_) {
            for (char16_t& unit : units_) unit = static_cast<char16_t>(unit << 8 | unit >> 8);
        }
        return true;
    }

    InputFile file_;
    bool bigEndian_;
    std::string bytes_;
    std::u16string units_;
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
            bytes_.emplace(file, LineRule::AnyBreak);
            bytes_->refuseNonShiftJis();
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
    if (bytes_) {
        std::string_view bytes;
        if (!bytes_->next(bytes)) return false;
        line.clear();
        cp932::decodeAppend(bytes, line);
        return true;
    }
    if (utf16_) return utf16_->next(line);
    return utf8_->next(line);
}

bool InputLines::nextBytes(std::string_view& line) { return bytes_->next(line); }

}  // namespace vask::replace
