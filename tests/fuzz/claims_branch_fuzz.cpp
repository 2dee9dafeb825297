// Branch-number removal on arbitrary file contents and positions. Input: one byte for the
// mode (0 symbols, 1 positions, anything else none), then parts separated by "~~~~": the
// claims file, the start position text and the end position text (UTF-8).
//   - Conv2 passes the checks of claims_fuzz.h and drops no line.
//   - GetKnjBng leaves no "-", "/", "*" or space, and is stable: applied again it changes
//     nothing.
//   - GetKnjBng2 gives a trimmed piece of the trimmed chart number, no longer than the
//     range from the start (at least 1) to the end position.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "claims/branch_number.h"
#include "claims_fuzz.h"
#include "core/numbers.h"
#include "core/text.h"

using namespace vask;
using namespace vask::claims;

namespace {

void checkCuts(std::u16string_view chart, std::u16string_view startText, std::u16string_view endText) {
    const std::u16string symbols = GetKnjBng(chart);
    fuzz::require(symbols.find_first_of(u"-/* ") == std::u16string::npos, "no branch mark or space stays");
    fuzz::require(GetKnjBng(symbols) == symbols, "GetKnjBng is stable");

    const int32_t start = readInt32Or(trimmedView(startText), 0);
    const int32_t end = readInt32Or(trimmedView(endText), 0);
    const std::u16string piece = GetKnjBng2(chart, start, end);
    fuzz::require(trimmedView(piece).size() == piece.size(), "the piece is trimmed");
    fuzz::require(trimmedView(chart).find(piece) != std::u16string_view::npos, "the piece is part of the chart number");
    if (!piece.empty()) {
        const int64_t range = int64_t{end} - std::max<int64_t>(start, 1) + 1;
        fuzz::require(static_cast<int64_t>(piece.size()) <= range, "the piece fits the range");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const BranchMode mode = branchModeOfIndex(data[0]);
    const auto parts = fuzz::splitParts(fuzz::bytesOf(data + 1, size - 1), 3);
    const std::u16string startText = fuzz::textOf(parts[1]);
    const std::u16string endText = fuzz::textOf(parts[2]);
    fuzz::checkClaimsRun(
        parts[0],
        [&](const std::filesystem::path& folder, std::u16string_view file) {
            return Conv2(folder, file, mode, startText, endText);
        },
        [](std::u16string_view) { return false; });
    checkCuts(fuzz::textOf(parts[0]), startText, endText);
    return 0;
}
