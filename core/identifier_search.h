// The search of an anonymised file for the identifying values of its original.
//
// Collecting reads the original once and keeps each distinct value (in full width, so
// that half-width kana, ASCII and their full-width forms compare equal). Searching then
// looks at every field of every record of the anonymised file once, in time linear in
// its length: a number or symbol is found when it is a whole field (one hash lookup per
// field); a name is found anywhere inside a field (one automaton over all name parts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/anonymisation_report.h"

namespace vask {

// The shortest values worth searching for; shorter ones are left out of the search.
// A number or symbol of one to three characters equals counts, points and days found in
// every claims file (and a one-digit card symbol or two-digit branch number any digit
// field); a one-character name would be found in any Japanese text.
inline constexpr size_t kShortestNumber = 4;
inline constexpr size_t kShortestName = 2;

// Bit set of IdentifierKind, bit n for the kind of ordinal n.
using KindSet = std::uint16_t;

// Aho-Corasick automaton over UTF-16 patterns, each with the kinds it stands for.
class PatternAutomaton {
public:
    void build(const std::vector<std::pair<std::u16string, KindSet>>& patterns);
    bool empty() const { return fail_.size() <= 1; }
    // The kinds of every pattern found inside `text`.
    KindSet find(std::u16string_view text) const;

private:
    std::uint32_t step(std::uint32_t state, char16_t c) const;

    std::vector<std::uint32_t> rootNext_;  // the root's child by character (0: none)
    std::vector<std::uint32_t> edgeBegin_;
    std::vector<char16_t> edgeChar_;  // each node's edges, sorted by character
    std::vector<std::uint32_t> edgeTarget_;
    std::vector<std::uint32_t> fail_;
    std::vector<KindSet> found_;  // kinds of the patterns ending at the node or its suffixes
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
    // Ends collecting; call once, before find.
    void prepare();

    // The kinds of the values found in one field of an anonymised record.
    KindSet find(std::u16string_view field);

    // Per kind that had any value, in kind order.
    std::vector<KindTally> tallies() const;

private:
    enum class Verdict { Searched, TooShort, Dummy };
    const std::u16string& widened(std::u16string_view value);
    bool isDummy(std::u16string_view wide) const;
    void leaveOut(IdentifierKind kind, Verdict verdict, const std::u16string& wide);
    void addPatterns(const std::u16string& name, KindSet kinds,
                     std::vector<std::pair<std::u16string, KindSet>>& patterns) const;

    std::vector<std::u16string> dummies_;  // widened
    std::unordered_map<std::u16string, KindSet> numbers_;
    std::uint64_t numberLengths_ = 0;  // bit n: a number of n units (63: 63 or more)
    std::unordered_map<std::u16string, KindSet> names_;
    std::unordered_set<std::u16string> leftOut_;  // kind ordinal + value, for distinct counts
    KindTally tallies_[kIdentifierKindCount];
    PatternAutomaton automaton_;
    std::u16string wide_;
};

constexpr KindSet kindBit(IdentifierKind kind) { return static_cast<KindSet>(1u << static_cast<unsigned>(kind)); }

}  // namespace vask

namespace vask {

// Adds to `report` one finding for each kind in `found`, at `line` of the anonymised file.
void reportSurvivors(KindSet found, std::u16string_view record, size_t line, AnonymisationReport& report);

}  // namespace vask
