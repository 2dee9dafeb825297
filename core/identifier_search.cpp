#include "core/identifier_search.h"

#include <algorithm>
#include <bit>
#include <deque>
#include <functional>

#include "core/byte_fields.h"
#include "core/strconv.h"
#include "core/text.h"
#include "platform/cp932.h"

namespace vask {
namespace {

constexpr char16_t kWideSpace = 0x3000;
constexpr size_t kLengthBits = 63;

bool isNameBlank(char16_t c) { return isBlankUnit(c) || c == kWideSpace; }

std::u16string_view withoutBlankEnds(std::u16string_view text) {
    while (!text.empty() && isNameBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isNameBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The parts of `name` between blanks.
std::vector<std::u16string_view> nameParts(std::u16string_view name) {
    std::vector<std::u16string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isNameBlank(name[i])) continue;
        if (i > start) parts.push_back(name.substr(start, i - start));
        start = i + 1;
    }
    return parts;
}

// The full-width forms of the ASCII characters U+0021..U+007E.
bool isWideAscii(char16_t c) { return c >= 0xFF01 && c <= 0xFF5E; }

std::uint64_t lengthBit(size_t length) { return std::uint64_t{1} << std::min(length, kLengthBits); }

}  // namespace

// --- The automaton.

void PatternAutomaton::build(const std::vector<std::pair<std::u16string, KindSet>>& patterns) {
    // The trie, as edges keyed by parent node and character, nodes numbered as created.
    std::unordered_map<std::uint64_t, std::uint32_t> trie;
    std::vector<KindSet> own(1, 0);
    for (const auto& [pattern, kinds] : patterns) {
        std::uint32_t node = 0;
        for (char16_t c : pattern) {
            const auto [it, added] =
                trie.try_emplace((std::uint64_t{node} << 16) | c, static_cast<std::uint32_t>(own.size()));
            if (added) own.push_back(0);
            node = it->second;
        }
        own[node] |= kinds;
    }
    struct Edge {
        std::uint32_t parent;
        char16_t c;
        std::uint32_t child;
    };
    std::vector<Edge> edges;
    edges.reserve(trie.size());
    for (const auto& [key, child] : trie) {
        edges.push_back({static_cast<std::uint32_t>(key >> 16), static_cast<char16_t>(key & 0xFFFF), child});
    }
    trie = {};
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.parent != b.parent ? a.parent < b.parent : a.c < b.c; });
    const size_t nodes = own.size();
    edgeBegin_.assign(nodes + 1, 0);
    for (const auto& e : edges) ++edgeBegin_[e.parent + 1];
    for (size_t n = 0; n < nodes; ++n) edgeBegin_[n + 1] += edgeBegin_[n];
    edgeChar_.resize(edges.size());
    edgeTarget_.resize(edges.size());
    rootNext_.assign(0x10000, 0);
    for (size_t i = 0; i < edges.size(); ++i) {
        edgeChar_[i] = edges[i].c;
        edgeTarget_[i] = edges[i].child;
        if (edges[i].parent == 0) rootNext_[edges[i].c] = edges[i].child;
    }
    edges = {};
    // Failure links breadth first: a node's link is shorter than the node, so its kinds
    // are complete before the node takes them over.
    fail_.assign(nodes, 0);
    found_ = std::move(own);
    std::deque<std::uint32_t> queue;
    for (std::uint32_t i = edgeBegin_[0]; i < edgeBegin_[1]; ++i) queue.push_back(edgeTarget_[i]);
    while (!queue.empty()) {
        const std::uint32_t node = queue.front();
        queue.pop_front();
        for (std::uint32_t i = edgeBegin_[node]; i < edgeBegin_[node + 1]; ++i) {
            const std::uint32_t child = edgeTarget_[i];
            fail_[child] = next(fail_[node], edgeChar_[i]);
            found_[child] |= found_[fail_[child]];
            queue.push_back(child);
        }
    }
}

