// A set of short texts that only grows, kept flat: the texts in one block and an
// open-addressing table of their hashes, instead of a node and a string for each, so that
// the hundreds of thousands of chart numbers of a large file are looked up without an
// allocation each and with few cache misses. Each text has a number (0, 1, 2 ... in the
// order added), by which a caller keeps what belongs to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/large_table.h"

namespace vask {

class TextIndex {
public:
    // The number of `text`, and whether it was added now (false: it was there already).
    std::pair<size_t, bool> insert(std::u16string_view text);
    std::u16string_view text(size_t number) const {
        return std::u16string_view(texts_).substr(entries_[number].offset, entries_[number].length);
    }
    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        size_t hash;
        size_t offset;  // in texts_
        size_t length;
    };
    // A slot holds the high half of its text's hash beside the text's number, so that a
    // search passes other texts' slots without looking at their entries.
    struct Slot {
        std::uint32_t number = 0;  // number + 1 of the text, 0 for a free slot
        std::uint32_t hashHigh = 0;
    };
    void grow();

    std::u16string texts_;
    LargeTable<Entry> entries_;
    LargeTable<Slot> slots_;
};

}  // namespace vask
