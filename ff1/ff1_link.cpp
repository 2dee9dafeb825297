#include "ff1/ff1_link.h"

#include <exception>
#include <system_error>

#include "core/messages.h"
#include "core/text.h"
#include "core/textfile.h"
#include "ff1/ehr_csv.h"
#include "ff1/ff1_merge.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::ff1 {
namespace {

// Removes the merged file when the run ends, however it ends.
class MergedFileRemover {
public:
    explicit MergedFileRemover(std::filesystem::path file) : file_(std::move(file)) {}
    ~MergedFileRemover() {
        if (fileExists(file_)) deleteFile(file_);
    }
    MergedFileRemover(const MergedFileRemover&) = delete;
    MergedFileRemover& operator=(const MergedFileRemover&) = delete;

private:
    std::filesystem::path file_;
};

bool isSeparator(char16_t c) {
    return c == u'/' || c == static_cast<char16_t>(std::filesystem::path::preferred_separator);
}

// The year-month text, trimmed, is six ASCII digits YYYYMM with a month from 01 to 12: it
// names the output file and, with "01", gives every row's consultation date.
bool isTargetYearMonth(std::u16string_view text) {
    const std::u16string_view t = trimmedView(text);
    constexpr size_t kLength = 6;
    if (t.size() != kLength) return false;
    for (const char16_t c : t) {
        if (c < u'0' || c > u'9') return false;
    }
    const int month = (t[4] - u'0') * 10 + (t[5] - u'0');
    return month >= 1 && month <= 12;
}

}  // namespace

std::u16string withTrailingSeparator(std::u16string_view folder) {
    std::u16string text(folder);
    if (text.empty() || !isSeparator(text.back())) {
        text.push_back(static_cast<char16_t>(std::filesystem::path::preferred_separator));
    }
    return text;
}

Outcome runFF1Link(const FF1LinkRequest& request, const std::function<void()>& starting) {
    if (!isTargetYearMonth(request.targetYearMonth)) return Outcome::refused(msg::kYearMonthPrompt);
    // An append file named but not there would be left out without a word.
    if (!isBlank(request.appendCsv) && !fileExists(toPath(request.appendCsv))) return Outcome::refused(msg::kNoFile);
    const std::u16string folder = withTrailingSeparator(request.ff1Folder);
    const std::u16string merged = folder + kMergedFileName;
    removeFileIfExists(toPath(merged));
    if (starting) starting();
    const MergedFileRemover remover(toPath(merged));
    try {
        LostCharacters lostInMerged;
        LostCharacters lost;
        MergeFF1Latest(folder, merged, &lostInMerged);
        const auto written = BuildEHRCSV_FromFF1_andSpecCSV(merged, request.specCsv, request.outputFolder,
                                                            request.appendCsv, request.targetYearMonth, &lost);
        Outcome outcome = Outcome::wrote({written}, std::u16string(msg::kLinkDone));
        // What the merged file lost is lost for the link too, though the merged file goes:
        // counted, without its line numbers.
        lost.count += lostInMerged.count;
        warnOfLostCharacters(outcome, lost);
        return outcome;
    } catch (const Error& e) {
        return Outcome::refused(std::u16string(msg::kLinkFailed) + e.message());
    } catch (const std::exception& e) {
        return Outcome::refused(std::u16string(msg::kLinkFailed) + utf8ToUtf16(e.what()));
    }
}

}  // namespace vask::ff1
