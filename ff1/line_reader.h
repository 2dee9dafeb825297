// The reader of the FF1 link's files (the FF1 files and the merged FF1 file): their lines
// as bytes, each with its first fields, streamed block by block in memory bounded by the
// longest line. CR LF, LF or a lone CR end a line, as in every reader of such files; a
// tab, CR and LF are never part of a multi-byte character in code page 932 or UTF-8, so the
// lines and their fields are found in one pass over the bytes, sixteen at a time (SSE2,
// which every x86-64 processor has), before anything is decoded; only what is needed of
// them is decoded later.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>

#include "core/byte_fields.h"
#include "core/textfile.h"
#include "ff1/ff1_format.h"

namespace vask::ff1 {

// The first fields of a line as splitTabs splits its text.
class LineFields {
public:
    static constexpr size_t kMaxFields = kFirstPayloadField + kPayloadCount;

    // How many fields the line has, but no more than the reader counts; none for an empty
    // line.
    size_t size() const { return size_; }
    // Field `index`, one of those the reader finds and of size().
    std::string_view operator[](size_t index) const {
        const size_t start = index == 0 ? 0 : ends_[index - 1] + 1;
        return line_.substr(start, ends_[index] - start);
    }

private:
    friend class FF1LineReader;

    std::string_view line_;
    size_t size_ = 0;
    size_t ends_[kMaxFields] = {};  // where each field ends: at its tab or the line's end
};

class FF1LineReader {
public:
    // Opens the file (raises Error: cannot open). `encoding` is the file's, as
    // DetectEncodingFromFile gives it: UTF-8 drops the byte-order mark the file begins with;
    // code page 932 with Cp932Input::ShiftJisText refuses a file that is no Shift-JIS text
    // (Error with the line of its first offending byte, as soon as the block that holds it
    // is read, or at the end), as every reader of such files does. Of every line the first
    // `wanted` fields are found (at most LineFields::kMaxFields) and its fields counted up
    // to `counted` (at least `wanted`). A smaller `blockSize` lets tests put block
    // boundaries anywhere in short files.
    FF1LineReader(const std::filesystem::path& file, TextEncoding encoding, Cp932Input input, size_t wanted,
                  size_t counted, size_t blockSize = kLineReadBlock);

    // Calls `take(line, fields, ascii)` for every line in order: the line's bytes without
    // its break, its fields (both valid during the call) and whether it holds only ASCII
    // bytes (then it reads the same in code page 932 and UTF-8, as itself).
    template <typename Take>
    void forEachLine(Take&& take);

private:
    static constexpr size_t kChunk = 16;

    // Bit k set for every byte k of the 16 at `chunk` that equals `a` or `b`.
    static unsigned bytesEqual(__m128i chunk, char a, char b) {
        return static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(a)), _mm_cmpeq_epi8(chunk, _mm_set1_epi8(b)))));
    }

    bool fill();

    // The file's blocks, read (and checked) a few ahead on a thread of their own, so that
    // reading overlaps the work on the lines; each is copied after the line being read.
    LineBytesReader bytes_;
    std::unique_ptr<char[]> block_;
    size_t capacity_;
    size_t begin_ = 0;  // the start of the line being read
    size_t end_ = 0;    // bytes read
    bool atEnd_ = false;
    size_t wanted_;
    size_t counted_;
};

template <typename Take>
void FF1LineReader::forEachLine(Take&& take) {
    LineFields fields;
    size_t tabs = 0;      // of the line being read
    bool high = false;    // a byte of it is no ASCII character
    bool skipLF = false;  // the last line ended in CR: an LF right after belongs to it
    size_t scanned = begin_;
    // The tabs of the line among `bits` of the chunk at `base`: the first ones are kept,
    // the rest counted as far as asked.
    auto takeTabs = [&](unsigned bits, size_t base) {
        for (; bits != 0 && tabs < wanted_; bits &= bits - 1) {
            fields.ends_[tabs++] = base + static_cast<size_t>(std::countr_zero(bits)) - begin_;
        }
        if (tabs + 1 < counted_) tabs = std::min(tabs + detail::bitsIn16(bits), counted_ - 1);
    };
    auto endLine = [&](size_t end) {
        const std::string_view line(block_.get() + begin_, end - begin_);
        fields.line_ = line;
        fields.size_ = line.empty() ? 0 : std::min(tabs + 1, counted_);
        if (tabs < wanted_) fields.ends_[tabs] = line.size();
        take(line, static_cast<const LineFields&>(fields), !high);
        tabs = 0;
        high = false;
    };
    // The 16 bytes at `chunk`, which are those of the block at `base` (zeros after the last).
    auto takeChunk = [&](const char* chunk, size_t base) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk));
        unsigned tabBits = bytesEqual(bytes, '\t', '\t');
        unsigned highBits = static_cast<unsigned>(_mm_movemask_epi8(bytes));
        for (unsigned breaks = bytesEqual(bytes, '\r', '\n'); breaks != 0; breaks &= breaks - 1) {
            const unsigned bit = breaks & (0u - breaks);
            const size_t at = base + static_cast<size_t>(std::countr_zero(bit));
            const char stop = block_[at];
            if (skipLF) {
                skipLF = false;
                if (stop == '\n' && at == begin_) {
                    begin_ = at + 1;
                    continue;
                }
            }
            takeTabs(tabBits & (bit - 1), base);
            high = high || (highBits & (bit - 1)) != 0;
            tabBits &= ~(bit | (bit - 1));
            highBits &= ~(bit | (bit - 1));
            endLine(at);
            skipLF = stop == '\r';
            begin_ = at + 1;
        }
        takeTabs(tabBits, base);
        high = high || highBits != 0;
    };
    for (;;) {
        for (; scanned + kChunk <= end_; scanned += kChunk) takeChunk(block_.get() + scanned, scanned);
        if (!atEnd_) {
            const size_t moved = begin_;
            const bool read = fill();
            scanned -= moved;
            if (read) continue;
        }
        if (scanned < end_) {
            char last[kChunk] = {};
            std::memcpy(last, block_.get() + scanned, end_ - scanned);
            takeChunk(last, scanned);
        }
        if (begin_ < end_) endLine(end_);
        begin_ = end_;
        return;
    }
}

}  // namespace vask::ff1
