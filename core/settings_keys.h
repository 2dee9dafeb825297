// The keys of the program's settings (section PARAM of user.ini, read and written through
// Settings in core/inifile.h) and the values that have a meaning of their own. Every
// window and operation names a key through these constants.
#pragma once

#include <string_view>

namespace vask::settings {

// The save folder the result window moves results into; blank: the Downloads folder.
inline constexpr char16_t kSaveFolder[] = u"SAVEFDR";
// "1" (trimmed): results go into a sub-folder named after the clinic in the save folder.
inline constexpr char16_t kClinicSubfolder[] = u"SVCHG";
inline constexpr std::u16string_view kClinicSubfolderOn = u"1";
// The EHR import variant of the second converter: kSpecStandard or kSpecMovacal.
inline constexpr char16_t kSpec[] = u"Spec";
inline constexpr std::u16string_view kSpecStandard = u"1";
// The Movacal variant: the form-1 file first goes through the column mapping step.
inline constexpr std::u16string_view kSpecMovacal = u"2";
// The folder the FF1 link reads its FF1 files from.
inline constexpr char16_t kFF1Folder[] = u"SAVEFF1";
// The anonymisation profile of the claims anonymisation and the form-1 anonymiser
// (core/anonymisation_profile.h): "1" the pseudonymisation profile, absent or "0" the
// written one.
inline constexpr char16_t kAnonymisationProfile[] = u"ANONPROFILE";
// The main window's branch-number mode (its ComboBox1 index); "0" when missing.
inline constexpr char16_t kBranchMode[] = u"CB1";

}  // namespace vask::settings
