#include "ff1/record_log.h"

#include <algorithm>

namespace vask::ff1 {
namespace {
constexpr size_t kLongestLength = 10;  // bytes of a 64-bit length in 7-bit groups
}  // namespace

void RecordLog::append(std::string_view head, std::string_view body) {
    const size_t length = head.size() + body.size();
    const size_t needed = kLongestLength + length;
    if (blocks_.empty() || blocks_.back().used + needed > blocks_.back().capacity) {
        if (needed <= kBlockSize && !spare_.empty()) {
            blocks_.push_back(std::move(spare_.back()));
            spare_.pop_back();
        } else {
            // A record longer than a block gets a block of its own size.
            const size_t capacity = std::max(kBlockSize, needed);
            blocks_.push_back({std::unique_ptr<char[]>(new char[capacity]), capacity, 0});
        }
    }
    Block& block = blocks_.back();
    char* out = putVarint(length, block.data.get() + block.used);
    std::memcpy(out, head.data(), head.size());
    std::memcpy(out + head.size(), body.data(), body.size());
    block.used = static_cast<size_t>(out - block.data.get()) + head.size() + body.size();
}

}  // namespace vask::ff1
