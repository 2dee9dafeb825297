#include "core/anonymisation_profile.h"

#include "core/text.h"

namespace vask {

AnonymisationProfile profileOfSetting(std::u16string_view value) {
    return trimmedView(value) == u"1" ? AnonymisationProfile::Pseudonym : AnonymisationProfile::Written;
}

std::u16string_view settingOfProfile(AnonymisationProfile profile) {
    return profile == AnonymisationProfile::Pseudonym ? u"1" : u"0";
}

std::u16string_view profileLabel(AnonymisationProfile profile) {
    return profile == AnonymisationProfile::Pseudonym ? u"仮名加工" : u"標準";
}

}  // namespace vask
