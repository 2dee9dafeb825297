// Reading the items of a line by the comma-text rule of the replacement run: blanks
// (U+0001..U+0020) and commas both separate items, an item may be quoted with double quotes
// (two double quotes inside stand for one), two commas with nothing between them give an
// empty item, and a comma that ends the line adds one empty item.
#pragma once

#include <string>
#include <string_view>

namespace vask {

// The item at `index` (from 0), or nothing when the line holds fewer items.
bool commaTextItem(std::u16string_view line, size_t index, std::u16string& item);

}  // namespace vask
