#include "replace/record_replacement.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <initializer_list>
#include <system_error>
#include <type_traits>

#include "core/cp932_round_trip.h"
#include "core/file_names.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace vask::replace {
namespace {

constexpr size_t kKeyItem = 1;

// Sixteen bytes, or eight UTF-16 units, compared at once (SSE2, which every x86-64
// processor has); the mask has a bit per byte, so two per unit.
inline __m128i repeated(char c) { return _mm_set1_epi8(c); }
inline __m128i repeated(char16_t c) { return _mm_set1_epi16(static_cast<short>(c)); }
inline __m128i equal(__m128i a, __m128i b, char) { return _mm_cmpeq_epi8(a, b); }
inline __m128i equal(__m128i a, __m128i b, char16_t) { return _mm_cmpeq_epi16(a, b); }

// The first place of `needle` (not empty) in `text` from `from` on, or npos. Places whose
// first, middle and last characters match are looked for sixteen bytes at a time, then
// compared: a line of numbers holds the first digit of a key at many places, all three at
// few.
template <typename Char>
size_t findText(std::basic_string_view<Char> text, std::basic_string_view<Char> needle, size_t from) {
    constexpr size_t kChunk = 16 / sizeof(Char);
    constexpr unsigned kFirstBitOfEach = sizeof(Char) == 1 ? 0xFFFF : 0x5555;
    const size_t last = needle.size() - 1;
    const size_t middle = last / 2;
    const __m128i first = repeated(needle.front());
    const __m128i mid = repeated(needle[middle]);
    const __m128i end = repeated(needle.back());
    const auto at = [&](size_t k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + k)); };
    size_t k = from;
    for (; k + last + kChunk <= text.size(); k += kChunk) {
        const __m128i same = _mm_and_si128(_mm_and_si128(equal(at(k), first, Char{}), equal(at(k + last), end, Char{})),
                                           equal(at(k + middle), mid, Char{}));
        for (auto places = static_cast<unsigned>(_mm_movemask_epi8(same)) & kFirstBitOfEach; places != 0;
             places &= places - 1) {
            const size_t place = k + static_cast<size_t>(std::countr_zero(places)) / sizeof(Char);
            if (text.substr(place + 1, last) == needle.substr(1)) return place;
        }
    }
    return text.find(needle, k);
}

bool holdsSurrogate(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0xD800 && c <= 0xDFFF; });
}

// The key of a line: item 1, trimmed; nothing when the line has no such item or it is empty.
template <typename Char>
std::optional<std::basic_string_view<Char>> keyOf(std::basic_string_view<Char> line, std::basic_string<Char>& item) {
    if (!delimitedTextItem(line, kKeyItem, item) || item.empty()) return std::nullopt;
    return trimmedView(std::basic_string_view<Char>(item));
}

void replaceInto(std::u16string_view line, std::u16string_view key, std::u16string_view newValue, std::u16string& out) {
    out.clear();
    if (key.empty()) {
        out.assign(line);
        return;
    }
    size_t pos = 0;
    for (size_t hit; (hit = findText(line, key, pos)) != std::u16string_view::npos; pos = hit + key.size()) {
        out.append(line.substr(pos, hit - pos));
        out.append(newValue);
    }
    out.append(line.substr(pos));
}

// Lines held together, copied from the reader (whose lines hold only until it gives the
// next), each with what the reader's linesComeBack() said after it (code page 932 bytes).
template <typename Char>
class LineBatch {
public:
    static constexpr size_t kLines = 32;

    void add(std::basic_string_view<Char> line, bool comesBack) {
        text_.append(line);
        comeBack_[count_] = comesBack;
        ends_[count_++] = text_.size();
    }
    void clear() {
        text_.clear();
        count_ = 0;
    }
    bool full() const { return count_ == kLines; }
    size_t size() const { return count_; }
    std::basic_string_view<Char> line(size_t k) const {
        const size_t start = k == 0 ? 0 : ends_[k - 1];
        return std::basic_string_view<Char>(text_).substr(start, ends_[k] - start);
    }
    bool comesBack(size_t k) const { return comeBack_[k]; }

private:
    std::basic_string<Char> text_;
    std::array<size_t, kLines> ends_{};
    std::array<bool, kLines> comeBack_{};
    size_t count_ = 0;
};

