// The delimited-text reading of the platform's string lists, with "," as delimiter and
// the delimiter not strict: double quotes group text (two inside stand for one), blanks
// and control characters (U+0001..U+0020) separate items like the comma does, blanks
// around an item are dropped, two commas with nothing between them give an empty item and
// a comma that ends the text gives one more empty item. U+0000 ends the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vask::formone {

std::vector<std::u16string> splitDelimitedText(std::u16string_view text);

}  // namespace vask::formone
