// The check of an anonymised claims file against its original: both files' records
// counted by identifier, and the original's clinic identity, patient names and insurance
// numbers searched for in every field of every record of the anonymised file. Records
// outside the medical claims layout are counted as not checked: what they hold is not
// known, so it is neither replaced by the anonymiser nor searched for.
#pragma once

#include <filesystem>

#include "core/anonymisation_report.h"

namespace vask::claims {

// Whether any line of `file`, read as the claims tools read it, is an IR, RE, HO, KO or SN
// record. This tells a claims file, a fragment of one too, from a form-1 file of
// tab-separated columns. Raises Error when the file cannot be read or is no Shift-JIS text.
bool holdsClaimsRecord(const std::filesystem::path& file);

// Reads both files as the anonymiser reads its input (code page 932 Shift-JIS text, lines
// ended by CR or LF, up to the byte 0x1A), in memory bounded by the distinct values of the
// original. Searched for: IR 4 clinic code, 6 clinic name, 9 telephone; RE 4 patient name,
// 36 kana name; HO 1 insurer number, 2 card symbol, 3 card number; KO 1 payer number,
// 2 recipient number; SN 3 insurer number, 4 card symbol, 5 card number, 7 recipient
// number. Values the anonymiser keeps on purpose (birth dates, chart numbers, search
// numbers, free texts) are none of them; the report names them. Raises Error when either
// file cannot be read, or when the original holds no record of the medical claims layout.
// With the pseudonymisation profile, it also checks by position what that profile does
// (see anonymisation_check.cpp); the report names the profile.
AnonymisationReport checkAnonymisedClaims(const std::filesystem::path& original,
                                          const std::filesystem::path& anonymised,
                                          AnonymisationProfile profile = AnonymisationProfile::Written);

}  // namespace vask::claims
