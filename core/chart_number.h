// Chart numbers (カルテ番号) as the tools see them: the branch number (枝番) that the
// symbols mode of the branch-number removal cuts off, and the one form in which a
// patient's number is the same in a claims file and in a form-1 file.
#pragma once

#include <string>
#include <string_view>

namespace vask {

// The symbols mode of the branch-number removal, on the trimmed chart number: drops a
// trailing "*0", then everything from the first "-", "/" and "*" on (in that order,
// trimming what is left each time), and every ASCII space. Only the ASCII marks count.
std::u16string cutBranchNumber(std::u16string_view chartNumber);

// One patient's chart number as the EHR sees it, whichever file it comes from:
// full-width ASCII characters (and the full-width space) made half-width, the branch
// number cut as cutBranchNumber cuts it, letters made upper case (the tools compare chart
// numbers without regard to letter case), and the leading zeros of a number (digits only)
// removed, so that "00697" in a claims file and "697" in a form-1 file are one patient;
// a number of zeros only becomes "0". The empty text when nothing is left.
std::u16string normalisedChartNumber(std::u16string_view chartNumber);

}  // namespace vask
