// The rule of every form-one position, written here once for all the tests of the form-one
// columns: the values at the boundaries of each rule, for the rules alone, and values a
// clinic's file holds, for whole converted files. Every expected value is typed here from
// the layout's rule list; none is taken from the code under test.
#pragma once

#include <string>
#include <vector>

namespace vask::test {

// A value of a position and what the rules make of it (empty: the value is dropped).
struct RuleCase {
    std::u16string input;
    std::u16string expected;
};

struct ColumnRule {
    std::vector<RuleCase> boundaries;  // the edges of the rule's kind
    std::vector<RuleCase> samples;     // realistic values
};

// The rule of `position`; a position without rules (free text, or outside the layout)
// gets the rule that keeps every value as it is.
const ColumnRule& columnRule(int position);
// The positions that have rules, in order.
const std::vector<int>& ruledPositions();
// Positions without rules: the free-text ones between the ruled ones, and some outside the
// layout.
const std::vector<int>& freePositions();

}  // namespace vask::test
