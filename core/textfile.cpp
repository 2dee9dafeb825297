#include "core/textfile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>

#include "core/byte_fields.h"
#include "core/messages.h"
#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {
constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kEndOfFileMark = '\x1A';
}  // namespace

// Reads the blocks of a file on a thread of its own, a few blocks ahead of the lines taken
// from them, so that reading and checking the file overlaps the work on its lines. The
// blocks come in file order; an error of a block (a read failure, a refusal) is raised when
// that block is taken, as if it had been read then.
class LineBytesReader::ReadAhead {
public:
    ReadAhead(LineBytesReader& reader, size_t blockSize) : reader_(reader) {
        for (Slot& slot : slots_) slot.data.reset(new char[blockSize]);
        thread_ = std::thread([this] { run(); });
    }
    ~ReadAhead() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    // The next block; the one taken before is given back for reading.
    LoadedBlock take(const char*& data) {
        std::unique_lock lock(mutex_);
        if (held_) {
            slots_[next_].full = false;
            next_ = (next_ + 1) % kBlocks;
            held_ = false;
            changed_.notify_all();
        }
        Slot& slot = slots_[next_];
        changed_.wait(lock, [&] { return slot.full || finished_; });
        if (!slot.full) return {0, false, true};  // nothing follows the last block
        held_ = true;
        if (slot.error) std::rethrow_exception(slot.error);
        data = slot.data.get();
        return slot.loaded;
    }

private:
    static constexpr size_t kBlocks = 3;
    struct Slot {
        std::unique_ptr<char[]> data;
        LoadedBlock loaded;
        std::exception_ptr error;
        bool full = false;  // read and not yet given back
    };

    void run() {
        for (size_t i = 0;; i = (i + 1) % kBlocks) {
            Slot& slot = slots_[i];
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stop_ || !slot.full; });
                if (stop_) return;
            }
            try {
                slot.loaded = reader_.load(slot.data.get());
            } catch (...) {
                slot.error = std::current_exception();
            }
            const bool last = slot.error || slot.loaded.last;
            {
                const std::lock_guard lock(mutex_);
                slot.full = true;
                finished_ = last;
            }
            changed_.notify_all();
            if (last) return;
        }
    }

    LineBytesReader& reader_;
    std::array<Slot, kBlocks> slots_;
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t next_ = 0;        // the slot take() gives next
    bool held_ = false;      // the slot next_ is the one taken last
    bool finished_ = false;  // no block follows the last one read
    bool stop_ = false;
    std::thread thread_;
};

LineBytesReader::LineBytesReader(const std::filesystem::path& path, LineRule rule, size_t blockSize)
    : file_(path), rule_(rule), block_(new char[blockSize]), blockSize_(blockSize) {}

LineBytesReader::~LineBytesReader() = default;

bool LineBytesReader::fill() {
    if (atEnd_) return false;
    // A block read whole may be followed by many: the rest is read ahead.
    if (!ahead_ && end_ == blockSize_) ahead_ = std::make_unique<ReadAhead>(*this, blockSize_);
    LoadedBlock loaded;
    if (ahead_) {
        loaded = ahead_->take(data_);
    } else {
        loaded = load(block_.get());
        data_ = block_.get();
    }
    end_ = loaded.size;
    pos_ = 0;
    comeBack_ = loaded.comeBack;
    if (end_ == 0) {
        atEnd_ = true;
        return false;
    }
    return true;
}

// Reads the next block whole (fewer bytes only at the end of the file) and checks it.
LineBytesReader::LoadedBlock LineBytesReader::load(char* into) {
    const size_t size = file_.readFully(into, blockSize_);
    if (size == 0) {
        checkEnd();
        return {0, loadedComeBack_, true};
    }
    const bool mark = checkBlock(std::string_view(into, size));
    return {size, loadedComeBack_, mark};
}

