#include "replace/change_definitions.h"

#include <algorithm>
#include <system_error>

#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/paths.h"

namespace vask::replace {
namespace {

constexpr size_t kFilledWidth = 10;
constexpr size_t kFirstSlots = 64;
constexpr uintmax_t kLargestReserve = 1 << 26;

// upperUnit, inline for ASCII, which most values are.
char16_t upper(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    return upperUnit(c);
}

// Asks for the cache line at `address` ahead of its use; nothing where the compiler has no
// such hint.
void prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// A length, below 2^31: one unit below 0x8000, else two (the first marked by its top bit).
void putLength(size_t length, std::u16string& out) {
    if (length < 0x8000) {
        out.push_back(static_cast<char16_t>(length));
        return;
    }
    out.push_back(static_cast<char16_t>(0x8000 | (length >> 16)));
    out.push_back(static_cast<char16_t>(length & 0xFFFF));
}

size_t getLength(std::u16string_view text, size_t& at) {
    const size_t first = text[at++];
    if (first < 0x8000) return first;
    return (first & 0x7FFF) << 16 | text[at++];
}

// `value` filled on the left with "0" to ten characters, into `out`.
std::u16string_view fillTo10(std::u16string_view value, std::u16string& out) {
    out.clear();
    if (value.size() < kFilledWidth) out.assign(kFilledWidth - value.size(), u'0');
    out.append(value);
    return out;
}

}  // namespace

ChangeDefinitions::Pair ChangeDefinitions::pairAt(size_t at) const {
    const size_t oldLength = getLength(packed_, at);
    const size_t newLength = getLength(packed_, at);
    const std::u16string_view text(packed_);
    return {text.substr(at, oldLength), text.substr(at + oldLength, newLength), at + oldLength + newLength};
}

size_t ChangeDefinitions::slotOf(std::u16string_view key, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.pair == 0 || (slot.hash == hash && sameTextIgnoringCase(pairAt(slot.at).oldValue, key))) return at;
    }
}

const ChangeDefinitions::Slot* ChangeDefinitions::find(std::u16string_view key, uint32_t hash) const {
    if (slots_.empty()) return nullptr;
    const Slot& slot = slots_[slotOf(key, hash)];
    return slot.pair == 0 ? nullptr : &slot;
}

void ChangeDefinitions::growIndex() {
    std::vector<Slot> old(std::max(kFirstSlots, slots_.size() * 2));
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.pair == 0) continue;
        size_t at = slot.hash & mask;
        while (slots_[at].pair != 0) at = (at + 1) & mask;
        slots_[at] = slot;
    }
}

void ChangeDefinitions::add(std::u16string_view oldValue, std::u16string_view newValue) {
    const size_t at = packed_.size();
    putLength(oldValue.size(), packed_);
    putLength(newValue.size(), packed_);
    packed_.append(oldValue);
    packed_.append(newValue);
    ++pairs_;
    // At most half the slots are taken, so that a lookup finds a free one soon.
    if (2 * pairs_ > slots_.size()) growIndex();
    const uint32_t hash = hashOf(oldValue);
    Slot& slot = slots_[slotOf(oldValue, hash)];
    if (slot.pair == 0) slot = {hash, static_cast<uint32_t>(pairs_), at};  // the first pair wins
}

// FNV-1a over the units with their letter case ignored.
uint32_t ChangeDefinitions::hashOf(std::u16string_view text) {
    uint64_t hash = 14695981039346656037ULL;
    for (const char16_t c : text) {
        hash ^= upper(c);
        hash *= 1099511628211ULL;
    }
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

void ChangeDefinitions::prefetchSlot(uint32_t hash) const {
    if (!slots_.empty()) prefetch(&slots_[hash & (slots_.size() - 1)]);
}

// The pair of the key's first slot: in a table at most half full, mostly the key's own.
void ChangeDefinitions::prefetchPair(uint32_t hash) const {
    if (slots_.empty()) return;
    const Slot& slot = slots_[hash & (slots_.size() - 1)];
    if (slot.pair != 0 && slot.hash == hash) prefetch(packed_.data() + slot.at);
}

std::optional<std::u16string_view> ChangeDefinitions::newValueViewFor(std::u16string_view key, uint32_t hash) const {
    const Slot* slot = find(key, hash);
    if (!slot) return std::nullopt;
    return pairAt(slot->at).newValue;
}

std::optional<std::u16string_view> ChangeDefinitions::newValueViewFor(std::u16string_view key) const {
    return newValueViewFor(key, hashOf(key));
}

const std::u16string* ChangeDefinitions::newValueFor(std::u16string_view key) const {
    const auto value = newValueViewFor(key);
    if (!value) return nullptr;
    found_.assign(*value);
    return &found_;
}

std::vector<std::u16string> ChangeDefinitions::oldValues() const {
    std::vector<std::u16string> values;
    for (size_t at = 0; at < packed_.size();) {
        const Pair pair = pairAt(at);
        values.emplace_back(pair.oldValue);
        at = pair.next;
    }
    return values;
}

std::vector<std::u16string> ChangeDefinitions::newValues() const {
    std::vector<std::u16string> values;
    for (size_t at = 0; at < packed_.size();) {
        const Pair pair = pairAt(at);
        values.emplace_back(pair.newValue);
        at = pair.next;
    }
    return values;
}

std::u16string zeroFilled(std::u16string_view value) {
    std::u16string filled;
    return std::u16string(fillTo10(value, filled));
}

std::optional<ChangeDefinitions> CsvSet(std::u16string_view pstFile) {
    const std::filesystem::path file = toPath(pstFile);
    if (!fileExists(file)) return std::nullopt;
    ChangeDefinitions definitions(file);
    // A UTF-16 or marked UTF-8 file would give keys that match nothing: a run that
    // silently replaces nothing.
    Cp932LineReader reader(file, LineRule::TextFile, Cp932Input::ShiftJisText);
    // Values filled to ten characters take about twice the units of their lines' bytes:
    // room made at once spares the copies of a growing text.
    std::error_code sizeError;
    const uintmax_t bytes = std::filesystem::file_size(file, sizeError);
    if (!sizeError && bytes <= kLargestReserve) definitions.reserve(2 * static_cast<size_t>(bytes));
    std::vector<std::u16string> items;
    std::u16string line;
    std::u16string filledOld;
    std::u16string filledNew;
    for (size_t lineNumber = 1; reader.next(line); ++lineNumber) {
        splitCommaFields(line, items);
        // A line without a comma has no second item: its pair gets an empty new value,
        // which from the second line on is filled like any other value (ten zeros).
        std::u16string_view oldValue = trimmedView(items[0]);
        std::u16string_view newValue = items.size() > 1 ? trimmedView(items[1]) : std::u16string_view();
        if (lineNumber >= 2) {
            oldValue = fillTo10(oldValue, filledOld);
            newValue = fillTo10(newValue, filledNew);
        }
        definitions.add(oldValue, newValue);
    }
    return definitions;
}

}  // namespace vask::replace
