// The check of an anonymised form-1 file against its original: the same number of lines,
// the name field (field 1) of every record line empty, and no patient name of the
// original left in any field of any record line. Under the pseudonymisation profile it
// also checks, by position, what that profile does to the chart numbers and postal codes
// (see anonymiser_check.cpp); it needs no key for that.
#pragma once

#include <filesystem>

#include "core/anonymisation_report.h"

namespace vask::formone {

// Reads both files as the anonymiser reads its input (code page 932 Shift-JIS text, lines
// ended by CR LF, LF or CR), in memory bounded by the distinct names (and, under the
// pseudonymisation profile, chart numbers) of the original. Line 1, the header, is copied
// unchanged by the anonymiser: it is counted but neither collected from nor searched.
// Raises Error when either file cannot be read, or when the original holds no record line
// after its header.
AnonymisationReport checkAnonymisedFormOne(const std::filesystem::path& original,
                                           const std::filesystem::path& anonymised,
                                           AnonymisationProfile profile = AnonymisationProfile::Written);

}  // namespace vask::formone
