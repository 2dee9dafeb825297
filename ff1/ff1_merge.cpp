#include "ff1/ff1_merge.h"

#include <xmmintrin.h>

#include <algorithm>
#include <system_error>

#include "core/file_names.h"
#include "core/messages.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "ff1/ff1_format.h"
#include "ff1/ff1_output.h"
#include "ff1/line_reader.h"
#include "ff1/record_log.h"
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::ff1 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kMinimumFields = 10;

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

// What can still reach the merged file: per data ID its largest year-month so far and the
// lines of that month, kept in one log in input order. The lines of a month that a newer
// one replaced are dead from then on, and go when the log is compacted: whenever they take
// a third of it, so that the log stays within half again the size of the lines kept.
class LatestLines {
public:
    // `dataId` is the data ID as UTF-8 (see dataIdKey).
    void add(std::string_view dataId, int32_t yearMonth, std::string_view bytes, TextEncoding encoding) {
        const uint32_t index = entryOf(dataId, yearMonth);
        Entry& entry = entries_[index];
        if (yearMonth < entry.yearMonth) return;
        if (yearMonth > entry.yearMonth) {
            entry.yearMonth = yearMonth;
            ++entry.month;
            dead_ += entry.bytes;
            live_ -= entry.bytes;
            entry.bytes = 0;
        }
        // A record: the data ID's entry, its month (how many newer months it has seen) and
        // the line's encoding, then the line's bytes.
        char head[kLongestHead];
        char* end = putVarint(entry.month, putVarint(index, head));
        *end++ = static_cast<char>(encoding);
        const auto length = static_cast<size_t>(end - head);
        log_.append(std::string_view(head, length), bytes);
        entry.bytes += length + bytes.size();
        live_ += length + bytes.size();
        if (dead_ > kFewBytes && 2 * dead_ > live_) dropDeadLines();
    }

    // The kept lines in output order: data IDs ascending ignoring ASCII letter case, for
    // data IDs that compare equal their year-month descending, then input order.
    template <typename Emit>
    void forEachInOrder(Emit&& emit) {
        dropDeadLines();
        log_.releaseSpareBlocks();
        std::vector<bool> shared;  // per group: it holds more than one data ID
        const std::vector<uint32_t> groups = groupsInOrder(shared);
        // The lines of each group, in input order, by counting them first.
        std::vector<size_t> starts(shared.size() + 1, 0);
        log_.forEach([&](std::string_view record, RecordLog::Place) { ++starts[groups[read(record).entry] + 1]; });
        for (size_t g = 1; g < starts.size(); ++g) starts[g] += starts[g - 1];
        std::vector<RecordLog::Place> records(starts.back());
        std::vector<size_t> next(starts.begin(), starts.end() - 1);
        log_.forEach([&](std::string_view record, RecordLog::Place place) {
            records[next[groups[read(record).entry]]++] = place;
        });
        for (size_t g = 0; g + 1 < starts.size(); ++g) {
            const auto first = records.begin() + static_cast<std::ptrdiff_t>(starts[g]);
            const auto last = records.begin() + static_cast<std::ptrdiff_t>(starts[g + 1]);
            // Data IDs that differ in ASCII letter case only: the later month first.
            if (shared[g]) {
                std::stable_sort(first, last, [&](RecordLog::Place a, RecordLog::Place b) {
                    return entries_[read(RecordLog::recordAt(a)).entry].yearMonth >
                           entries_[read(RecordLog::recordAt(b)).entry].yearMonth;
                });
            }
            for (auto it = first; it != last; ++it) {
                const Record record = read(RecordLog::recordAt(*it));
                emit(record.encoding, record.line);
            }
        }
    }

private:
    static constexpr size_t kLongestHead = 10 + 10 + 1;  // two numbers of 64 bits, the encoding
    static constexpr size_t kFewBytes = 1 << 20;         // dead lines not worth a compaction

    static constexpr uint32_t kNone = UINT32_MAX;

    struct Entry {
        std::string dataId;  // UTF-8
        int32_t yearMonth = 0;
        uint32_t month = 0;     // newer months seen: the lines of earlier ones are dead
        size_t bytes = 0;       // of the records of its month
        uint32_t next = kNone;  // the entry whose lines came after this one's the last time
    };
    // An open-addressing index of the entries by data ID: per slot the ID's hash and the
    // entry + 1, 0 while the slot is free.
    struct Slot {
        uint32_t hash = 0;
        uint32_t entry = 0;
    };
    struct Record {
        uint32_t entry;
        uint32_t month;
        TextEncoding encoding;
        std::string_view line;
    };

