// The checks of a run's written files, as the result window shows them: each check runs
// under the busy cursor; one that cannot run (an unreadable file, an original without any
// record the check knows) is reported in the error box, and the result window then opens
// without the check's line.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/anonymisation_report.h"
#include "core/messages.h"
#include "gui/app_context.h"

class QWidget;

namespace vask {

// Runs `check` under the busy cursor. When it raises Error, shows `failed` followed by the
// error's message in the error box and returns false.
bool runResultCheck(const AppContext& context, QWidget* window, std::u16string_view failed,
                    const std::function<void()>& check);

// The checks of one run, each giving what it found of one file (`Checked`), summed up in
// the result window's line by `summarize`.
template <class Checked>
class ResultChecksOf {
public:
    using Summarize = CheckSummary (*)(const std::vector<Checked>&);
    ResultChecksOf(const AppContext& context, QWidget* window, std::u16string_view failed, Summarize summarize)
        : context_(context), window_(window), failed_(failed), summarize_(summarize) {}

    void add(const std::function<Checked()>& check) {
        if (!runResultCheck(context_, window_, failed_, [&] { checked_.push_back(check()); })) anyFailed_ = true;
    }
    // The line of the result window: nothing when no file was checked or a check could not run.
    std::optional<CheckSummary> summary() const {
        if (anyFailed_ || checked_.empty()) return std::nullopt;
        return summarize_(checked_);
    }

private:
    const AppContext& context_;
    QWidget* window_;
    std::u16string_view failed_;
    Summarize summarize_;
    std::vector<Checked> checked_;
    bool anyFailed_ = false;
};

// The checks of anonymised files against their originals.
class ResultChecks : public ResultChecksOf<CheckedFile> {
public:
    ResultChecks(const AppContext& context, QWidget* window)
        : ResultChecksOf(context, window, msg::kCheckFailed, summarizeChecks) {}
    // Checks the written file `name` with `check`.
    void add(std::u16string name, const std::function<AnonymisationReport()>& check) {
        ResultChecksOf::add([&] { return CheckedFile{std::move(name), check()}; });
    }
};

}  // namespace vask
