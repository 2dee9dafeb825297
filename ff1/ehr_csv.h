// The EHR CSV build: the merged FF1 file becomes an 89-column EHR link CSV with one row per
// data ID, its columns filled from that data ID's payloads as the specification CSV maps
// them; rows of an existing EHR link CSV (the append file) may follow, and data IDs listed
// in "recelist.csv" beside the merged file are replaced by the listed identifiers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/textfile.h"

namespace vask::ff1 {

// One output row, stored under its data ID. Only the columns that a payload filled are
// held, packed into one text; every other column is empty except column 0 (the data ID)
// and column 2 (the consultation date).
struct TOutputRow {
    int32_t YearMonth = 0;  // of the line that created the row; not written

    void set(int column, std::u16string_view value);
    // The 89 values of the row.
    void columns(std::u16string_view dataId, std::u16string_view date, std::vector<std::u16string>& out) const;
    void shrink() { filled_.shrink_to_fit(); }

private:
    // Per filled column: its number, the value's length in two units, then the value.
    std::u16string filled_;
};

// The rows by data ID (exact, case-sensitive), ascending by UTF-16 code units.
class RowMap {
public:
    // The row of the data ID, created (with `AYM`) when it is missing.
    TOutputRow& EnsureRow(std::u16string_view ADataId, int32_t AYM);
    const std::map<std::u16string, TOutputRow, std::less<>>& rows() const { return rows_; }

private:
    std::map<std::u16string, TOutputRow, std::less<>> rows_;
    // The row filled last, given back its spare room when left.
    std::map<std::u16string, TOutputRow, std::less<>>::value_type* last_ = nullptr;
};

// Builds OutDir + trimmed TargetYYYYMM + "_ff1all.csv" and returns its path. The merged
// file is read as UTF-8 when it begins with the UTF-8 byte-order mark, else as Shift-JIS;
// its first non-blank line is skipped only when it is a header line. The output is written
// only at the end, atomically: a failed build leaves no new file and keeps an older one.
// Raises Error with the user-visible text (the output name must be a plain file name, and
// the output must not replace the specification CSV, the merged file or the append file;
// the append file and recelist.csv must be Shift-JIS text, without a mark). With `lost`,
// the characters written as "?" are counted there.
std::filesystem::path BuildEHRCSV_FromFF1_andSpecCSV(std::u16string_view MergedFF1Path, std::u16string_view SpecCsvPath,
                                                     std::u16string_view OutDir, std::u16string_view AppendCsvPath,
                                                     std::u16string_view TargetYYYYMM, LostCharacters* lost = nullptr);

}  // namespace vask::ff1
