// FF1 discovery and merge: the FF1 files of one folder become one merged FF1 file that
// keeps, for every data ID, only the lines of its latest year-month, under one header line.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "core/textfile.h"

namespace vask::ff1 {

// The regular files directly in `folder` whose names match "G_FF1*.txt", or, only when
// there is none, "G_FF1*.tsv" (letter case ignored). Sorted by name (code point order)
// so that every platform visits them in the same order. Raises Error when the folder
// cannot be listed.
std::vector<std::filesystem::path> listFF1Files(const std::filesystem::path& folder);

// Merges the FF1 files of `InDir` into `OutFile` (written atomically, CR LF after every
// line; an older file of that name stays until the merged file is complete, and an
// `OutFile` that is one of the FF1 files raises Error). Each file is read as UTF-8 when it
// begins with the UTF-8 byte-order mark, else as Shift-JIS text (anything else raises
// Error: not Shift-JIS text). The output is in the first listed file's encoding (UTF-8
// with its byte-order mark). With `lost`, the characters written as "?"
// (a UTF-8 file merged into a Shift-JIS one) are counted there. Raises Error with the
// user-visible text.
void MergeFF1Latest(std::u16string_view InDir, std::u16string_view OutFile, LostCharacters* lost = nullptr);

}  // namespace vask::ff1
