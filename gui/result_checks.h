// The checks of a run's anonymised files, as the result window shows them: each check runs
// under the busy cursor; one that cannot run (an unreadable file, an original without any
// record the check knows) is reported in the error box, and the result window then opens
// without the check's line.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/anonymisation_report.h"
#include "gui/app_context.h"

class QWidget;

namespace vask {

class ResultChecks {
public:
    ResultChecks(const AppContext& context, QWidget* window) : context_(context), window_(window) {}
    // Checks the written file `name` with `check`.
    void add(std::u16string name, const std::function<AnonymisationReport()>& check);
    // The line of the result window: nothing when no file was checked or a check could not run.
    std::optional<CheckSummary> summary() const;

private:
    const AppContext& context_;
    QWidget* window_;
    std::vector<CheckedFile> checked_;
    bool failed_ = false;
};

}  // namespace vask
