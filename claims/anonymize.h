// Claims anonymisation: a copy of a claims file whose clinic identity, patient names and
// insurance numbers are fixed dummy values and whose free-text records are dropped.
#pragma once

#include <filesystem>
#include <string_view>

#include "claims/claims_file.h"

namespace vask::claims {

// Anonymises the claims file at `pstFile` (as typed, not trimmed) into month + "_1.UKE"
// (employee insurance) or month + "_2.UKE" (national) in `programFolder`. Refuses with
// "ファイルがありません。" when no file is there; raises Error when a record is too short
// for its replacements or a file cannot be read or written (nothing is written then).
ClaimsResult Conv(const std::filesystem::path& programFolder, std::u16string_view pstFile);

}  // namespace vask::claims
