// The fields of form-1 lines split as bytes: those of the text split rules, wherever the
// sixteen bytes the split looks at together happen to end.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/text_formats.h"
#include "formone/byte_scan.h"

namespace vask::formone {
namespace {

// Lines of tabs and commas at every place around the sixteen-byte boundaries, with bytes
// of 80 and above here and there, split as the text rules split the same text.
TEST(ByteFields, SplitsAsTheTextRulesAndKnowsTheFieldsOfOnlyAsciiBytes) {
    std::mt19937 random(20240401);
    const char pieces[] = {'\t', ',', 'a', '1', ' ', '\x82', '\xA0'};
    for (int round = 0; round < 2000; ++round) {
        std::string line(random() % 70, 'x');
        for (char& c : line) c = pieces[random() % std::size(pieces)];
        std::u16string text;  // each byte as one code unit: the splits look at single units
        for (const char c : line) text += static_cast<char16_t>(static_cast<unsigned char>(c));
        const size_t maxFields = 1 + random() % 40;

        std::vector<std::u16string_view> tabFields;
        splitTabs(text, tabFields);
        std::vector<std::u16string> commaAndTabFields;
        splitCommaAndTabFields(text, maxFields, commaAndTabFields);
        if (text.empty()) commaAndTabFields.clear();  // the comma split gives one empty field there

        ByteFields fields;
        const auto expect = [&](const auto& expected, size_t count) {
            ASSERT_EQ(fields.size(), count) << line;
            for (size_t i = 0; i < count; ++i) {
                const std::string_view field = fields[i];
                EXPECT_EQ(std::u16string(text.data() + (field.data() - line.data()), field.size()), expected[i])
                    << line << " field " << i;
                const bool ascii = field.find_first_of("\x82\xA0") == std::string_view::npos;
                EXPECT_EQ(fields.isAscii(i), ascii) << line << " field " << i;
            }
        };
        fields.split(line, '\t', '\t', SIZE_MAX);
        expect(tabFields, tabFields.size());
        fields.split(line, '\t', ',', maxFields);
        expect(commaAndTabFields, commaAndTabFields.size());
    }
}

}  // namespace
}  // namespace vask::formone
