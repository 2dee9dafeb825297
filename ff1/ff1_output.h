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

// The writer of the EHR link CSV, whose lines are produced one by one: the folder is made
// when missing and the file opened; every line is written as code page 932 with CR LF, and
// the file replaces `FileName` atomically on commit.
LineWriter openCP932LossyWriter(const std::filesystem::path& FileName);

}  // namespace vask::ff1
