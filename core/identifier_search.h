// The search of an anonymised file for the identifying values of its original.
//
// Collecting reads the original once and keeps each distinct value (in full width, so
// that half-width kana, ASCII and their full-width forms compare equal). Searching then
// looks at every field of every record of the anonymised file once, in time linear in
// its length: a number or symbol is found when it is a whole field (one hash lookup per
// field); a name is found anywhere inside a field (one automaton over all name parts).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/anonymisation_report.h"
#include "core/byte_fields.h"
#include "platform/large_table.h"

namespace vask {

// Aho-Corasick automaton over UTF-16 patterns, each with the kinds it stands for.
class PatternAutomaton {
public:
    void build(const std::vector<std::pair<std::u16string, KindSet>>& patterns);
    bool empty() const { return fail_.size() <= 1; }
    // The state after `c` in `state` (0: the start, before any character).
    std::uint32_t next(std::uint32_t state, char16_t c) const;
    // The kinds of the patterns that end at the character that led to `state`.
    KindSet kindsAt(std::uint32_t state) const { return found_[state]; }

private:
    std::vector<std::uint32_t> rootNext_;  // the root's child by character (0: none)
    std::vector<std::uint32_t> edgeBegin_;
    std::vector<char16_t> edgeChar_;  // each node's edges, sorted by character
    std::vector<std::uint32_t> edgeTarget_;
    std::vector<std::uint32_t> fail_;
    std::vector<KindSet> found_;  // kinds of the patterns ending at the node or its suffixes
};

// A set of distinct texts kept as their 64-bit hashes (open addressing), each with the
// kinds it stood for. Two different texts share a hash with a probability of about
// n * n / 2^65 for n texts, far below any count a clinic's files reach; keeping hashes
// instead of texts keeps the memory at 16 bytes a slot and a lookup at one cache miss.
class HashedTextSet {
public:
    // The 64-bit hash of a text, added to one code unit at a time.
    class Hash {
    public:
        void add(char16_t c) { h_ = (h_ ^ c) * 0x100000001B3u; }
        std::uint64_t value() const;

    private:
        std::uint64_t h_ = 0xCBF29CE484222325u;  // FNV-1a
    };
    static std::uint64_t hashOf(std::u16string_view text);
    // Adds `kinds` to the text of `hash`. The addition completes later (by finish(), at the
    // latest): a few additions wait while the processor fetches their slots, so that
    // adding the values of a large file does not wait for memory at every one.
    void add(std::uint64_t hash, KindSet kinds);
    // Completes every addition; call before find and gained.
    void finish();
    KindSet find(std::uint64_t hash) const;
    // How many texts the additions gave the kind of bit `bit` (0 to 31) that they had not.
    size_t gained(unsigned bit) const { return gained_[bit]; }
    bool empty() const { return size_ == 0; }

private:
    static constexpr size_t kWaiting = 16;
    size_t slotOf(std::uint64_t hash) const;
    KindSet insert(std::uint64_t hash, KindSet kinds);
    void complete(std::uint64_t hash, KindSet kinds);
    void grow();

    // A hash and its kinds side by side, so that a lookup costs one cache miss.
    struct Slot {
        std::uint64_t key = 0;  // 0: empty slot (a hash of 0 is stored as 1)
        KindSet kinds = 0;
    };
    LargeTable<Slot> slots_;
    // One bit per hash, 8 bits a slot: small enough to stay in the processor's cache, it
    // spares most lookups of absent texts the miss of the large table.
    LargeTable<std::uint64_t> filter_;
    size_t size_ = 0;
    unsigned shift_ = 64;
    std::array<std::pair<std::uint64_t, KindSet>, kWaiting> waiting_{};
    size_t waitingCount_ = 0;
    size_t nextWaiting_ = 0;  // the oldest, when kWaiting are waiting
    std::array<size_t, 32> gained_{};
};

class IdentifierSearch {
public:
    // `dummies`: the texts the anonymiser writes in place of the values. A value equal to
    // one is left out; a part of a name found inside one is not searched for, since the
    // anonymised file holds the dummies everywhere.
    explicit IdentifierSearch(const std::vector<std::u16string_view>& dummies = {});

    // Collecting, from the original. Blank values are no values and are not counted.
    // A number or symbol: searched for as a whole field, after trimming.
    void addNumber(IdentifierKind kind, std::u16string_view value);
    // A name or other text: searched for inside fields, itself and each part of it of
    // kShortestName characters or more between blanks (U+0020, U+3000).
    void addName(IdentifierKind kind, std::u16string_view value);
    // A value the caller knows is a dummy of the anonymiser.
    void leaveOutAsDummy(IdentifierKind kind, std::u16string_view value);
    // Ends collecting; call once, before find and tallies.
    void prepare();

    // The kinds of the values found in the fields of one anonymised record, `line` split
    // at every `separator` (a line without one is one field).
    KindSet find(std::u16string_view line, char16_t separator);
    // The same for the code page 932 bytes of a record (valid Shift-JIS text; `separator`
    // an ASCII character). A line of ASCII alone, when no name holds a full-width form of
    // an ASCII character, can hold numbers only and is searched without decoding it.
    KindSet find(std::string_view line, char separator);
    // The same for the code page 932 bytes of one field split at `separator` (valid
    // Shift-JIS text), for callers that split records themselves; `numbersOnly` is what
    // holdsNumbersOnly said of the field's record.
    KindSet findField(std::string_view field, char separator, bool numbersOnly);
    // Whether the record `line` can hold numbers only (see find): ASCII alone, and no name
    // holds a full-width form of an ASCII character.
    bool holdsNumbersOnly(std::string_view line) const { return !asciiInNames_ && isAsciiBytes(line); }

    // Per kind that had any value, in kind order.
    std::vector<KindTally> tallies() const;

private:
    enum class Verdict { Searched, TooShort, Dummy };
    // The bit of leftOut_ that marks a value left out of `kind` as a dummy (beside the
    // kind's own bit, which every value left out has).
    static KindSet dummyBit(IdentifierKind kind) { return static_cast<KindSet>(kindBit(kind) << kIdentifierKindCount); }
    KindSet findAsciiNumber(std::string_view trimmedField) const;
    KindSet findInText(std::string_view field, char separator);
    const std::u16string& widened(std::u16string_view value);
    bool isDummy(std::u16string_view wide) const;
    void leaveOut(IdentifierKind kind, Verdict verdict, const std::u16string& wide);
    void addPatterns(const std::u16string& name, KindSet kinds,
                     std::vector<std::pair<std::u16string, KindSet>>& patterns) const;

    std::vector<std::u16string> dummies_;  // widened
    HashedTextSet numbers_;
    std::uint64_t numberLengths_ = 0;  // bit n: a number of n units (63: 63 or more)
    bool asciiInNames_ = false;        // a name holds a full-width form of an ASCII character
    std::unordered_map<std::u16string, KindSet> names_;
    HashedTextSet leftOut_;  // for distinct counts
    KindTally tallies_[kIdentifierKindCount];
    PatternAutomaton automaton_;
    std::u16string wide_;
    std::u16string decoded_;
    // The kinds found in the fields of text seen last, by their bytes: an anonymised file
    // repeats its dummies and its texts of comments and symptoms in record after record.
    struct Remembered {
        std::string field;
        KindSet kinds = 0;
    };
    std::vector<Remembered> remembered_ = std::vector<Remembered>(1024);
};

}  // namespace vask