// Checks `bytes`, the next ones read, up to the end mark 0x1A under the text-file rule
// (nothing after it is ever read); returns whether the mark was among them.
bool LineBytesReader::checkBlock(std::string_view bytes) {
    if (!check_ || bytes.empty()) return false;
    const void* mark = rule_ == LineRule::TextFile ? std::memchr(bytes.data(), kEndOfFileMark, bytes.size()) : nullptr;
    if (mark) bytes = bytes.substr(0, static_cast<size_t>(static_cast<const char*>(mark) - bytes.data()));
    if (!check_->feed(bytes)) refuseNotShiftJis(file_.path(), rule_);
    loadedComeBack_ = check_->allComeBack();
    if (mark) checkEnd();
    return mark != nullptr;
}

// The end of what the reader looks at: a UTF-8 text or a lead byte left alone is known
// only here.
void LineBytesReader::checkEnd() {
    if (!check_) return;
    const bool text = check_->finish();
    check_.reset();
    if (!text) refuseNotShiftJis(file_.path(), rule_);
}

void LineBytesReader::refuseNonShiftJis() {
    if (textCheckSwitchedOff()) {
        loadedComeBack_ = comeBack_ = true;
        return;
    }
    check_.emplace();
}

bool LineBytesReader::nextBlock(std::string_view& bytes) {
    // What skipLeading() read and kept first, then every block as it comes.
    if (pos_ == end_ && !fill()) return false;
    bytes = std::string_view(data_ + pos_, end_ - pos_);
    pos_ = end_;
    return true;
}

void LineBytesReader::skipLeading(std::string_view mark) {
    // Nothing has been read yet: the first bytes go to the start of the block.
    const size_t got = file_.readFully(block_.get(), mark.size());
    if (got < mark.size()) atEnd_ = true;
    data_ = block_.get();
    end_ = got;
    pos_ = std::string_view(block_.get(), got) == mark ? got : 0;
    checkBlock(std::string_view(block_.get(), got));
    comeBack_ = loadedComeBack_;
}

// The text-file rule: after a CR the rest of the physical line, up to and including the
// next LF, is skipped. Returns false when the reading ended meanwhile (end or 0x1A).
bool LineBytesReader::skipRestOfPhysicalLine() {
    for (;;) {
        if (pos_ == end_ && !fill()) return false;
        const char* data = data_;
        size_t k = pos_;
        while (k < end_ && data[k] != kLF && data[k] != kEndOfFileMark) ++k;
        if (k == end_) {
            pos_ = k;
            continue;
        }
        if (data[k] == kEndOfFileMark) {
            atEnd_ = true;
            pos_ = end_;
            return false;
        }
        pos_ = k + 1;
        skipToLineFeed_ = false;
        return true;
    }
}

bool LineBytesReader::next(std::string_view& line) {
    carried_.clear();
    if (skipToLineFeed_ && !skipRestOfPhysicalLine()) return false;
    const bool textFile = rule_ == LineRule::TextFile;
    bool started = false;  // some byte of this line was read (an empty line has its break)
    for (;;) {
        if (pos_ == end_ && !fill()) {
            line = carried_;
            return started;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (data_[pos_] == kLF) {
                ++pos_;
                continue;
            }
        }
        const char* data = data_;
        // Under the other rule 0x1A is an ordinary byte: LF stands in for it.
        const size_t k = findFirstOf(std::string_view(data, end_), pos_, kLF, kCR, textFile ? kEndOfFileMark : kLF);
        started = started || k > pos_;
        if (k == end_) {
            carried_.append(data + pos_, k - pos_);
            pos_ = k;
            continue;
        }
        const char stop = data[k];
        if (carried_.empty()) {
            line = std::string_view(data + pos_, k - pos_);
        } else {
            carried_.append(data + pos_, k - pos_);
            line = carried_;
        }
        if (stop == kEndOfFileMark) {  // the reading ends here for good
            atEnd_ = true;
            pos_ = end_;
            return started;
        }
        pos_ = k + 1;
        if (stop == kCR) (textFile ? skipToLineFeed_ : skipLineFeed_) = true;
        return true;
    }
}

namespace {

// A byte-order mark at the start of a file read as Shift-JIS text refuses it: UTF-8 or
// UTF-16 read byte by byte would pass its names as mojibake.
void refuseMarkedFirstLine(std::string_view bytes, const std::filesystem::path& path) {
    size_t markLength = 0;
    if (encodingFromBom(bytes, markLength) != TextEncoding::Cp932) throw Error(msg::notShiftJisText(path, 1));
}

}  // namespace

