// Output side of the FF1 link: the EHR link CSV is Shift-JIS whatever its values hold; a
// character that code page 932 cannot hold becomes one "?" (no best-fit substitutes).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/textfile.h"

namespace vask::ff1 {

// Creates a folder with all its missing levels; raises Error naming it when it cannot.
void createMissingFolders(const std::filesystem::path& folder);

// The code page 932 bytes of `S` (empty for the empty text).
std::string Utf16ToCP932BytesLossy(std::u16string_view S);

// Writes every line of `SL` followed by CR LF as code page 932 into `FileName` (its folder
// made when missing), replacing the file atomically. An empty list gives an empty file.
void SaveStringListAsCP932Lossy(const std::vector<std::u16string>& SL, const std::filesystem::path& FileName);

// The same writer for lines produced one by one: the folder is made and the file opened.
LineWriter openCP932LossyWriter(const std::filesystem::path& FileName);

}  // namespace vask::ff1