std::uint32_t PatternAutomaton::next(std::uint32_t state, char16_t c) const {
    while (state != 0) {
        const auto begin = edgeChar_.begin() + edgeBegin_[state];
        const auto end = edgeChar_.begin() + edgeBegin_[state + 1];
        const auto it = std::lower_bound(begin, end, c);
        if (it != end && *it == c) return edgeTarget_[static_cast<size_t>(it - edgeChar_.begin())];
        state = fail_[state];
    }
    return rootNext_[c];
}

// --- The hashed set.

std::uint64_t HashedTextSet::Hash::value() const {
    // A final mix, so that the high bits, which pick the slot, depend on every unit.
    std::uint64_t h = h_ ^ (h_ >> 33);
    h *= 0xFF51AFD7ED558CCDu;
    h ^= h >> 33;
    return h == 0 ? 1 : h;
}

std::uint64_t HashedTextSet::hashOf(std::u16string_view text) {
    Hash hash;
    for (char16_t c : text) hash.add(c);
    return hash.value();
}

size_t HashedTextSet::slotOf(std::uint64_t hash) const {
    return static_cast<size_t>((hash * 0x9E3779B97F4A7C15u) >> shift_);
}

KindSet HashedTextSet::find(std::uint64_t hash) const {
    if (size_ == 0) return 0;
    const std::uint64_t bit = hash & (filter_.size() * 64 - 1);
    if ((filter_[bit / 64] & (std::uint64_t{1} << (bit % 64))) == 0) return 0;
    const size_t mask = slots_.size() - 1;
    for (size_t slot = slotOf(hash);; slot = (slot + 1) & mask) {
        if (slots_[slot].key == hash) return slots_[slot].kinds;
        if (slots_[slot].key == 0) return 0;
    }
}

void HashedTextSet::add(std::uint64_t hash, KindSet kinds) {
    if ((size_ + kWaiting + 1) * 2 > slots_.size()) grow();
    __builtin_prefetch(&slots_[slotOf(hash)]);
    if (waitingCount_ < kWaiting) {
        waiting_[waitingCount_++] = {hash, kinds};
        return;
    }
    const auto [oldHash, oldKinds] = waiting_[nextWaiting_];
    waiting_[nextWaiting_] = {hash, kinds};
    nextWaiting_ = (nextWaiting_ + 1) % kWaiting;
    complete(oldHash, oldKinds);
}

void HashedTextSet::finish() {
    for (size_t i = 0; i < waitingCount_; ++i) {
        const auto [hash, kinds] = waiting_[(nextWaiting_ + i) % kWaiting];
        complete(hash, kinds);
    }
    waitingCount_ = 0;
    nextWaiting_ = 0;
}

void HashedTextSet::complete(std::uint64_t hash, KindSet kinds) {
    for (KindSet added = kinds & ~insert(hash, kinds); added != 0; added &= added - 1) {
        ++gained_[static_cast<size_t>(std::countr_zero(added))];
    }
}

