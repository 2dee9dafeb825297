// The specification CSV ("siyo4.csv" beside the program): which FF1 item code and payload
// number feed which of the 89 output columns, and each column's header text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/ehr_layout.h"

namespace vask::ff1 {

// The columns of the output, those of the EHR link layout, as an index type of its own.
inline constexpr int kOutputColumns = static_cast<int>(kEhrColumnCount);

struct SpecCsv {
    // Exactly 89 header texts; "[n]" unless a row of the specification CSV names column n.
    std::vector<std::u16string> Headers;
    // "code|payload" (payload 1 to 9 in decimal) -> output column 0 to 88.
    std::unordered_map<std::u16string, int> MapCodePayloadToIndex;
};

// Reads the file as Shift-JIS. Line 1 holds the titles "ヘッダー名称", "コード" and
// "ペイロード番号" in any order (trimmed, ASCII letter case ignored, the rightmost of
// a repeated title counts); every later non-blank line is a row whose first
// cell holds "[n]" and the column name. Raises Error when the file cannot be read, is no
// Shift-JIS text (a NUL byte, or a byte-order mark), is empty or lacks a title.
SpecCsv LoadSpecCSV(const std::filesystem::path& SpecCsvPath);

// The integer between the first "[" and the first "]" (trimmed), or -1.
int ExtractIndexFromBracket(std::u16string_view S);

// The key of MapCodePayloadToIndex.
std::u16string codePayloadKey(std::u16string_view code, int payload);

}  // namespace vask::ff1
