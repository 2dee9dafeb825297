// The anonymiser of a form-1 file: a copy in which the patient name (field 1) of every
// record line is empty, written into the program folder under a name made from the
// input's name.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/outcome.h"

namespace vask::formone {

// The copy's name: the file-name part of the path as typed, every ".txt" (in exactly that
// letter case) replaced by "ano.txt".
std::u16string anonymisedFileName(std::u16string_view pathText);

// Copies InputFile (code page 932, lines ended by CR LF, LF or CR) to OutputFile (code
// page 932, CR LF), line 1 unchanged, field 1 of every further line with two fields or
// more emptied. Raises Error (not Shift-JIS text) for a NUL byte or a byte-order mark.
void BlankSecondColumn(const std::filesystem::path& InputFile, const std::filesystem::path& OutputFile);

// The run on the path as typed: refuses a blank path; writes the copy into
// `programFolder`, never over the input itself.
Outcome runAnonymiser(std::u16string_view pathText, const std::filesystem::path& programFolder);

}  // namespace vask::formone
