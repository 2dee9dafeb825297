// The replacement's item splitter (delimited text with "," as delimiter) and replaceLine.
// Input: a line, then "~~~~", then change-definition pairs "old,new" one per line.
//   - delimitedTextItem(line, i) is item i of splitDelimitedText(line), and false past
//     the last item.
//   - The splitter reads CommaText back: for any list of fields (the line cut at U+001E),
//     splitDelimitedText(CommaText(fields)) == fields. CommaText quotes every field with a
//     blank, a quote or a comma, and the splitter reads quoted items exactly.
//   - replaceLine: without a matching pair the line stays; with one, every occurrence of
//     the key (non-overlapping, left to right) becomes the new value, which fixes the
//     length of the result.
#include <cstddef>
#include <cstdint>

#include "core/text.h"
#include "core/text_formats.h"
#include "fuzz_support.h"
#include "replace/change_definitions.h"
#include "replace/record_replacement.h"

using namespace vask;
using namespace vask::replace;

namespace {

size_t occurrences(std::u16string_view text, std::u16string_view part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != text.npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

void checkItems(std::u16string_view line) {
    const std::vector<std::u16string> items = splitDelimitedText(line);
    std::u16string item;
    for (size_t i = 0; i <= items.size(); ++i) {
        const bool found = delimitedTextItem(line, i, item);
        fuzz::require(found == (i < items.size()), "delimitedTextItem finds the items there are");
        if (found) fuzz::require(item == items[i], "delimitedTextItem gives the split's item");
    }
    std::vector<std::u16string_view> parts;
    splitOn(line, u'\x1E', parts);
    const std::vector<std::u16string> fields(parts.begin(), parts.end());
    fuzz::require(splitDelimitedText(CommaText(fields)) == fields, "the splitter reads CommaText back");
}

void checkReplace(std::u16string_view line, const ChangeDefinitions& definitions) {
    const std::u16string result = replaceLine(line, definitions);
    std::u16string item;
    const bool hasKey = delimitedTextItem(line, 1, item) && !item.empty();
    const std::u16string_view key = trimmedView(item);
    const std::u16string* newValue = hasKey ? definitions.newValueFor(key) : nullptr;
    if (!newValue || key.empty()) {
        fuzz::require(result == line, "a line without a matching key stays");
        return;
    }
    const size_t n = occurrences(line, key);
    fuzz::require(result.size() + n * key.size() == line.size() + n * newValue->size(),
                  "every occurrence of the key becomes the new value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::splitParts(fuzz::bytesOf(data, size), 2);
    const std::u16string line = fuzz::textOf(parts[0]);
    checkItems(line);
    ChangeDefinitions definitions;
    std::vector<std::u16string> pair;
    for (const auto& bytes : fuzz::splitByteLines(parts[1])) {
        pair.clear();
        GetCommaTxt(fuzz::textOf(bytes), pair);
        definitions.add(trim(pair[0]), pair.size() > 1 ? trim(pair[1]) : std::u16string());
    }
    checkReplace(line, definitions);
    return 0;
}
