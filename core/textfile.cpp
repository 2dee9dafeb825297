#include "core/textfile.h"

#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {
constexpr size_t kReadBlock = 1 << 18;
constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kEndOfFileMark = '\x1A';
}  // namespace

Cp932LineReader::Cp932LineReader(const std::filesystem::path& path, LineRule rule)
    : file_(path), rule_(rule), buffer_(kReadBlock, '\0') {}

bool Cp932LineReader::fill() {
    if (atEnd_) return false;
    end_ = file_.read(buffer_.data(), buffer_.size());
    pos_ = 0;
    if (end_ == 0) atEnd_ = true;
    return end_ > 0;
}

bool Cp932LineReader::next(std::u16string& line) {
    line.clear();
    lineBytes_.clear();
    bool started = false;  // some byte of this line was read (an empty line has its break)
    const bool textFile = rule_ == LineRule::TextFile;
    for (;;) {
        if (pos_ == end_ && !fill()) {
            if (started) cp932::decodeAppend(lineBytes_, line);
            return started;
        }
        const char* data = buffer_.data();
        size_t k = pos_;
        while (k < end_ && data[k] != kCR && data[k] != kLF && !(textFile && data[k] == kEndOfFileMark)) ++k;
        if (k > pos_) started = true;
        lineBytes_.append(data + pos_, k - pos_);
        pos_ = k;
        if (k == end_) continue;
        const char stop = data[k];
        if (stop == kEndOfFileMark) {
            atEnd_ = true;
            pos_ = end_;
            if (started) cp932::decodeAppend(lineBytes_, line);
            return started;
        }
        ++pos_;
        if (stop == kCR) {
            if (textFile) {
                // The rest of the physical line, up to and including the next LF, is skipped.
                for (;;) {
                    if (pos_ == end_ && !fill()) break;
                    const char c = buffer_[pos_];
                    if (c == kEndOfFileMark) {
                        atEnd_ = true;
                        pos_ = end_;
                        break;
                    }
                    ++pos_;
                    if (c == kLF) break;
                }
            } else if ((pos_ < end_ || fill()) && buffer_[pos_] == kLF) {
                ++pos_;
            }
        }
        cp932::decodeAppend(lineBytes_, line);
        return true;
    }
}

TextEncoding encodingFromBom(std::string_view bytes, size_t& bomLength) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bomLength = 3;
        return TextEncoding::Utf8;
    }
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") {
        bomLength = 2;
        return TextEncoding::Utf16LE;
    }
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") {
        bomLength = 2;
        return TextEncoding::Utf16BE;
    }
    bomLength = 0;
    return TextEncoding::Cp932;
}

std::u16string decodeText(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8: return utf8ToUtf16(bytes);
        case TextEncoding::Utf16LE: return utf16leToUtf16(bytes);
        case TextEncoding::Utf16BE: return utf16beToUtf16(bytes);
        case TextEncoding::Cp932: break;
    }
    return cp932::decode(bytes);
}

std::vector<std::u16string> splitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    const size_t n = text.size();
    for (size_t start = 0; start < n;) {
        size_t k = start;
        while (k < n && text[k] != u'\r' && text[k] != u'\n') ++k;
        lines.emplace_back(text.substr(start, k - start));
        if (k < n) k += (text[k] == u'\r' && k + 1 < n && text[k + 1] == u'\n') ? 2 : 1;
        start = k;
    }
    return lines;
}

std::vector<std::u16string> LoadLineList(const std::filesystem::path& path) {
    const std::string bytes = readAllBytes(path);
    size_t bomLength = 0;
    const TextEncoding encoding = encodingFromBom(bytes, bomLength);
    return splitLines(decodeText(std::string_view(bytes).substr(bomLength), encoding));
}

std::vector<std::u16string> loadLines(const std::filesystem::path& path, TextEncoding encoding) {
    return splitLines(decodeText(readAllBytes(path), encoding));
}

LineWriter::LineWriter(std::filesystem::path target, TextEncoding encoding, bool byteOrderMark)
    : file_(std::move(target)), encoding_(encoding) {
    if (byteOrderMark && encoding_ == TextEncoding::Utf8) file_.write("\xEF\xBB\xBF");
}

void LineWriter::writeLine(std::u16string_view line) {
    scratch_.clear();
    if (encoding_ == TextEncoding::Utf8) {
        scratch_ = utf16ToUtf8(line);
    } else {
        cp932::encodeAppend(line, scratch_);
    }
    scratch_ += "\r\n";
    file_.write(scratch_);
}

void WrtSet(const std::filesystem::path& stFile, const std::vector<std::u16string>& SList) {
    LineWriter writer(stFile);
    for (const auto& line : SList) writer.writeLine(line);
    writer.commit();
}

}  // namespace vask
