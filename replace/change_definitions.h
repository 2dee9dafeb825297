// The change-definition file of the record replacement: one pair of an old and a new value
// per line, comma-separated. From the second line on both values are filled with leading
// zeros to ten characters; when several lines carry the same old value, the first wins.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vask::replace {

class ChangeDefinitions {
public:
    explicit ChangeDefinitions(std::filesystem::path sourceFile = {}) : sourceFile_(std::move(sourceFile)) {}

    // Makes room for pairs of about `units` code units in all.
    void reserve(size_t units) { packed_.reserve(units); }
    void add(std::u16string_view oldValue, std::u16string_view newValue);
    // The new value of the first pair whose old value equals `key`, letter case ignored;
    // nothing when no pair matches. The text pointed to holds until the next call.
    const std::u16string* newValueFor(std::u16string_view key) const;
    // The same, where the definitions keep it (valid as long as they live, unchanged).
    std::optional<std::u16string_view> newValueViewFor(std::u16string_view key) const;

    // Lookups of many keys in turn (the lines of a data file) wait for memory: tens of
    // thousands of pairs do not stay in the processor's caches while a file streams
    // through them. A caller that knows the next keys asks for what their lookups read
    // beforehand, in two rounds (the slot, then once that has come, its pair), so that the
    // waits of many keys overlap. The hash that the lookup of `key` uses:
    static uint32_t hashOf(std::u16string_view key);
    void prefetchSlot(uint32_t hash) const;
    void prefetchPair(uint32_t hash) const;
    // newValueViewFor, given hashOf(key).
    std::optional<std::u16string_view> newValueViewFor(std::u16string_view key, uint32_t hash) const;

    size_t size() const { return pairs_; }
    std::vector<std::u16string> oldValues() const;  // mlsList
    std::vector<std::u16string> newValues() const;  // mlsList2
    // The file the pairs were read from (empty when built by hand).
    const std::filesystem::path& sourceFile() const { return sourceFile_; }

private:
    struct Pair {
        std::u16string_view oldValue;
        std::u16string_view newValue;
        size_t next;  // where the next pair starts
    };
    // Per slot of the index: the hash of the old value, the pair's number + 1 (0 while
    // the slot is free) and where the pair starts in `packed_`.
    struct Slot {
        uint32_t hash = 0;
        uint32_t pair = 0;
        size_t at = 0;
    };

    Pair pairAt(size_t at) const;
    // The slot of the first pair whose old value equals `key` (letter case ignored), or the
    // free slot where such a pair goes.
    size_t slotOf(std::u16string_view key, uint32_t hash) const;
    const Slot* find(std::u16string_view key, uint32_t hash) const;
    void growIndex();

    std::filesystem::path sourceFile_;
    // The pairs one after the other, in file order: the lengths of the old and the new
    // value, then both values. Tens of thousands of short values without a string each,
    // and a lookup reads its slot and one place here.
    std::u16string packed_;
    size_t pairs_ = 0;
    // An open-addressing index of the old values, letter case ignored: a lookup does not
    // scan the list, so a run costs lines + definitions, not their product.
    std::vector<Slot> slots_;
    mutable std::u16string found_;  // the new value newValueFor gave last
};

// CsvSet: reads the change definitions from the file at `pstFile` (code page 932, one line
// at a time, up to an end-of-file byte 0x1A). Nothing when no file is there (the caller
// shows msg::kNoDefinitionFile). Raises Error when the file cannot be read or is no Shift-JIS
// text (a NUL byte, or a byte-order mark).
std::optional<ChangeDefinitions> CsvSet(std::u16string_view pstFile);

// A value of a definition line from the second on: filled on the left with "0" to ten
// characters (code units); a longer value stays as it is.
std::u16string zeroFilled(std::u16string_view value);

}  // namespace vask::replace
