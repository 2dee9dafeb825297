// A set of short texts that only grows, kept flat: the texts in one block and an
// open-addressing table of their hashes, instead of a node and a string for each, so that
// the hundreds of thousands of chart numbers of a large form-1 file are looked up without
// an allocation each and with few cache misses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vask::formone {

class SeenTexts {
public:
    // Adds `text`; false when it was there already.
    bool insert(std::u16string_view text);

private:
    struct Entry {
        size_t hash;
        size_t offset;  // in texts_
        size_t length;
    };
    std::u16string_view textOf(const Entry& entry) const {
        return std::u16string_view(texts_).substr(entry.offset, entry.length);
    }
    void grow();

    std::u16string texts_;
    std::vector<Entry> entries_;
    std::vector<uint32_t> slots_;  // index + 1 of the entry at each slot, 0 for a free one
};

}  // namespace vask::formone
