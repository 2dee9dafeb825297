#include <gtest/gtest.h>

#include <string>

#include "core/text_index.h"

namespace vask {
namespace {

// Every text is found again, under its own number, across the table's growth (past the
// size from which its tables are allocated for huge pages); texts that begin alike stay
// apart, and the empty text is one too.
TEST(TextIndex, FindsEveryTextAgainUnderItsNumberAfterGrowing) {
    TextIndex index;
    const auto key = [](int n) {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    };
    constexpr int kTexts = 300000;
    for (int n = 0; n < kTexts; ++n) ASSERT_EQ(index.insert(key(n)), std::make_pair(size_t(n), true)) << n;
    for (int n = 0; n < kTexts; ++n) ASSERT_EQ(index.insert(key(n)), std::make_pair(size_t(n), false)) << n;
    EXPECT_EQ(index.insert(u""), std::make_pair(size_t(kTexts), true));
    EXPECT_EQ(index.insert(u""), std::make_pair(size_t(kTexts), false));
    EXPECT_EQ(index.text(1234), u"1234");
    EXPECT_EQ(index.size(), size_t(kTexts) + 1);
}

}  // namespace
}  // namespace vask