// The key of a line (its text or its code page 932 bytes), found before the line is
// written: the key item, where the key lies in it, the key's text and its hash.
template <typename Char>
struct LineKey {
    bool found = false;  // the line has a key item
    std::basic_string<Char> item;
    size_t start = 0;  // the trimmed key in `item`
    size_t size = 0;
    std::u16string text;
    uint32_t hash = 0;

    std::basic_string_view<Char> inItem() const { return std::basic_string_view<Char>(item).substr(start, size); }
};

template <typename Char>
void takeKey(std::basic_string_view<Char> line, LineKey<Char>& key) {
    const auto found = keyOf(line, key.item);
    key.found = found.has_value();
    if (!key.found) return;
    key.start = static_cast<size_t>(found->data() - key.item.data());
    key.size = found->size();
    key.text.clear();
    if constexpr (std::is_same_v<Char, char>) {
        cp932::decodeAppend(*found, key.text);
    } else {
        key.text.assign(*found);
    }
    key.hash = ChangeDefinitions::hashOf(key.text);
}

// Rewrites lines as the run writes them, into code page 932 bytes, with buffers kept from
// line to line.
class LineReplacer {
public:
    explicit LineReplacer(const ChangeDefinitions& definitions) : definitions_(definitions) {}

    // Lines a batch at a time. The keys of the whole batch are found first and their
    // lookups asked for (see ChangeDefinitions::hashOf), so that the lines wait for the
    // definitions' memory together; then the lines are written in order.
    template <typename Char>
    void writeBatch(const LineBatch<Char>& batch, LineWriter& copy) {
        auto& keys = keysOf<Char>();
        for (size_t k = 0; k < batch.size(); ++k) {
            takeKey(batch.line(k), keys[k]);
            if (keys[k].found) definitions_.prefetchSlot(keys[k].hash);
        }
        for (size_t k = 0; k < batch.size(); ++k) {
            if (keys[k].found) definitions_.prefetchPair(keys[k].hash);
        }
        for (size_t k = 0; k < batch.size(); ++k) {
            written_.clear();
            const size_t lost = append(batch.line(k), batch.comesBack(k), keys[k], written_);
            copy.writeEncodedLine(written_, lost);
        }
    }

private:
    static constexpr size_t kLines = LineBatch<char>::kLines;

    template <typename Char>
    std::array<LineKey<Char>, kLines>& keysOf() {
        if constexpr (std::is_same_v<Char, char>) {
            return byteKeys_;
        } else {
            return textKeys_;
        }
    }

    // Appends the line written as code page 932; returns the characters written as "?".
    size_t append(std::u16string_view line, bool, const LineKey<char16_t>& key, std::string& out) {
        std::u16string_view written = line;
        if (key.found) {
            if (const auto newValue = definitions_.newValueViewFor(key.text, key.hash)) {
                replaceInto(line, key.text, *newValue, replaced_);
                written = replaced_;
            }
        }
        const size_t start = out.size();
        cp932::encodeAppend(written, out);
        return cp932::replacedCount(written, std::string_view(out).substr(start));
    }

    // The same for a line of a code page 932 file, from its bytes: they are copied as a
    // decode and encode gives them (as they are, when `comeBack` says that gives the same
    // bytes), and the key is looked for there. Only the key is decoded.
    size_t append(std::string_view line, bool comeBack, const LineKey<char>& key, std::string& out) {
        const auto copied = [&](std::string& to) {
            if (!comeBack) return appendCp932RoundTrip(line, to);
            to.append(line);
            return size_t{0};
        };
        if (!key.found) return copied(out);
        const auto newValue = definitions_.newValueViewFor(key.text, key.hash);
        if (!newValue) return copied(out);
        if (key.size > 0 && !startsAtCharacter(key.inItem())) return appendDecoded(line, out);
        // The new value's bytes stand for it only when each of its characters has a code
        // and none is a surrogate (which could pair with a neighbour).
        newCode_.clear();
        cp932::encodeAppend(*newValue, newCode_);
        if (cp932::replacedCount(*newValue, newCode_) != 0 || holdsSurrogate(*newValue)) {
            return appendDecoded(line, out);
        }
        copy_.clear();
        if (copied(copy_) != 0) return appendDecoded(line, out);
        keyCode_.clear();
        cp932::encodeAppend(key.text, keyCode_);
        if (keyCode_.empty()) {
            out.append(copy_);
            return 0;
        }
        size_t pos = 0;
        const std::string_view copy = copy_;
        for (size_t hit; (hit = findText(copy, std::string_view(keyCode_), pos)) != std::string_view::npos;
             pos = hit + keyCode_.size()) {
            out.append(copy.substr(pos, hit - pos));
            out.append(newCode_);
        }
        out.append(copy.substr(pos));
        return 0;
    }

