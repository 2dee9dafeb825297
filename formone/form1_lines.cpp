#include "formone/form1_lines.h"

#include <algorithm>
#include <cstring>

#include "formone/byte_scan.h"
#include "platform/cp932.h"
#include "platform/utf.h"

namespace vask::formone {

FormOneLines::FormOneLines(const std::filesystem::path& file, size_t blockSize) : path_(file), blockSize_(blockSize) {
    constexpr size_t kLongestMark = 3;
    file_.emplace(file);
    buffer_.resize(std::max(blockSize_, kLongestMark));
    size_t got = 0;
    for (size_t n; got < kLongestMark && (n = file_->read(buffer_.data() + got, kLongestMark - got)) > 0;) got += n;
    size_t markLength = 0;
    encoding_ = encodingFromBom(std::string_view(buffer_.data(), got), markLength);
    if (encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE) {
        file_.reset();
        buffer_ = {};
        text_.emplace(file, Cp932Input::ShiftJisText, blockSize);
        return;
    }
    pos_ = scanned_ = markLength;
    end_ = got;
    if (encoding_ == TextEncoding::Cp932) check_.emplace();
}

// Without a mark, the bytes read so far are checked and the first block is read whole
// before any line is handed out, as the line readers do: a file is refused at the same
// point in either.
void FormOneLines::start() {
    started_ = true;
    if (!check_) return;
    if (!check_->feed(std::string_view(buffer_.data(), end_))) refuse();
    readBlock(blockSize_ - end_);
}

void FormOneLines::refuse() const { refuseNotShiftJis(path_, LineRule::AnyBreak); }

// Reads up to `size` further bytes behind those not yet handed out; false at the end of the
// file, where a file without a mark is known to be Shift-JIS text or is refused.
bool FormOneLines::readBlock(size_t size) {
    if (atEnd_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        scanned_ -= pos_;
        pos_ = 0;
    }
    if (buffer_.size() < end_ + size) buffer_.resize(end_ + size);
    const size_t got = file_->read(buffer_.data() + end_, size);
    if (got == 0) {
        atEnd_ = true;
        if (check_) {
            const bool text = check_->finish();
            check_.reset();
            if (!text) refuse();
        }
        return false;
    }
    if (check_ && !check_->feed(std::string_view(buffer_.data() + end_, got))) refuse();
    end_ += got;
    return true;
}

bool FormOneLines::next(std::string_view& line) {
    if (!started_) start();
    for (;;) {
        if (skipLineFeed_ && pos_ < end_) {
            skipLineFeed_ = false;
            if (buffer_[pos_] == '\n') scanned_ = ++pos_;
        }
        if (!skipLineFeed_) {
            const size_t at = scanned_ + findLineBreak(std::string_view(buffer_.data() + scanned_, end_ - scanned_));
            if (at < end_) {
                line = std::string_view(buffer_.data() + pos_, at - pos_);
                skipLineFeed_ = buffer_[at] == '\r';
                pos_ = scanned_ = at + 1;
                return true;
            }
            scanned_ = end_;
        }
        if (!readBlock(blockSize_)) {
            skipLineFeed_ = false;
            if (pos_ == end_) return false;  // a break ended the last line
            line = std::string_view(buffer_.data() + pos_, end_ - pos_);
            pos_ = scanned_ = end_;
            return true;
        }
    }
}

void FormOneLines::decodeAppend(std::string_view bytes, std::u16string& text) const {
    if (encoding_ == TextEncoding::Utf8) {
        text += utf8ToUtf16(bytes);
    } else {
        cp932::decodeAppend(bytes, text);
    }
}

}  // namespace vask::formone
