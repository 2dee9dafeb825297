// TfrmMsg, the result window "確認": shows what a tool produced; its button moves the
// result files from the program folder into the save folder.
#pragma once

#include <QDialog>

#include <optional>
#include <string>

#include "core/anonymisation_report.h"
#include "core/outcome.h"
#include "gui/app_context.h"

class QLabel;
class QPushButton;

namespace vask {

class TfrmMsg : public QDialog {
    Q_OBJECT
public:
    // Shows a fresh result window modally; returns true when it has been closed.
    // With `check`, the outcome of the check of anonymised result files stands in one more
    // line below the message, and files of which it found something are saved only after
    // the user confirms it.
    static bool DspSet(AppContext& context, QWidget* parent, const std::u16string& pstMsg,
                       const std::u16string& pstFile1, const std::u16string& pstFile2,
                       const std::optional<CheckSummary>& check = std::nullopt);

    TfrmMsg(AppContext& context, QWidget* parent, std::u16string pstMsg, std::u16string pstFile1,
            std::u16string pstFile2, std::optional<CheckSummary> check = std::nullopt);

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;  // FormShow

private:
    AppContext& context_;
    std::u16string gstMsg;
    std::u16string gstFile1;
    std::u16string gstFile2;
    std::u16string gstPath;  // SAVEFDR as read when the window was made
    std::optional<CheckSummary> check_;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;  // the check's outcome, when there is one
    QPushButton* Button1 = nullptr;
};

// How a tool window shows what its operation reported: a refusal as a warning; written
// files in the result window, which names the last one written (the tool's output).
void showToolOutcome(AppContext& context, QWidget* parent, const Outcome& outcome,
                     const std::optional<CheckSummary>& check = std::nullopt);

}  // namespace vask