    // A key whose first byte is below 0x40 is found in the bytes only where a character
    // starts: such a byte is never the second of a two-byte character.
    static bool startsAtCharacter(std::string_view key) { return static_cast<unsigned char>(key.front()) < 0x40; }

    size_t appendDecoded(std::string_view line, std::string& out) {
        decoded_.clear();
        cp932::decodeAppend(line, decoded_);
        takeKey(std::u16string_view(decoded_), decodedKey_);
        return append(decoded_, false, decodedKey_, out);
    }

    const ChangeDefinitions& definitions_;
    std::array<LineKey<char>, kLines> byteKeys_;
    std::array<LineKey<char16_t>, kLines> textKeys_;
    LineKey<char16_t> decodedKey_;
    std::u16string replaced_;
    std::u16string decoded_;
    std::string written_;
    std::string copy_;
    std::string keyCode_;
    std::string newCode_;
};

// Writes the lines of `lines` from `first` on a batch at a time; next(line, comesBack)
// gives the next line, false when there is none.
template <typename Char, typename Next>
void writeInBatches(std::basic_string_view<Char> first, bool firstComesBack, Next&& next, LineReplacer& replacer,
                    LineWriter& copy) {
    LineBatch<Char> batch;
    batch.add(first, firstComesBack);
    std::basic_string_view<Char> line;
    bool comesBack = false;
    for (bool more = true; more; batch.clear()) {
        while (!batch.full() && (more = next(line, comesBack))) batch.add(line, comesBack);
        replacer.writeBatch(batch, copy);
    }
}

}  // namespace

std::u16string replaceLine(std::u16string_view line, const ChangeDefinitions& definitions) {
    std::u16string item;
    const auto key = keyOf(line, item);
    const std::u16string* newValue = key ? definitions.newValueFor(*key) : nullptr;
    if (!newValue) return std::u16string(line);
    std::u16string out;
    replaceInto(line, *key, *newValue, out);
    return out;
}

std::u16string replacedFileName(std::u16string_view inputPath) {
    return replaceAll(fileNamePart(inputPath), u".txt", u"R.txt");
}

Outcome Cnv(std::u16string_view pstFile, const ChangeDefinitions& definitions,
            const std::filesystem::path& programFolder, size_t* linesRead) {
    const std::filesystem::path input = toPath(pstFile);
    if (!fileExists(input)) return Outcome::refused(msg::kNoFile);
    TextLineReader lines(input, Cp932Input::ShiftJisText);
    LineReplacer replacer(definitions);
    std::u16string text;
    std::string_view bytes;
    const auto nextLine = [&] {
        return lines.encoding() == TextEncoding::Cp932 ? lines.next(bytes) : lines.next(text);
    };
    if (!nextLine()) {
        if (linesRead) *linesRead = 0;
        return Outcome::refused(msg::kNotFormOneFile);
    }
    // The copy never replaces the data file or the definitions: it gets another "R".
    LineWriter copy(outputPath(programFolder, replacedFileName(pstFile),
                               {.inputs = {input, definitions.sourceFile()}, .markerOnInput = u"R"}));
    if (lines.encoding() == TextEncoding::Cp932) {
        const auto next = [&](std::string_view& line, bool& comesBack) {
            if (!lines.next(line)) return false;
            comesBack = lines.linesComeBack();
            return true;
        };
        writeInBatches(bytes, lines.linesComeBack(), next, replacer, copy);
    } else {
        const auto next = [&](std::u16string_view& line, bool&) {
            if (!lines.next(text)) return false;
            line = text;
            return true;
        };
        writeInBatches(std::u16string_view(text), false, next, replacer, copy);
    }
    copy.commit();
    if (linesRead) *linesRead = copy.lines();
    const std::u16string name = fromPath(copy.target().filename());
    Outcome outcome = Outcome::wrote({copy.target()}, msg::created(name));
    warnOfLostCharacters(outcome, copy.lost());
    return outcome;
}

}  // namespace vask::replace
