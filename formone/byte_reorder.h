// The second converter's reordering of record lines given as bytes (code page 932 or
// UTF-8, as TextLineReader hands them out), written in code page 932: a field of ASCII bytes
// is judged by the column rules as it is and copied when kept, any other one is decoded,
// judged and encoded again. The result is that of reorderLine on the decoded line.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/textfile.h"
#include "formone/byte_scan.h"
#include "formone/column_rules.h"

namespace vask::formone {

class ByteReorder {
public:
    // `lines` (which decodes the fields that are not ASCII) must outlive this.
    ByteReorder(std::span<const int> columnOrder, const TextLineReader& lines);

    // The line in the output layout, in code page 932 without its line break, valid until
    // the next call; `lost` is set to the characters written as "?".
    std::string_view reorder(std::string_view line, size_t& lost);

private:
    std::string_view decodedValue(std::string_view field, int position, size_t& lost);
    std::string_view encoded(std::u16string_view text, size_t& lost);

    struct Column {
        int position;  // as in the column order table
        PositionRules rules;
    };
    std::vector<Column> columns_;
    const TextLineReader& lines_;
    size_t maxFields_;        // fields past the last position the table names are not split off
    size_t mostPerByte_ = 0;  // output bytes a byte of a line can give at most
    ByteFields fields_;
    std::u16string text_;       // a field's text
    std::u16string rewritten_;  // its value when its rule rewrites it
    std::string encoded_;       // a value in code page 932
    std::string out_;           // room for the longest output line the current line can give
};

}  // namespace vask::formone
