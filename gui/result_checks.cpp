#include "gui/result_checks.h"

#include "core/messages.h"
#include "gui/busy_cursor.h"
#include "gui/error_box.h"
#include "platform/errors.h"

namespace vask {

void ResultChecks::add(std::u16string name, const std::function<AnonymisationReport()>& check) {
    try {
        checked_.push_back({std::move(name), whileBusy(check)});
    } catch (const Error& e) {
        failed_ = true;
        showErrorBox(context_, window_, std::u16string(msg::kCheckFailed) + e.message());
    }
}

std::optional<CheckSummary> ResultChecks::summary() const {
    if (failed_ || checked_.empty()) return std::nullopt;
    return summarizeChecks(checked_);
}

}  // namespace vask