KindSet HashedTextSet::insert(std::uint64_t hash, KindSet kinds) {
    const size_t mask = slots_.size() - 1;
    size_t slot = slotOf(hash);
    while (slots_[slot].key != 0 && slots_[slot].key != hash) slot = (slot + 1) & mask;
    Slot& found = slots_[slot];
    if (found.key == 0) {
        found.key = hash;
        ++size_;
        const std::uint64_t bit = hash & (filter_.size() * 64 - 1);
        filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
    const KindSet before = found.kinds;
    found.kinds = static_cast<KindSet>(before | kinds);
    return before;
}

void HashedTextSet::grow() {
    const LargeTable<Slot> slots = std::move(slots_);
    const size_t count = slots.empty() ? 64 : slots.size() * 2;
    slots_.assign(count, Slot{});
    filter_.assign(count / 8, 0);
    shift_ = 64 - static_cast<unsigned>(std::countr_zero(count));
    size_ = 0;
    for (const Slot& slot : slots) {
        if (slot.key != 0) insert(slot.key, slot.kinds);
    }
}

// --- Collecting and searching.

IdentifierSearch::IdentifierSearch(const std::vector<std::u16string_view>& dummies) {
    for (auto dummy : dummies) dummies_.push_back(StrConv(dummy, conversionSet(TConversion::Wide)));
    for (size_t k = 0; k < kIdentifierKindCount; ++k) tallies_[k].kind = static_cast<IdentifierKind>(k);
}

const std::u16string& IdentifierSearch::widened(std::u16string_view value) {
    wide_.clear();
    appendWide(trimmedView(value), wide_);
    return wide_;
}

bool IdentifierSearch::isDummy(std::u16string_view wide) const {
    return std::find(dummies_.begin(), dummies_.end(), wide) != dummies_.end();
}

// A value is left out of a kind for one reason, its own (being a dummy or too short): the
// values gaining the kind count both, those gaining its dummy bit the dummies.
void IdentifierSearch::leaveOut(IdentifierKind kind, Verdict verdict, const std::u16string& wide) {
    const KindSet bits = verdict == Verdict::Dummy ? kindBit(kind) | dummyBit(kind) : kindBit(kind);
    leftOut_.add(HashedTextSet::hashOf(wide), bits);
}

void IdentifierSearch::addNumber(IdentifierKind kind, std::u16string_view value) {
    const std::u16string& wide = widened(value);
    if (wide.empty()) return;
    if (isDummy(wide)) return leaveOut(kind, Verdict::Dummy, wide);
    if (wide.size() < kShortestNumber) return leaveOut(kind, Verdict::TooShort, wide);
    numbers_.add(HashedTextSet::hashOf(wide), kindBit(kind));  // counted once finished
    numberLengths_ |= lengthBit(wide.size());
}

void IdentifierSearch::addName(IdentifierKind kind, std::u16string_view value) {
    widened(value);
    const std::u16string name(withoutBlankEnds(wide_));
    if (name.empty()) return;
    if (isDummy(name)) return leaveOut(kind, Verdict::Dummy, name);
    const size_t letters =
        static_cast<size_t>(std::count_if(name.begin(), name.end(), [](char16_t c) { return !isNameBlank(c); }));
    if (letters < kShortestName) return leaveOut(kind, Verdict::TooShort, name);
    KindSet& kinds = names_[name];
    if ((kinds & kindBit(kind)) == 0) ++tallies_[static_cast<size_t>(kind)].checked;
    kinds |= kindBit(kind);
}

void IdentifierSearch::leaveOutAsDummy(IdentifierKind kind, std::u16string_view value) {
    widened(value);
    const std::u16string name(withoutBlankEnds(wide_));
    if (!name.empty()) leaveOut(kind, Verdict::Dummy, name);
}

// Each part of kShortestName characters or more; a name whose parts are all shorter
// (李　明) is searched for as a whole, blanks included.
void IdentifierSearch::addPatterns(const std::u16string& name, KindSet kinds,
                                   std::vector<std::pair<std::u16string, KindSet>>& patterns) const {
    const auto insideDummy = [this](std::u16string_view part) {
        return std::any_of(dummies_.begin(), dummies_.end(),
                           [part](const std::u16string& dummy) { return contains(dummy, part); });
    };
    bool longPart = false;
    for (const auto part : nameParts(name)) {
        if (part.size() < kShortestName) continue;
        longPart = true;
        if (!insideDummy(part)) patterns.emplace_back(part, kinds);
    }
    if (!longPart && !insideDummy(name)) patterns.emplace_back(name, kinds);
}

void IdentifierSearch::prepare() {
    numbers_.finish();
    leftOut_.finish();
    for (size_t k = 0; k < kIdentifierKindCount; ++k) {
        const auto kind = static_cast<IdentifierKind>(k);
        KindTally& tally = tallies_[k];
        tally.checked += numbers_.gained(static_cast<unsigned>(std::countr_zero(kindBit(kind))));
        tally.dummy = leftOut_.gained(static_cast<unsigned>(std::countr_zero(dummyBit(kind))));
        tally.tooShort = leftOut_.gained(static_cast<unsigned>(std::countr_zero(kindBit(kind)))) - tally.dummy;
    }
    std::vector<std::pair<std::u16string, KindSet>> patterns;
    for (const auto& [name, kinds] : names_) addPatterns(name, kinds, patterns);
    asciiInNames_ = std::any_of(patterns.begin(), patterns.end(), [](const auto& pattern) {
        return std::any_of(pattern.first.begin(), pattern.first.end(), isWideAscii);
    });
    names_ = {};  // the automaton holds them from now on
    automaton_.build(patterns);
}

// One pass over the line widens each field character by character and runs the automaton
// on it; only a field as long as some number is widened again for its hash. The automaton
// may run over a field's leading and trailing blanks: no name part begins or ends with one.
KindSet IdentifierSearch::find(std::u16string_view line, char16_t separator) {
    const bool names = !automaton_.empty();
    KindSet kinds = 0;
    for (size_t start = 0;; ++start) {
        std::uint32_t state = 0;
        size_t length = 0;  // in widened units
        size_t firstSolid = std::u16string_view::npos;
        size_t solidEnd = 0;
        size_t i = start;
        while (i < line.size() && line[i] != separator) {
            const char16_t c = line[i];
            if (!asciiInNames_ && c > 0x20 && c < 0x7F) {
                state = 0;  // no name holds its full-width form: every match breaks here
                ++i;
            } else {
                const char16_t wide = nextWideUnit(line, i);
                if (names) {
                    state = automaton_.next(state, wide);
                    kinds |= automaton_.kindsAt(state);
                }
            }
            ++length;
            if (!isBlankUnit(c)) {
                if (firstSolid == std::u16string_view::npos) firstSolid = length - 1;
                solidEnd = length;
            }
        }
        const size_t trimmedLength = firstSolid == std::u16string_view::npos ? 0 : solidEnd - firstSolid;
        if ((numberLengths_ & lengthBit(trimmedLength)) != 0) {
            const std::u16string_view field = trimmedView(line.substr(start, i - start));
            HashedTextSet::Hash hash;
            for (size_t k = 0; k < field.size();) hash.add(nextWideUnit(field, k));
            kinds |= numbers_.find(hash.value());
        }
        if (i >= line.size()) return kinds;
        start = i;
    }
}

KindSet IdentifierSearch::find(std::string_view line, char separator) {
    KindSet kinds = 0;
    std::uint64_t filled = 0;
    // An empty field holds nothing searched for; each other field is searched alone, as the
    // text search searches it: one of ASCII alone, when no name holds a full-width form of
    // an ASCII character, can hold a number only, and is hashed in its full width without
    // decoding it.
    const bool numbersOnly = holdsNumbersOnly(line);
    forEachFilledField(line, separator, filled,
                       [&](size_t, std::string_view field) { kinds |= findField(field, separator, numbersOnly); });
    return kinds;
}

KindSet IdentifierSearch::findField(std::string_view field, char separator, bool numbersOnly) {
    if (numbersOnly || (!asciiInNames_ && isAsciiBytes(field))) return findAsciiNumber(trimmedBytes(field));
    return findInText(field, separator);
}

// A field of text, decoded; a field seen last in its slot of remembered_ is not searched again.
KindSet IdentifierSearch::findInText(std::string_view field, char separator) {
    Remembered& seen = remembered_[std::hash<std::string_view>{}(field) % remembered_.size()];
    if (seen.field != field) {
        decoded_.clear();
        cp932::decodeAppend(field, decoded_);
        seen.kinds = find(decoded_, static_cast<char16_t>(separator));  // one field: it holds no separator
        seen.field.assign(field);
    }
    return seen.kinds;
}

KindSet IdentifierSearch::findAsciiNumber(std::string_view field) const {
    if ((numberLengths_ & lengthBit(field.size())) == 0) return 0;
    HashedTextSet::Hash hash;
    for (const char c : field) {
        const auto unit = static_cast<char16_t>(c);
        hash.add(unit == 0x20 ? char16_t{0x3000} : unit > 0x20 && unit < 0x7F ? char16_t(unit - 0x21 + 0xFF01) : unit);
    }
    return numbers_.find(hash.value());
}

std::vector<KindTally> IdentifierSearch::tallies() const {
    std::vector<KindTally> out;
    for (const auto& tally : tallies_) {
        if (tally.checked + tally.tooShort + tally.dummy > 0) out.push_back(tally);
    }
    return out;
}

}  // namespace vask