bool ShiftJisLineReader::next(std::string_view& line) {
    if (!bytes_.next(line)) return false;
    if (first_) refuseMarkedFirstLine(line, bytes_.path());
    first_ = false;
    return true;
}

bool Cp932LineReader::next(std::u16string& line) {
    std::string_view bytes;
    if (!bytes_.next(bytes)) return false;
    if (input_ == Cp932Input::ShiftJisText && first_) refuseMarkedFirstLine(bytes, bytes_.path());
    first_ = false;
    line.clear();
    cp932::decodeAppend(bytes, line);
    return true;
}

TextLineReader::TextLineReader(const std::filesystem::path& path, Cp932Input input, size_t blockSize) {
    constexpr size_t kLongestMark = 3;
    file_.emplace(path);
    std::string lead(kLongestMark, '\0');
    size_t got = 0;
    for (size_t n; got < lead.size() && (n = file_->read(lead.data() + got, lead.size() - got)) > 0;) got += n;
    lead.resize(got);
    size_t markLength = 0;
    encoding_ = encodingFromBom(lead, markLength);
    if (encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE) {
        blockUnits_ = std::max<size_t>(blockSize / 2, 2);
        units_.reset(new char16_t[blockUnits_]);
        if (got > markLength) oddByte_ = lead[markLength];  // the mark is 2 bytes: one byte is left
        return;
    }
    file_.reset();
    bytes_.emplace(path, LineRule::AnyBreak, blockSize);
    if (encoding_ == TextEncoding::Utf8) bytes_->skipLeading(lead.substr(0, markLength));
    if (encoding_ == TextEncoding::Cp932 && input != Cp932Input::AnyBytes) bytes_->refuseNonShiftJis();
}

bool TextLineReader::next(std::u16string& line) {
    if (file_) return nextUtf16(line);
    std::string_view bytes;
    if (!bytes_->next(bytes)) return false;
    line.clear();
    decodeAppend(bytes, line);
    return true;
}

// The next block as UTF-16 units; an odd last byte of the file becomes U+FFFD. The units
// may be none (a read of one byte that only starts a unit). The bytes are read into the
// units themselves, which this machine holds little-endian, and swapped for big-endian.
bool TextLineReader::fillUnits() {
    static_assert(std::endian::native == std::endian::little, "UTF-16 LE bytes are taken as units as they are");
    pos_ = 0;
    count_ = 0;
    if (atEnd_) return false;
    char* bytes = reinterpret_cast<char*>(units_.get());
    size_t got = 0;
    if (oddByte_) bytes[got++] = *oddByte_;
    const size_t read = file_->read(bytes + got, 2 * blockUnits_ - got);
    got += read;
    oddByte_.reset();
    if (read == 0) {
        atEnd_ = true;
        if (got == 0) return false;
        units_[count_++] = u'\uFFFD';  // an odd last byte
        return true;
    }
    if (got % 2 != 0) oddByte_ = bytes[--got];
    count_ = got / 2;
    if (encoding_ == TextEncoding::Utf16BE) {
        for (size_t k = 0; k < count_; ++k) units_[k] = static_cast<char16_t>(units_[k] << 8 | units_[k] >> 8);
    }
    return true;
}

