#include "cli/profile_options.h"

#include "core/pseudonym_key.h"
#include "platform/paths.h"

namespace vask::cli {

AnonymisationProfile profileOption(const Arguments& args) {
    const std::u16string profile = args.option("--profile").value_or(u"written");
    if (profile == u"written") return AnonymisationProfile::Written;
    if (profile == u"pseudonym") return AnonymisationProfile::Pseudonym;
    throw UsageError{"--profile takes written or pseudonym"};
}

std::optional<ChartPseudonyms> pseudonymsFor(const Arguments& args, AnonymisationProfile profile) {
    const auto keyFile = args.option("--key");
    if (profile != AnonymisationProfile::Pseudonym) {
        if (keyFile) throw UsageError{"--key needs --profile pseudonym"};
        return std::nullopt;
    }
    return ChartPseudonyms(keyFile ? readKeyFrom(toPath(*keyFile)) : loadOrCreateKey(pseudonymKeyFolder()));
}

}  // namespace vask::cli
