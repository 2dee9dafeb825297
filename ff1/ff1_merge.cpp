#include "ff1/ff1_merge.h"

#include <algorithm>
#include <system_error>
#include <unordered_map>

#include "core/file_names.h"
#include "core/messages.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "ff1/ff1_format.h"
#include "ff1/ff1_output.h"
#include "ff1/line_reader.h"
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::ff1 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kMinimumFields = 10;
constexpr size_t kLongestHead = 1 + 10 + 10;  // a record's encoding and two numbers of 64 bits

char16_t asciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c; }

bool matchesMask(std::u16string_view name, std::u16string_view prefix, std::u16string_view suffix) {
    if (name.size() < prefix.size() + suffix.size()) return false;
    auto same = [](std::u16string_view a, std::u16string_view b) {
        return std::equal(a.begin(), a.end(), b.begin(),
                          [](char16_t x, char16_t y) { return asciiUpper(x) == asciiUpper(y); });
    };
    return same(name.substr(0, prefix.size()), prefix) && same(name.substr(name.size() - suffix.size()), suffix);
}

std::vector<std::filesystem::path> filesMatching(const std::filesystem::path& folder, std::u16string_view suffix) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        if (matchesMask(fromPath(it->path().filename()), u"G_FF1", suffix)) files.push_back(it->path());
    }
    if (ec) throw Error(msg::cannotOpen(folder));
    // The platform lists in its own order; the name order makes the choice of the header
    // line and of the output encoding the same everywhere.
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.native() < b.native(); });
    return files;
}

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// ASCII letters compare as upper case, nothing else is folded; a prefix comes first.
bool lessIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return asciiUpper(x) < asciiUpper(y); });
}

// The same order on texts held as UTF-8 (the data IDs of the merge): their ASCII beginning
// compares byte by byte, the rest, from the first other character on, as UTF-16.
bool utf8LessIgnoringAsciiCase(std::string_view a, std::string_view b) {
    size_t k = 0;
    for (; k < a.size() && k < b.size(); ++k) {
        const auto x = static_cast<unsigned char>(a[k]);
        const auto y = static_cast<unsigned char>(b[k]);
        if (x == y && x < 0x80) continue;
        if (x >= 0x80 || y >= 0x80) return lessIgnoringAsciiCase(utf8ToUtf16(a.substr(k)), utf8ToUtf16(b.substr(k)));
        if (asciiUpper(x) != asciiUpper(y)) return asciiUpper(x) < asciiUpper(y);
    }
    return a.size() < b.size();
}

struct TransparentHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// One kept line: its bytes as read, the encoding they are in and its place in the input.
struct KeptLine {
    int32_t yearMonth;
    uint64_t sequence;
    TextEncoding encoding;
    std::string_view bytes;
};

// Unsigned numbers in 7-bit groups, low group first, the high bit marking a following one.
// Written into out[at...]; returns where it ends.
size_t putVarint(uint64_t value, char* out, size_t at) {
    for (; value >= 0x80; value >>= 7) out[at++] = static_cast<char>((value & 0x7F) | 0x80);
    out[at++] = static_cast<char>(value);
    return at;
}

uint64_t getVarint(std::string_view bytes, size_t& at) {
    uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        value |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80) return value;
    }
}

// Makes room for `more` bytes, growing by half again whenever the bytes are full: a data
// ID's many lines cost few copies, and the room beyond its lines stays under a half of them.
void reserveGrowing(std::vector<char>& to, size_t more) {
    const size_t needed = to.size() + more;
    if (needed > to.capacity()) to.reserve(std::max(needed, to.capacity() + to.capacity() / 2));
}

// What can still reach the merged file: per data ID its largest year-month so far and the
// lines of that month. An older month's lines are dropped as soon as a newer one appears.
class LatestLines {
public:
    // `dataId` is the data ID as UTF-8 (see dataIdKey).
    void add(std::string_view dataId, int32_t yearMonth, std::string_view bytes, TextEncoding encoding) {
        Entry& entry = entryOf(dataId, yearMonth);
        const uint64_t sequence = next_++;
        if (yearMonth < entry.yearMonth) return;
        if (yearMonth > entry.yearMonth) {
            entry.yearMonth = yearMonth;
            // The older month's room goes; a month's lines take about as much as the last's.
            std::vector<char> records;
            records.reserve(entry.records.size());
            entry.records.swap(records);
        }
        // A record: encoding, input sequence and length, then the line's bytes.
        char head[kLongestHead];
        size_t length = 0;
        head[length++] = static_cast<char>(encoding);
        length = putVarint(sequence, head, length);
        length = putVarint(bytes.size(), head, length);
        reserveGrowing(entry.records, length + bytes.size());
        entry.records.insert(entry.records.end(), head, head + length);
        entry.records.insert(entry.records.end(), bytes.begin(), bytes.end());
    }

    // The kept lines in output order: data IDs ascending ignoring ASCII letter case, for
    // data IDs that compare equal their year-month descending, then input order.
    template <typename Emit>
    void forEachInOrder(Emit&& emit) const {
        std::vector<const Map::value_type*> ids;
        ids.reserve(entries_.size());
        for (const auto& item : entries_) ids.push_back(&item);
        std::sort(ids.begin(), ids.end(),
                  [](auto* a, auto* b) { return utf8LessIgnoringAsciiCase(a->first, b->first); });
        std::vector<KeptLine> group;
        for (size_t i = 0; i < ids.size();) {
            size_t j = i + 1;
            while (j < ids.size() && !utf8LessIgnoringAsciiCase(ids[i]->first, ids[j]->first)) ++j;
            group.clear();
            for (size_t k = i; k < j; ++k) readRecords(ids[k]->second, group);
            if (j - i > 1) {
                std::sort(group.begin(), group.end(), [](const KeptLine& a, const KeptLine& b) {
                    return a.yearMonth != b.yearMonth ? a.yearMonth > b.yearMonth : a.sequence < b.sequence;
                });
            }
            for (const KeptLine& line : group) emit(line);
            i = j;
        }
    }

private:
    struct Entry {
        explicit Entry(int32_t ym) : yearMonth(ym) {}
        int32_t yearMonth;
        std::vector<char> records;
    };
    using Map = std::unordered_map<std::string, Entry, TransparentHash, std::equal_to<>>;

