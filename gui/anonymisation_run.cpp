#include "gui/anonymisation_run.h"

#include "core/pseudonym_key.h"
#include "core/settings_keys.h"

namespace vask {

AnonymisationRun::AnonymisationRun(const AppContext& context)
    : profile_(profileOfSetting(context.settings().read(settings::kAnonymisationProfile))) {
    if (profile_ == AnonymisationProfile::Pseudonym) pseudonyms_.emplace(loadOrCreateKey(context.keyFolderOrError()));
}

}  // namespace vask
