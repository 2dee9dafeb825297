#include <gtest/gtest.h>

#include <string>

#include "core/text_index.h"

namespace vask {
namespace {

// Every text is found again, under its own number, across the table's growth; texts that
// begin alike stay apart, and the empty text is one too.
TEST(TextIndex, FindsEveryTextAgainUnderItsNumberAfterGrowing) {
    TextIndex index;
    const auto key = [](int n) {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    };
    for (int n = 0; n < 5000; ++n) EXPECT_EQ(index.insert(key(n)), std::make_pair(size_t(n), true)) << n;
    for (int n = 0; n < 5000; ++n) EXPECT_EQ(index.insert(key(n)), std::make_pair(size_t(n), false)) << n;
    EXPECT_EQ(index.insert(u""), std::make_pair(size_t(5000), true));
    EXPECT_EQ(index.insert(u""), std::make_pair(size_t(5000), false));
    EXPECT_EQ(index.text(1234), u"1234");
    EXPECT_EQ(index.size(), 5001u);
}

}  // namespace
}  // namespace vask
