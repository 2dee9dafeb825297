#include "formone/seen_texts.h"

#include <functional>

namespace vask::formone {

bool SeenTexts::insert(std::u16string_view text) {
    // At most half the slots are taken, so a search soon meets a free one.
    if (2 * (entries_.size() + 1) > slots_.size()) grow();
    const size_t hash = std::hash<std::u16string_view>{}(text);
    const size_t mask = slots_.size() - 1;
    size_t slot = hash & mask;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const Entry& entry = entries_[slots_[slot] - 1];
        if (entry.hash == hash && textOf(entry) == text) return false;
    }
    entries_.push_back({hash, texts_.size(), text.size()});
    texts_ += text;
    slots_[slot] = static_cast<uint32_t>(entries_.size());
    return true;
}

void SeenTexts::grow() {
    slots_.assign(slots_.empty() ? 1024 : 2 * slots_.size(), 0);
    const size_t mask = slots_.size() - 1;
    for (size_t i = 0; i < entries_.size(); ++i) {
        size_t slot = entries_[i].hash & mask;
        while (slots_[slot] != 0) slot = (slot + 1) & mask;
        slots_[slot] = static_cast<uint32_t>(i + 1);
    }
}

}  // namespace vask::formone
