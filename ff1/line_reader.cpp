#include "ff1/line_reader.h"

#include <algorithm>

namespace vask::ff1 {
namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
}

FF1LineReader::FF1LineReader(const std::filesystem::path& file, TextEncoding encoding, Cp932Input input, size_t wanted,
                             size_t counted, size_t blockSize)
    : bytes_(file, LineRule::AnyBreak, std::max(blockSize, size_t{4})),
      block_(new char[std::max(blockSize, kChunk)]),
      capacity_(std::max(blockSize, kChunk)),
      wanted_(std::min(wanted, LineFields::kMaxFields)),
      counted_(std::max(counted, wanted_)) {
    if (encoding == TextEncoding::Utf8) {
        bytes_.skipLeading(kUtf8Bom);
    } else if (input == Cp932Input::ShiftJisText) {
        bytes_.refuseNonShiftJis();
    }
}

// Takes the next block after the line being read, which moves to the start of the block
// first (the block grows when that line and the next bytes do not fit). False at the end
// of the file.
bool FF1LineReader::fill() {
    std::string_view next;
    const bool more = bytes_.nextBlock(next);
    const size_t kept = end_ - begin_;
    if (kept + next.size() > capacity_) {
        size_t capacity = capacity_;
        while (kept + next.size() > capacity) capacity *= 2;
        std::unique_ptr<char[]> larger(new char[capacity]);
        std::memcpy(larger.get(), block_.get() + begin_, kept);
        block_ = std::move(larger);
        capacity_ = capacity;
    } else if (begin_ > 0) {
        std::memmove(block_.get(), block_.get() + begin_, kept);
    }
    begin_ = 0;
    if (!next.empty()) std::memcpy(block_.get() + kept, next.data(), next.size());
    end_ = kept + next.size();
    atEnd_ = !more;
    return more;
}

}  // namespace vask::ff1
