#include "core/text_index.h"

#include <functional>

namespace vask {

std::pair<size_t, bool> TextIndex::insert(std::u16string_view text) {
    // At most half the slots are taken, so a search soon meets a free one.
    if (2 * (entries_.size() + 1) > slots_.size()) grow();
    const size_t hash = std::hash<std::u16string_view>{}(text);
    const size_t mask = slots_.size() - 1;
    const auto high = static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32);
    size_t slot = hash & mask;
    for (; slots_[slot].number != 0; slot = (slot + 1) & mask) {
        if (slots_[slot].hashHigh != high) continue;
        const size_t number = slots_[slot].number - 1;
        if (entries_[number].hash == hash && this->text(number) == text) return {number, false};
    }
    entries_.push_back({hash, texts_.size(), text.size()});
    texts_ += text;
    slots_[slot] = {static_cast<std::uint32_t>(entries_.size()), high};
    return {entries_.size() - 1, true};
}

void TextIndex::grow() {
    slots_.assign(slots_.empty() ? 1024 : 2 * slots_.size(), Slot{});
    const size_t mask = slots_.size() - 1;
    for (size_t i = 0; i < entries_.size(); ++i) {
        size_t slot = entries_[i].hash & mask;
        while (slots_[slot].number != 0) slot = (slot + 1) & mask;
        slots_[slot] = {static_cast<std::uint32_t>(i + 1),
                        static_cast<std::uint32_t>(static_cast<std::uint64_t>(entries_[i].hash) >> 32)};
    }
}

}  // namespace vask
