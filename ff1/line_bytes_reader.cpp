#include "ff1/line_bytes_reader.h"

namespace vask::ff1 {
namespace {
constexpr size_t kBlockSize = 1 << 18;
}

LineBytesReader::LineBytesReader(const std::filesystem::path& path) : file_(path), block_(kBlockSize, '\0') {}

bool LineBytesReader::fill() {
    if (atEnd_) return false;
    end_ = file_.read(block_.data(), block_.size());
    pos_ = 0;
    if (end_ == 0) atEnd_ = true;
    return end_ > 0;
}

void LineBytesReader::skipLeading(std::string_view mark) {
    // Nothing has been read yet: the first bytes go to the start of the block.
    size_t got = 0;
    while (got < mark.size()) {
        const size_t n = file_.read(block_.data() + got, mark.size() - got);
        if (n == 0) {
            atEnd_ = true;
            break;
        }
        got += n;
    }
    end_ = got;
    pos_ = std::string_view(block_.data(), got) == mark ? got : 0;
}

bool LineBytesReader::next(std::string_view& line) {
    carried_.clear();
    bool started = false;
    for (;;) {
        if (pos_ == end_ && !fill()) {
            line = carried_;
            return started;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (block_[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        const char* data = block_.data();
        size_t k = pos_;
        while (k < end_ && data[k] != '\n' && data[k] != '\r') ++k;
        if (k == end_) {
            carried_.append(data + pos_, k - pos_);
            started = started || k > pos_;
            pos_ = k;
            continue;
        }
        skipLineFeed_ = data[k] == '\r';
        if (carried_.empty()) {
            line = std::string_view(data + pos_, k - pos_);
        } else {
            carried_.append(data + pos_, k - pos_);
            line = carried_;
        }
        pos_ = k + 1;
        return true;
    }
}

}  // namespace vask::ff1
