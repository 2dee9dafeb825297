// Records (short byte strings) kept in the order they come, in blocks of 1 MiB that never
// move when more come: keeping one costs a copy, no allocation of its own. Records that are
// no longer wanted are dropped now and then by compact(), which slides the others forward
// in place; the blocks it leaves empty wait for the records to come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace vask::ff1 {

// Unsigned numbers in 7-bit groups, low group first, the high bit marking a following one
// (at most 10 bytes for 64 bits): the lengths of the log's records, and numbers in them.
// Writes `value` from `out` on; returns where it ends.
inline char* putVarint(std::uint64_t value, char* out) {
    for (; value >= 0x80; value >>= 7) *out++ = static_cast<char>((value & 0x7F) | 0x80);
    *out++ = static_cast<char>(value);
    return out;
}
// The number written at in[at...]; `at` moves past it.
inline std::uint64_t getVarint(const char* in, size_t& at) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(in[at++]);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80) return value;
    }
}

class RecordLog {
public:
    // Appends the record made of `head` and `body`.
    void append(std::string_view head, std::string_view body);

    // Where a record lies, valid until the next append or compact.
    using Place = const char*;

    // Calls `take(record, place)` for every record, in order.
    template <typename Take>
    void forEach(Take&& take) const {
        for (const Block& block : blocks_) {
            for (size_t at = 0; at < block.used;) {
                const Place place = block.data.get() + at;
                take(recordAt(place, at), place);
            }
        }
    }

    // The record at `place`.
    static std::string_view recordAt(Place place) {
        size_t at = 0;
        return recordAt(place, at);
    }

    // Gives back the blocks that hold nothing, when no more records will come.
    void releaseSpareBlocks() { std::vector<Block>().swap(spare_); }

    // Keeps the records for which `keep(record)` holds, in order, and drops the others.
    template <typename Keep>
    void compact(Keep&& keep) {
        size_t to = 0;     // the block the next kept record goes to
        size_t place = 0;  // and where in it
        for (Block& block : blocks_) {
            const size_t used = block.used;
            for (size_t at = 0; at < used;) {
                const size_t start = at;
                if (!keep(recordAt(block.data.get() + start, at))) continue;
                // A record never spans blocks, and the one it comes from has room for it: so
                // it goes before where it is, and nothing unread is overwritten.
                while (place + (at - start) > blocks_[to].capacity) {
                    blocks_[to].used = place;
                    ++to;
                    place = 0;
                }
                std::memmove(blocks_[to].data.get() + place, block.data.get() + start, at - start);
                place += at - start;
            }
        }
        if (blocks_.empty()) return;
        blocks_[to].used = place;
        // The blocks left empty are kept for the records to come: their pages are there.
        while (blocks_.size() > to + 1) {
            if (blocks_.back().capacity == kBlockSize) {
                blocks_.back().used = 0;
                spare_.push_back(std::move(blocks_.back()));
            }
            blocks_.pop_back();
        }
    }

private:
    static constexpr size_t kBlockSize = 1 << 20;

    struct Block {
        std::unique_ptr<char[]> data;
        size_t capacity = 0;
        size_t used = 0;
    };

    // The record at `place` (its length in 7-bit groups, low group first, then its bytes);
    // `at` moves on by its size.
    static std::string_view recordAt(Place place, size_t& at) {
        size_t read = 0;
        const auto length = static_cast<size_t>(getVarint(place, read));
        at += read + length;
        return std::string_view(place + read, length);
    }

    std::vector<Block> blocks_;
    std::vector<Block> spare_;  // blocks of kBlockSize that hold nothing
};

}  // namespace vask::ff1
