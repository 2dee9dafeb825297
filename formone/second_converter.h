// The second converter: a form-1 file becomes the 89-column EHR link file
// (year-month + "_carte.csv"). Each output column takes one form-1 position through the
// column order table, and every value passes the column rules. In the Movacal variant the
// form-1 file first goes through the column mapping step into "output.tsv".
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ehr_layout.h"
#include "core/outcome.h"
#include "core/textfile.h"

namespace vask::formone {

// The columns of the output, those of the EHR link layout.
inline constexpr size_t kColumnCount = kEhrColumnCount;
// A column order entry that makes an always-empty column.
inline constexpr int kEmptyColumn = 99;

// Entry i: the form-1 position that feeds output column i.
extern const std::array<int, kColumnCount> ColumnOrder;
// The header line: "[0] カルテ番号,[1] 患者氏名,...,[88] 入院の修飾語コード".
const std::u16string& reorderedHeader();

// One record line in the output layout: columns whose position the line does not reach
// are left out (no value, no comma); `fields` and `out` are the caller's reused buffers.
void reorderLine(std::u16string_view line, std::span<const int> columnOrder, std::vector<std::u16string_view>& fields,
                 std::u16string& out);

// Streams InFileName (read as the choosing step reads a form-1 file: UTF-8 or UTF-16 by
// its byte-order mark, else Shift-JIS text; lines ended by CR LF, LF or CR) into
// OutFileName (code page 932, CR LF): the header in place of line 1, then every further
// line reordered. An input without any line gives an empty output. With `lost`, the
// characters written as "?" are counted there.
void ConvertTSVtoCSV_Reorder(const std::filesystem::path& InFileName, const std::filesystem::path& OutFileName,
                             std::span<const int> columnOrder, LostCharacters* lost = nullptr);

// The mapping file of the variant that the setting Spec selects: "movacal.csv" in the
// program folder when Spec, trimmed, is "2"; nothing for the standard variant.
std::optional<std::filesystem::path> movacalMappingFor(std::u16string_view spec,
                                                       const std::filesystem::path& programFolder);

// The run: deletes "output.tsv" in `programFolder` (unless it is the form-1 file itself);
// with a mapping file, maps the form-1 file into "output.tsv" and converts that, otherwise
// converts the form-1 file; the output is named by `mstNgt`. The outcome lists the written
// files in writing order. Raises Error, before anything is deleted, when an output would
// replace the form-1 file or the mapping file.
Outcome runSecondConverter(std::u16string_view pathText, std::u16string_view mstNgt,
                           const std::filesystem::path& programFolder,
                           const std::optional<std::filesystem::path>& mappingFile);

}  // namespace vask::formone
