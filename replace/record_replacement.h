// The record replacement run: rewrites a data file line by line with the change
// definitions and writes the copy, named after the input with "R" before ".txt", into the
// program folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/outcome.h"
#include "replace/change_definitions.h"

namespace vask::replace {

// One line as the run writes it. Item 1 of the line (comma-text rule), trimmed, is the key;
// when a pair's old value equals it (letter case ignored), every occurrence of the key in
// the line, exact case, left to right, without overlap, becomes the pair's new value.
// A line without a non-empty item 1, or whose key matches no pair, stays as it is.
std::u16string replaceLine(std::u16string_view line, const ChangeDefinitions& definitions);

// The name of the copy: the input's file-name part with every ".txt" (exact case) replaced
// by "R.txt".
std::u16string replacedFileName(std::u16string_view inputPath);

// Cnv: reads the input at `pstFile` (a byte-order mark selects UTF-8 or UTF-16, otherwise
// code page 932), rewrites every line and writes the copy into `programFolder` (code page
// 932, CR LF) atomically. The copy never replaces one of the run's own input files: its
// name then gets another "R" before the extension.
// Refusals: no file at `pstFile` (msg::kNoFile); an input without any line (msg::kNotFormOneFile),
// nothing written. `linesRead`, when given, receives the input's line count once it is read.
// Raises Error when a file cannot be read or written, or the name is no plain file name.
Outcome Cnv(std::u16string_view pstFile, const ChangeDefinitions& definitions,
            const std::filesystem::path& programFolder, size_t* linesRead = nullptr);

}  // namespace vask::replace