bool TextLineReader::nextUtf16(std::u16string& line) {
    line.clear();
    bool started = false;  // some unit of this line was read (an empty line has its break)
    for (;;) {
        if (pos_ == count_) {
            if (!fillUnits()) return started;
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
        const size_t k = findLineBreak(rest);
        line.append(rest.substr(0, k));
        started = started || k > 0;
        pos_ += k;
        if (pos_ == count_) continue;
        skipLineFeed_ = units_[pos_] == u'\r';
        ++pos_;
        return true;
    }
}

void TextLineReader::decodeAppend(std::string_view bytes, std::u16string& text) const {
    if (encoding_ == TextEncoding::Utf8) {
        // Bytes CR and LF are never part of a UTF-8 character, nor of an ill-formed
        // sequence, so each line decodes as it does inside the whole text.
        text += utf8ToUtf16(bytes);
        return;
    }
    cp932::decodeAppend(bytes, text);
}

bool hasAnyLine(const std::filesystem::path& path, Cp932Input input) {
    std::u16string line;
    TextLineReader reader(path, input);
    const bool any = reader.next(line);
    if (input != Cp932Input::AnyBytes) {
        while (reader.next(line)) {
        }
    }
    return any;
}

void refuseUnlessFirstLineIsShiftJis(const std::filesystem::path& path) {
    LineBytesReader reader(path, LineRule::AnyBreak);
    std::string_view line;
    if (!reader.next(line)) return;
    ShiftJisTextCheck check;
    if (!check.feed(line) || !check.finish()) throw Error(msg::notShiftJisText(path, 1));
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
        case TextEncoding::Utf8:
            return utf8ToUtf16(bytes);
        case TextEncoding::Utf16LE:
            return utf16leToUtf16(bytes);
        case TextEncoding::Utf16BE:
            return utf16beToUtf16(bytes);
        case TextEncoding::Cp932:
            break;
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

namespace {

// The bytes of a whole file decoded, checked as `input` says when they are code page 932.
std::u16string decodeFile(const std::filesystem::path& path, std::string_view bytes, TextEncoding encoding,
                          Cp932Input input) {
    if (encoding == TextEncoding::Cp932 && input != Cp932Input::AnyBytes && !textCheckSwitchedOff()) {
        ShiftJisTextCheck check;
        if (!check.feed(bytes) || !check.finish()) refuseNotShiftJis(path, bytes, LineRule::AnyBreak);
    }
    return decodeText(bytes, encoding);
}

}  // namespace

std::vector<std::u16string> LoadLineList(const std::filesystem::path& path, Cp932Input input) {
    const std::string bytes = readAllBytes(path);
    size_t bomLength = 0;
    const TextEncoding encoding = encodingFromBom(bytes, bomLength);
    return splitLines(decodeFile(path, std::string_view(bytes).substr(bomLength), encoding, input));
}

std::vector<std::u16string> loadLines(const std::filesystem::path& path, TextEncoding encoding, Cp932Input input) {
    return splitLines(decodeFile(path, readAllBytes(path), encoding, input));
}

LineWriter::LineWriter(std::filesystem::path target, TextEncoding encoding, bool byteOrderMark)
    : file_(std::move(target)), encoding_(encoding) {
    if (byteOrderMark && encoding_ == TextEncoding::Utf8) file_.write("\xEF\xBB\xBF");
}

void LostCharacters::add(size_t lost, size_t line) {
    if (lost == 0) return;
    count += lost;
    if (lines.size() < kShownLines) {
        lines.push_back(line);
    } else {
        moreLines = true;
    }
}

void warnOfLostCharacters(Outcome& outcome, const LostCharacters& lost) {
    if (lost.count > 0) outcome.addWarning(msg::lostCharacters(lost.count, lost.lines, lost.moreLines));
}

void LineWriter::writeRoundTrip(std::string_view validBytes) {
    // Most lines come back as they are, and go to the file without a copy of their own.
    if (cp932::roundTripsUnchanged(validBytes)) return writeEncodedLine(validBytes, 0);
    scratch_.clear();
    cp932::appendRoundTrip(validBytes, scratch_);
    writeEncodedLine(scratch_, 0);
}

void LineWriter::writeEncodedLine(std::string_view bytes, size_t lost) {
    lost_.add(lost, ++lines_);
    file_.write(bytes);
    file_.write("\r\n");
}

void LineWriter::writeLine(std::u16string_view line) {
    scratch_.clear();
    ++lines_;
    if (encoding_ == TextEncoding::Utf8) {
        scratch_ = utf16ToUtf8(line);
    } else {
        cp932::encodeAppend(line, scratch_);
        lost_.add(cp932::replacedCount(line, scratch_), lines_);
    }
    scratch_ += "\r\n";
    file_.write(scratch_);
}

}  // namespace vask
