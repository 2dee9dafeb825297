// One run of the FF1 link, as the FF1 link window and `vask-cli ff1` start it: merge the
// FF1 files of the FF1 folder into "G_FF1_all.txt" there, build the EHR link CSV from it,
// and remove the merged file again in every case.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/outcome.h"

namespace vask::ff1 {

inline constexpr char16_t kMergedFileName[] = u"G_FF1_all.txt";
inline constexpr char16_t kSpecFileName[] = u"siyo4.csv";

struct FF1LinkRequest {
    std::u16string ff1Folder;     // a trailing path separator is added when it has none
    std::u16string specCsv;       // the specification CSV
    std::u16string outputFolder;  // where the EHR link CSV goes (made when missing)
    std::u16string appendCsv;     // may be empty; skipped when no such file exists
    std::u16string targetYearMonth;
};

// The folder text with a trailing path separator ("/" or the platform's own) added when it
// ends in none.
std::u16string withTrailingSeparator(std::u16string_view folder);

// Refused before anything is touched: a year-month that is not YYYYMM with a month from
// 01 to 12 once trimmed (msg::kYearMonthPrompt), and a non-blank append path where no file
// lies (msg::kNoFile). Otherwise a merged file left by an earlier run is deleted (an Error
// when it cannot be), `starting` is called, and the merge and the build run: their errors
// come back as the refusal msg::kLinkFailed + the error text; success as the written file
// with msg::kLinkDone.
Outcome runFF1Link(const FF1LinkRequest& request, const std::function<void()>& starting = {});

}  // namespace vask::ff1
