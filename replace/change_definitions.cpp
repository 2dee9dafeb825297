#include "replace/change_definitions.h"

#include <algorithm>

#include "core/text.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace vask::replace {
namespace {

constexpr size_t kFilledWidth = 10;
constexpr size_t kFirstSlots = 64;

// upperUnit, inline for ASCII, which most values are.
char16_t upper(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    return upperUnit(c);
}

// FNV-1a over the units with their letter case ignored.
uint32_t hashIgnoringCase(std::u16string_view text) {
    uint64_t hash = 14695981039346656037ULL;
    for (const char16_t c : text) {
        hash ^= upper(c);
        hash *= 1099511628211ULL;
    }
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

bool holdsSurrogate(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0xD800 && c <= 0xDFFF; });
}

// `value` filled on the left with "0" to ten characters, into `out`.
std::u16string_view fillTo10(std::u16string_view value, std::u16string& out) {
    out.clear();
    if (value.size() < kFilledWidth) out.assign(kFilledWidth - value.size(), u'0');
    out.append(value);
    return out;
}

}  // namespace

size_t ChangeDefinitions::slotOf(std::u16string_view key, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.pair == 0 || (slot.hash == hash && sameTextIgnoringCase(oldOf(slot), key))) return at;
    }
}

const ChangeDefinitions::Slot* ChangeDefinitions::find(std::u16string_view key) const {
    if (slots_.empty()) return nullptr;
    const Slot& slot = slots_[slotOf(key, hashIgnoringCase(key))];
    return slot.pair == 0 ? nullptr : &slot;
}

void ChangeDefinitions::growIndex() {
    std::vector<Slot> old(std::max(kFirstSlots, slots_.size() * 2));
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.pair != 0) slots_[slotOf(oldOf(slot), slot.hash)] = slot;
    }
}

void ChangeDefinitions::add(std::u16string_view oldValue, std::u16string_view newValue) {
    starts_.push_back(packed_.size());
    packed_.append(oldValue);
    oldEnds_.push_back(packed_.size());
    std::string written;
    cp932::encodeAppend(newValue, written);
    const bool exact = cp932::replacedCount(newValue, written) == 0 && !holdsSurrogate(newValue);
    packed_.append(written.begin(), written.end());
    newValues_.emplace_back(newValue);
    // At most half the slots are taken, so that a lookup finds a free one soon.
    if (2 * newValues_.size() > slots_.size()) growIndex();
    const uint32_t hash = hashIgnoringCase(oldValue);
    Slot& slot = slots_[slotOf(oldValue, hash)];
    if (slot.pair != 0) return;  // the first pair wins
    slot = {hash, static_cast<uint32_t>(newValues_.size()), starts_.back(), static_cast<uint32_t>(oldValue.size()),
            exact ? static_cast<uint32_t>(written.size()) : kInexact};
}

const std::u16string* ChangeDefinitions::newValueFor(std::u16string_view key) const {
    const Slot* slot = find(key);
    return slot ? &newValues_[slot->pair - 1] : nullptr;
}

std::optional<ChangeDefinitions::Written> ChangeDefinitions::writtenValueFor(std::u16string_view key) const {
    const Slot* slot = find(key);
    if (!slot) return std::nullopt;
    if (slot->writtenLength == kInexact) return Written{{}, false};
    return Written{std::u16string_view(packed_).substr(slot->at + slot->oldLength, slot->writtenLength), true};
}

std::vector<std::u16string> ChangeDefinitions::oldValues() const {
    std::vector<std::u16string> values;
    values.reserve(starts_.size());
    for (size_t pair = 0; pair < starts_.size(); ++pair) {
        values.emplace_back(std::u16string_view(packed_).substr(starts_[pair], oldEnds_[pair] - starts_[pair]));
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