    static Record read(std::string_view record) {
        size_t at = 0;
        Record out{};
        out.entry = static_cast<uint32_t>(getVarint(record.data(), at));
        out.month = static_cast<uint32_t>(getVarint(record.data(), at));
        out.encoding = static_cast<TextEncoding>(record[at++]);
        out.line = record.substr(at);
        return out;
    }

    void dropDeadLines() {
        log_.compact([&](std::string_view record) {
            const Record r = read(record);
            return r.month == entries_[r.entry].month;
        });
        dead_ = 0;
    }

    // Per entry, the number of its group: data IDs that compare equal ignoring ASCII letter
    // case form one, and the groups are numbered in output order. `shared` tells per group
    // whether it holds more than one.
    std::vector<uint32_t> groupsInOrder(std::vector<bool>& shared) const {
        std::vector<uint32_t> order(entries_.size());
        for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            return utf8LessIgnoringAsciiCase(entries_[a].dataId, entries_[b].dataId);
        });
        std::vector<uint32_t> groups(entries_.size());
        shared.clear();
        for (size_t i = 0; i < order.size(); ++i) {
            if (i == 0 || utf8LessIgnoringAsciiCase(entries_[order[i - 1]].dataId, entries_[order[i]].dataId)) {
                shared.push_back(false);
            } else {
                shared.back() = true;
            }
            groups[order[i]] = static_cast<uint32_t>(shared.size() - 1);
        }
        return groups;
    }

    // The lines of a data ID mostly follow one another, and the data IDs of the files of
    // successive months mostly come in the same order: the entry of the line before, the
    // one that came after it the last time and the two made after it are tried before the
    // index.
    uint32_t entryOf(std::string_view dataId, int32_t yearMonth) {
        if (last_ == kNone) return enter(find(dataId, yearMonth));
        if (entries_[last_].dataId == dataId) return last_;
        const uint32_t guesses[] = {entries_[last_].next, last_ + 1, last_ + 2};
        for (const uint32_t guess : guesses) {
            if (guess < entries_.size() && entries_[guess].dataId == dataId) return enter(guess);
        }
        const uint32_t found = find(dataId, yearMonth);
        entries_[last_].next = found;
        return enter(found);
    }

    // Makes `entry` the one of the line before, and asks for the one likely to come next.
    uint32_t enter(uint32_t entry) {
        last_ = entry;
        if (const uint32_t next = entries_[entry].next; next != kNone) {
            _mm_prefetch(reinterpret_cast<const char*>(&entries_[next]), _MM_HINT_T0);
        }
        return entry;
    }

    // The entry of `dataId`, made when it is new.
    uint32_t find(std::string_view dataId, int32_t yearMonth) {
        if (2 * (entries_.size() + 1) > slots_.size()) growIndex();
        const uint32_t hash = hashOf(dataId);
        const size_t mask = slots_.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.entry == 0) {
                entries_.push_back({std::string(dataId), yearMonth});
                slot = {hash, static_cast<uint32_t>(entries_.size())};
                return slot.entry - 1;
            }
            if (slot.hash == hash && entries_[slot.entry - 1].dataId == dataId) return slot.entry - 1;
        }
    }

    // FNV-1a.
    static uint32_t hashOf(std::string_view bytes) {
        uint64_t hash = 14695981039346656037ULL;
        for (const char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ULL;
        }
        return static_cast<uint32_t>(hash ^ (hash >> 32));
    }

    void growIndex() {
        constexpr size_t kFirstSlots = 1024;
        std::vector<Slot> old(std::max(kFirstSlots, 2 * slots_.size()));
        old.swap(slots_);
        const size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.entry == 0) continue;
            size_t at = slot.hash & mask;
            while (slots_[at].entry != 0) at = (at + 1) & mask;
            slots_[at] = slot;
        }
    }

    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
    uint32_t last_ = kNone;  // the entry of the line before
    RecordLog log_;
    size_t live_ = 0;  // bytes of the records of every entry's month
    size_t dead_ = 0;  // bytes of the others, since the last compaction
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
    LostCharacters write(const std::filesystem::path& target, TextEncoding encoding) {
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
        latest_.forEachInOrder([&](TextEncoding from, std::string_view line) { writeLine(line, from); });
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
        if (isAsciiBytes(bytes)) return bytes;
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
