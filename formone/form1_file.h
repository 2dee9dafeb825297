// The form-1 file ("FFファイル"): a tab-separated export with one header line and one
// patient record per further line. Choosing it, accepting it, its year-month, and the
// names and messages every converter shares.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vask::formone {

// The lines of a chosen file, decoded by its byte-order mark (code page 932 without one,
// which must then hold no NUL byte: raises Error, not Shift-JIS text, for UTF-16 without
// its mark).
std::vector<std::u16string> loadFormOne(const std::filesystem::path& file);

// Field 3 of a line under the tab rule, untrimmed. Raises the range error when the line
// has fewer than four fields.
std::u16string GetNgt(std::u16string_view InFileLine);

// What choosing a file keeps of its line list: how many lines it has and line 2.
struct FormOneChoice {
    size_t lineCount = 0;
    std::optional<std::u16string> secondLine;

    // A chosen file is accepted when it holds at least one line; nothing else is tested.
    bool accepted() const { return lineCount > 0; }
    // The year-month that choosing a file sets: GetNgt of line 2. Raises the list-index
    // error (1) when there is no line 2, the range error when it has fewer than four fields.
    std::u16string yearMonth() const;
};
// Reads the whole chosen file as loadFormOne does (so the same files are refused), in
// constant memory: only the line count and line 2 are kept.
FormOneChoice chooseFormOne(const std::filesystem::path& file);
// The year-month that choosing `file` sets, or nothing when choosing refuses the file
// (it holds no line). Raises the errors of chooseFormOne and FormOneChoice::yearMonth.
std::optional<std::u16string> chosenYearMonth(const std::filesystem::path& file);

// The EHR link file of a year-month, year-month + "_carte.csv". The year-month comes from
// file content: the caller passes the name through outputPath.
std::u16string carteFileName(std::u16string_view mstNgt);

}  // namespace vask::formone
