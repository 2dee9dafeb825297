// The form-1 file ("FFファイル"): a tab-separated export with one header line and one
// patient record per further line. Choosing it, accepting it, its year-month, and the
// names and messages every converter shares.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vask::formone {

// The lines of a chosen file, decoded by its byte-order mark (code page 932 without one,
// which must then hold no NUL byte: raises Error, not Shift-JIS text, for UTF-16 without
// its mark).
std::vector<std::u16string> loadFormOne(const std::filesystem::path& file);
// A chosen file is accepted when it holds at least one line; nothing else is tested.
bool isAcceptedFormOne(const std::vector<std::u16string>& lines);

// Field 3 of a line under the tab rule, untrimmed. Raises the range error when the line
// has fewer than four fields.
std::u16string GetNgt(std::u16string_view InFileLine);
// The year-month that choosing a file sets: GetNgt of line 2. Raises the list-index
// error (1) when there is no line 2.
std::u16string yearMonthOfChoice(const std::vector<std::u16string>& lines);

// The EHR link file of a year-month, year-month + "_carte.csv". The year-month comes from
// file content: the caller passes the name through outputPath.
std::u16string carteFileName(std::u16string_view mstNgt);
// The fields joined by one separator, without quoting.
std::u16string joinFields(const std::vector<std::u16string>& fields, char16_t separator);

}  // namespace vask::formone
