#include "ff1/line_reader.h"

#include <algorithm>

namespace vask::ff1 {
namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
}

FF1LineReader::FF1LineReader(const std::filesystem::path& file, TextEncoding encoding, Cp932Input input, size_t wanted,
                             size_t counted, size_t blockSize)
    : file_(file),
      block_(new char[std::max(blockSize, kChunk)]),
      capacity_(std::max(blockSize, kChunk)),
      wanted_(std::min(wanted, LineFields::kMaxFields)),
      counted_(std::max(counted, wanted_)) {
    if (encoding == TextEncoding::Utf8) {
        end_ = file_.readFully(block_.get(), kUtf8Bom.size());
        atEnd_ = end_ < kUtf8Bom.size();
        if (std::string_view(block_.get(), end_) == kUtf8Bom) begin_ = end_;
    } else if (input == Cp932Input::ShiftJisText) {
        check_.emplace();
    }
}

// Reads on after the line being read, which moves to the start of the block first (the
// block doubles when that line fills it). False at the end of the file.
bool FF1LineReader::fill() {
    const size_t kept = end_ - begin_;
    if (kept == capacity_) {
        std::unique_ptr<char[]> larger(new char[capacity_ * 2]);
        std::memcpy(larger.get(), block_.get(), kept);
        block_ = std::move(larger);
        capacity_ *= 2;
    } else if (begin_ > 0) {
        std::memmove(block_.get(), block_.get() + begin_, kept);
    }
    begin_ = 0;
    end_ = kept;
    const size_t got = file_.read(block_.get() + end_, capacity_ - end_);
    if (got == 0) {
        atEnd_ = true;
        if (check_ && !check_->finish()) refuseNotShiftJis(file_.path(), LineRule::AnyBreak);
        return false;
    }
    if (check_ && !check_->feed(std::string_view(block_.get() + end_, got))) {
        refuseNotShiftJis(file_.path(), LineRule::AnyBreak);
    }
    end_ += got;
    return true;
}

}  // namespace vask::ff1
