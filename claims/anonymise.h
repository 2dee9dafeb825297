// Claims anonymisation: a copy of a claims file whose clinic identity, patient names and
// insurance numbers are fixed dummy values and whose free-text records are dropped.
#pragma once

#include <filesystem>
#include <string_view>

#include "claims/claims_file.h"
#include "core/pseudonym.h"

namespace vask::claims {

// The dummy values the anonymiser writes. The insurer and card numbers of HO reappear in
// SN (資格確認), which is therefore anonymised with the same values.
namespace dummy {
inline constexpr std::u16string_view kClinicCode = u"0123456";
inline constexpr std::u16string_view kClinicName = u"VELTクリニック";
inline constexpr std::u16string_view kTelephone = u"012-345-6789";
inline constexpr std::u16string_view kInsurerNumber = u"12345678";
inline constexpr std::u16string_view kCardNumber = u"１２３４５";
inline constexpr std::u16string_view kBranchNumber = u"00";
inline constexpr std::u16string_view kPayerNumber = u"12345678";
inline constexpr std::u16string_view kRecipientNumber = u"1234567";
// The patient name: this, then 社 or 国, then the claim number in full-width digits.
inline constexpr std::u16string_view kPatientNamePrefix = u"テスト";
}  // namespace dummy

// Anonymises the claims file at `pstFile` (as typed, not trimmed) into month + "_1.UKE"
// (employee insurance) or month + "_2.UKE" (national) in `programFolder`. Refuses with
// "ファイルがありません。" when no file is there; raises Error when a record is too short
// for its replacements or a file cannot be read or written (nothing is written then).
// With `pseudonyms`, by the pseudonymisation profile (core/anonymisation_profile.h) on top
// of the written replacements, its chart numbers made pseudonyms by `pseudonyms`; it also
// raises Error for a record it cannot vouch for, a date it cannot cut and a collision of
// pseudonyms. With `observer`, every line read and written is shown to it (the check of
// the written file learns the original from the anonymiser's own read of it).
ClaimsResult Conv(const std::filesystem::path& programFolder, std::u16string_view pstFile,
                  ChartPseudonyms* pseudonyms = nullptr, RewriteObserver* observer = nullptr);

}  // namespace vask::claims
