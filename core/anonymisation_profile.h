// The two anonymisation profiles of the claims anonymisation and the form-1 anonymiser.
//
// Written (標準): names, insurance numbers and the clinic's identity become fixed dummy
// values; the birth date, the chart number, the search number and the free text of
// diagnosis and treatment records stay, as a vendor repairing a file needs them.
// Pseudonym (仮名加工): for research and data vendors. On top of the written replacements,
// chart numbers become keyed pseudonyms (core/pseudonym.h) that link one patient across
// months and files, birth and admission dates keep their year and month only, search
// numbers and free text are emptied, form-1 postal codes keep their first three digits,
// and a record the record layout does not describe stops the run.
#pragma once

#include <string_view>

namespace vask {

enum class AnonymisationProfile { Written, Pseudonym };

// The setting ANONPROFILE: "1" (trimmed) the pseudonym profile; absent, "0" or anything
// else the written one.
AnonymisationProfile profileOfSetting(std::u16string_view value);
std::u16string_view settingOfProfile(AnonymisationProfile profile);
// The profile as the windows and reports name it: "標準" or "仮名加工".
std::u16string_view profileLabel(AnonymisationProfile profile);

}  // namespace vask
