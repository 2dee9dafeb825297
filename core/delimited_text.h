// The delimited-text reading of a line with "," as delimiter (the reading of comma text
// into a string list): blanks (U+0001..U+0020) and commas both separate items, an item may
// be quoted with double quotes (two double quotes inside stand for one, an unclosed quote
// runs to the end), blanks around items are dropped, two commas with nothing between them
// give an empty item, and a comma that ends the line adds one empty item.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vask {

// The item at `index` (from 0); false when the line holds fewer items. Reads no further
// than that item.
bool delimitedTextItem(std::u16string_view line, size_t index, std::u16string& item);

// Every item of the line.
std::vector<std::u16string> splitDelimitedText(std::u16string_view line);

}  // namespace vask
