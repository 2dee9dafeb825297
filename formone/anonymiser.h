// The anonymiser of a form-1 file: a copy in which the patient name (field 1) of every
// record line is empty, written into the program folder under a name made from the
// input's name. Under the pseudonymisation profile (core/anonymisation_profile.h) the
// chart number (field 0) also becomes its keyed pseudonym and the postal code (field 5)
// keeps its first three digits; the coded disease names and every other field stay, as
// research needs them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/outcome.h"
#include "core/pseudonym.h"

namespace vask::formone {

// The fields of a record line the anonymiser replaces, by position.
inline constexpr size_t kChartNumberField = 0;
inline constexpr size_t kNameField = 1;
inline constexpr size_t kPostalCodeField = 5;

// The copy's name: the file-name part of the path as typed, every ".txt" (in exactly that
// letter case) replaced by "ano.txt".
std::u16string anonymisedFileName(std::u16string_view pathText);

// The postal code as the pseudonymisation profile keeps it: its first three digits, every
// later digit made 0 of the same width (ASCII or full-width); other characters (a hyphen,
// a 〒) stay where they are.
std::u16string maskedPostalCode(std::u16string_view postalCode);

// Copies InputFile (code page 932, lines ended by CR LF, LF or CR) to OutputFile (code
// page 932, CR LF), line 1 unchanged, field 1 of every further line with two fields or
// more emptied. With `pseudonyms`, on those lines also field 0 becomes its pseudonym (empty
// when the chart number normalises to nothing) and field 5 its masked postal code. Raises
// Error (not Shift-JIS text) for a NUL byte or a byte-order mark, and the collision of
// two pseudonyms; nothing is written then.
void BlankSecondColumn(const std::filesystem::path& InputFile, const std::filesystem::path& OutputFile,
                       ChartPseudonyms* pseudonyms = nullptr);

// The run on the path as typed: refuses a blank path; writes the copy into
// `programFolder`, never over the input itself. With `pseudonyms`, by the
// pseudonymisation profile, under the same name.
Outcome runAnonymiser(std::u16string_view pathText, const std::filesystem::path& programFolder,
                      ChartPseudonyms* pseudonyms = nullptr);

}  // namespace vask::formone
