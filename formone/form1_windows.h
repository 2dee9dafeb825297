// What the form-1 converter windows share: asking for the form-1 file, showing an
// outcome, and the hidden "CSV" button's work.
#pragma once

#include <optional>
#include <string>

#include "app/app_context.h"
#include "core/outcome.h"

class QWidget;

namespace vask::formone {

// The information message "変換前ファイルを選択します", then the file-open dialog (no
// filter, no title) starting from `startFile`; the chosen file, or nothing when cancelled.
std::optional<std::u16string> askForFormOneFile(AppContext& context, QWidget* parent,
                                                const std::u16string& startFile);

// A refusal as a warning; written files in the result window, which names the last one.
void showOutcome(AppContext& context, QWidget* parent, const Outcome& outcome);

}  // namespace vask::formone
