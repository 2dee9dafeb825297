// The options of the anonymisation profile that anonymize, blank-names and
// check-anonymized share: --profile written|pseudonym, and for anonymize and blank-names
// --key FILE, the pseudonym key to use instead of the user's own.
#pragma once

#include <optional>

#include "cli/cli.h"
#include "core/anonymisation_profile.h"
#include "core/pseudonym.h"

namespace vask::cli {

// --profile: "written" (also when absent) or "pseudonym"; raises UsageError for any other.
AnonymisationProfile profileOption(const Arguments& args);

// The pseudonyms of one run: none under the written profile (where --key is a UsageError);
// under the pseudonymisation profile, under the key of the --key file (a missing file or
// one that holds no key raises Error), or without --key under the user's key, made on
// first use.
std::optional<ChartPseudonyms> pseudonymsFor(const Arguments& args, AnonymisationProfile profile);

}  // namespace vask::cli
