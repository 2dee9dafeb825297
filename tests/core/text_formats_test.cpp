#include <gtest/gtest.h>

#include "core/text_formats.h"
#include "platform/cp932.h"

namespace vask {
namespace {

using Texts = std::vector<std::u16string>;

TEST(DelimitedText, BlanksAndCommasSeparateAndQuotesProtect) {
    const std::pair<std::u16string, Texts> cases[] = {
        {u"", {}},
        {u" \t \x01", {}},
        {u"a,b", {u"a", u"b"}},
        {u"\tA\tB", {u"A", u"B"}},        // a leading empty column gives no item
        {u"A\t\tB", {u"A", u"B"}},        // nor does an empty column inside
        {u"A B\tC", {u"A", u"B", u"C"}},  // a space splits a column
        {u"A , ,B", {u"A", u"", u"B"}},
        {u"a,,b", {u"a", u"", u"b"}},
        {u"A,", {u"A", u""}},  // a comma ending the line adds an empty item
        {u"A, ", {u"A"}},      // ... but not when blanks follow it
        {u" ,B", {u"", u"B"}},
        {u"\"x, \"\"y\"\"\",z", {u"x, \"y\"", u"z"}},
        {u"\"ab\"cd", {u"ab", u"cd"}},  // a quoted item ends at its closing quote
        {u"\"open, to the end", {u"open, to the end"}},
        {u"ab\"c d\"", {u"ab\"c", u"d\""}},  // a quote inside a plain item is a character
        {std::u16string(u"A\0B,C", 5), {std::u16string(u"A\0B", 3), u"C"}},
        {u"\u3000A\u3000,B", {u"\u3000A\u3000", u"B"}},         // the full-width space is no blank
        {u"ソ,\"表\"\tア\u3000", {u"ソ", u"表", u"ア\u3000"}},  // their second bytes look like ASCII
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(splitDelimitedText(line), expected);
        Texts items;
        for (std::u16string item; delimitedTextItem(line, items.size(), item);) items.push_back(item);
        EXPECT_EQ(items, expected);
        // The same items from the line's code page 932 bytes.
        std::vector<std::string> bytes;
        for (std::string item; delimitedTextItem(cp932::encode(line), bytes.size(), item);) bytes.push_back(item);
        std::vector<std::string> expectedBytes;
        for (const auto& item : expected) expectedBytes.push_back(cp932::encode(item));
        EXPECT_EQ(bytes, expectedBytes);
    }
}

TEST(QuotedCsv, QuotesGroupCellsDoubledQuotesStayAndEveryLineHasACell) {
    const struct {
        std::u16string line;
        std::vector<std::u16string> cells;
    } cases[] = {
        {u"", {u""}},
        {u"a,", {u"a", u""}},
        {u"\"A,B\",c", {u"A,B", u"c"}},
        {u"\"a\"\"b\"", {u"a\"b"}},
        {u"ab\"c,d\"e", {u"abc,de"}},
        {u"\"open,to the end", {u"open,to the end"}},
        {u" x , y ", {u" x ", u" y "}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitQuotedCsv(c.line), c.cells);
}

}  // namespace
}  // namespace vask
