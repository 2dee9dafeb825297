// What one press of an anonymising button (the claims anonymisation of the main window,
// the form-1 anonymiser of the second converter) runs by: the anonymisation profile of the
// setting ANONPROFILE as it stands at the press and, under the pseudonymisation profile,
// one set of pseudonyms under the user's key for every file of the press, so that one
// patient gets one pseudonym in both claims files.
#pragma once

#include <optional>

#include "core/anonymisation_profile.h"
#include "core/pseudonym.h"
#include "gui/app_context.h"

namespace vask {

class AnonymisationRun {
public:
    // Reads the setting; under the pseudonymisation profile loads the user's key (made on
    // first use). Raises Error when the key cannot be had: the press then runs nothing.
    explicit AnonymisationRun(const AppContext& context);

    AnonymisationProfile profile() const { return profile_; }
    // The pseudonyms to anonymise with; null under the written profile.
    ChartPseudonyms* pseudonyms() { return pseudonyms_ ? &*pseudonyms_ : nullptr; }

private:
    AnonymisationProfile profile_;
    std::optional<ChartPseudonyms> pseudonyms_;
};

}  // namespace vask
