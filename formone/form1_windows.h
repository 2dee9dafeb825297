// What the two form-1 converter windows share: asking for the form-1 file, the row of its
// label and path box, and the memo they hold unused.
#pragma once

#include <optional>
#include <string>

#include "core/outcome.h"
#include "gui/app_context.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace vask::formone {

// The information message "変換前ファイルを選択します", then the file-open dialog (no
// filter, no title) starting from `startFile`; the chosen file, or nothing when cancelled.
std::optional<std::u16string> askForFormOneFile(AppContext& context, QWidget* parent, const std::u16string& startFile);

// The label "変換前ファイル：" (Label1) and below it the path box (Edit1), at `y`.
QLineEdit* makePathRow(QWidget* window, int y, QLabel*& label);
// The memo (Memo1) that the converter windows hold but never show or use.
QPlainTextEdit* makeUnusedMemo(QWidget* window, int y);

}  // namespace vask::formone