    // The lines of a data ID mostly follow one another: the entry of the line before is
    // taken without a lookup.
    Entry& entryOf(std::string_view dataId, int32_t yearMonth) {
        if (last_ && last_->first == dataId) return last_->second;
        auto it = entries_.find(dataId);
        if (it == entries_.end()) it = entries_.try_emplace(std::string(dataId), yearMonth).first;
        last_ = &*it;
        return it->second;
    }

    static void readRecords(const Entry& entry, std::vector<KeptLine>& out) {
        const std::string_view records(entry.records.data(), entry.records.size());
        for (size_t at = 0; at < records.size();) {
            KeptLine line{entry.yearMonth, 0, static_cast<TextEncoding>(records[at++]), {}};
            line.sequence = getVarint(records, at);
            const size_t length = getVarint(records, at);
            line.bytes = records.substr(at, length);
            out.push_back(line);
            at += length;
        }
    }

    Map entries_;
    Map::value_type* last_ = nullptr;
    uint64_t next_ = 0;
};

struct HeaderLine {
    bool seen = false;
    TextEncoding encoding = TextEncoding::Cp932;
    std::string bytes;
};

class Merger {
public:
    void readFile(const std::filesystem::path& file, TextEncoding encoding) {
        // Without the UTF-8 mark the file must be Shift-JIS text: read byte by byte, UTF-16
        // would give data IDs and months of garbage, UTF-8 names of mojibake.
        FF1LineReader reader(file, encoding, Cp932Input::ShiftJisText, kYearMonthField + 1, kMinimumFields);
        reader.forEachLine([&](std::string_view bytes, const LineFields& fields, bool ascii) {
            takeLine(bytes, fields, encoding, ascii);
        });
    }

    // Returns the characters written as "?".
    LostCharacters write(const std::filesystem::path& target, TextEncoding encoding) const {
        createMissingFolders(target.parent_path());
        AtomicFile out(target);
        std::string buffer;
        if (encoding == TextEncoding::Utf8) buffer = kUtf8Bom;
        LostCharacters lost;
        size_t lines = 0;
        auto writeLine = [&](std::string_view bytes, TextEncoding from) {
            lost.add(appendReencoded(bytes, from, encoding, buffer), ++lines);
            buffer += "\r\n";
            out.write(buffer);
            buffer.clear();
        };
        if (header_.seen) writeLine(header_.bytes, header_.encoding);
        latest_.forEachInOrder([&](const KeptLine& line) { writeLine(line.bytes, line.encoding); });
        if (!buffer.empty()) out.write(buffer);
        out.commit();
        return lost;
    }

private:
    // The line is read from its bytes; only a data ID that is not ASCII is decoded.
    void takeLine(std::string_view bytes, const LineFields& fields, TextEncoding encoding, bool ascii) {
        if (trimmedBytes(bytes).empty()) return;
        if (isHeaderLineBytes(bytes, fields[0], encoding, ascii)) {
            // The first header line of the run is kept; later ones are dropped.
            if (!header_.seen) header_ = {true, encoding, std::string(bytes)};
            return;
        }
        if (fields.size() < kMinimumFields) return;
        const std::string_view dataId = trimmedBytes(fields[kDataIdField]);
        const int32_t yearMonth = parseYearMonthBytes(fields[kYearMonthField]);
        if (dataId.empty() || yearMonth == 0) return;
        latest_.add(ascii ? dataId : dataIdKey(dataId, encoding), yearMonth, bytes, encoding);
    }

    // The data ID as UTF-8, so that the same ID read from either encoding is one key: its
    // bytes as they are when it is ASCII.
    std::string_view dataIdKey(std::string_view bytes, TextEncoding encoding) {
        if (isAscii(bytes)) return bytes;
        decodeLine(bytes, encoding, text_);
        key_ = utf16ToUtf8(text_);
        return key_;
    }

    std::u16string text_;
    std::string key_;
    HeaderLine header_;
    LatestLines latest_;
};

}  // namespace

std::vector<std::filesystem::path> listFF1Files(const std::filesystem::path& folder) {
    auto files = filesMatching(folder, u".txt");
    if (files.empty()) files = filesMatching(folder, u".tsv");
    return files;
}

void MergeFF1Latest(std::u16string_view InDir, std::u16string_view OutFile, LostCharacters* lost) {
    const std::filesystem::path folder = toPath(InDir);
    if (!folderExists(folder)) throw Error(msg::ff1FolderMissing(InDir));
    const auto files = listFF1Files(folder);
    if (files.empty()) throw Error(msg::noFF1Files(InDir));
    // The merged file replaces an older one only when it is complete; it never replaces
    // one of the files it is made from.
    const std::filesystem::path target = toPath(OutFile);
    refuseToReplaceInputs(target, files);

    Merger merger;
    for (const auto& file : files) merger.readFile(file, DetectEncodingFromFile(file, true));
    const LostCharacters written = merger.write(target, DetectEncodingFromFile(files.front(), true));
    if (lost) *lost = written;
}

}  // namespace vask::ff1
