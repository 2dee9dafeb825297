// Branch-number removal: a copy of a claims file in which every claim's chart number (RE
// field 13) loses its branch number (枝番), named as the file for submission (提出).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "claims/claims_file.h"

namespace vask::claims {

// How the chart number is cut: the main window's mode box index.
enum class BranchMode : int {
    None = -1,      // no mode selected: the chart number stays
    Symbols = 0,    // GetKnjBng: everything from the first "-", "/" or "*" on goes
    Positions = 1,  // GetKnjBng2: only the characters of a range of positions stay
};

// The mode of a mode box index: 0 and 1 select a mode, any other index none.
BranchMode branchModeOfIndex(int index);

// Mode 0: drops a trailing "*0", then everything from the first "-", "/" and "*" on (in
// that order), and every ASCII space.
std::u16string GetKnjBng(std::u16string_view pstKnjBng);

// Mode 1: the characters from position KStart to KEnd (counted from 1, both included) of
// the trimmed chart number, trimmed. Positions past the end are simply missing.
std::u16string GetKnjBng2(std::u16string_view pstKnjBng, int32_t KStart, int32_t KEnd);

// The check of the two position texts of mode 1, in order: a blank text gives
// "値が空欄です", one that reads as 0 or as no integer "正しい数字を入力して下さい".
std::optional<std::u16string> positionsRefusal(std::u16string_view startText, std::u16string_view endText);

// Removes the branch numbers of the claims file at `pstFile` (as typed, not trimmed) into
// "(" + month + "提出_社保" or "提出_国保" + ")RECEIPTC.uke" in `programFolder`. In
// positions mode the range comes from `startText` and `endText`. Every RE record is
// rebuilt by the comma-text join without any double quote; every other line stays as
// read. Refuses a missing file, then bad positions; raises Error when a record is too
// short or a file cannot be read or written (nothing is written then). With `observer`,
// every line read and written is shown to it (for the check of the written file).
ClaimsResult Conv2(const std::filesystem::path& programFolder, std::u16string_view pstFile, BranchMode mode,
                   std::u16string_view startText, std::u16string_view endText, RewriteObserver* observer = nullptr);

}  // namespace vask::claims
