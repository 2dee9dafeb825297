// The first converter: a form-1 file becomes the small EHR link file of eleven values per
// patient (year-month + "_carte.csv"), each value cleaned by a fixed rule.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/outcome.h"
#include "core/text_index.h"
#include "core/textfile.h"
#include "formone/byte_scan.h"

namespace vask::formone {

inline constexpr std::u16string_view kFirstConverterHeader =
    u"カルテ番号,患者氏名,診療年月日,郵便番号,身長,体重,収縮期血圧,拡張期血圧,HbA1c,LDLコレステロール,尿酸,空列";

// The chart number to write: the plain decimal form of a non-zero 64-bit integer,
// otherwise the text unchanged.
std::u16string GetCarte(std::u16string_view pstPtnum);

// The rows of the output made from the lines of a form-1 file, given one at a time in
// file order: one row per accepted chart number. Only the chart numbers already written
// are kept, so a file of any length passes in constant memory besides them.
class FirstConverterRows {
public:
    // Whether the next line gives a row, then in `row`. Raises the conversion error for an
    // HbA1c or uric acid that is no number.
    bool next(std::u16string_view line, std::u16string& row);
    // The same for a line given as its bytes by `lines`, which decodes the fields read.
    bool next(std::string_view line, const TextLineReader& lines, std::u16string& row);
    // mstNgt: the year-month of the first accepted record line so far, empty before it.
    const std::u16string& yearMonth() const { return mstNgt_; }

private:
    bool take(std::u16string& row);

    size_t lineNumber_ = 0;
    std::u16string mstNgt_;
    TextIndex CList_;  // trimmed chart numbers written, in upper case
    std::u16string upperChartNumber_;
    std::vector<std::u16string> fields_;  // the fields of the current line (as bytes: those read)
    ByteFields pieces_;                   // the bytes of its fields
    std::string unquoted_;                // a line without its double quotes
};

// The run of the first converter on the path as typed: refuses a path without a file and a
// file from which no record line is converted (nothing is written then); otherwise writes
// the EHR link file into `programFolder` (an Error when that file would be the input
// itself).
Outcome runFirstConverter(std::u16string_view pathText, const std::filesystem::path& programFolder);

// The hidden "CSV" operation: reads the file again, line by line, re-joins every line whose
// first delimited-text item is not empty, and writes the lines into `programFolder` under
// item 3 of the first such line after line 1 + "_carte.csv". Returns the file written.
std::filesystem::path writeDelimitedCopy(std::u16string_view pathText, const std::filesystem::path& programFolder);

}  // namespace vask::formone
