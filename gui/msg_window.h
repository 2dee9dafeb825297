// TfrmMsg, the result window "確認": shows what a tool produced; its button moves the
// result files from the program folder into the save folder.
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "core/anonymisation_report.h"
#include "core/outcome.h"
#include "core/result_handoff.h"
#include "gui/app_context.h"

class QLabel;
class QPushButton;

namespace vask {

class TfrmMsg : public QDialog {
    Q_OBJECT
public:
    // Shows a fresh result window modally; returns true when it has been closed.
    // Below the message stand, one line each: with `check`, the outcome of the check of the
    // result files (files of which it found something are saved only after the user
    // answers its question Yes); then each of `warnings` beside the warning icon (a file not made,
    // characters written as "?"); then the folder that the button moves the files to.
    static bool DspSet(AppContext& context, QWidget* parent, const std::u16string& pstMsg,
                       const std::u16string& pstFile1, const std::u16string& pstFile2,
                       const std::optional<CheckSummary>& check = std::nullopt,
                       const std::vector<std::u16string>& warnings = {});

    TfrmMsg(AppContext& context, QWidget* parent, std::u16string pstMsg, std::u16string pstFile1,
            std::u16string pstFile2, std::optional<CheckSummary> check = std::nullopt,
            std::vector<std::u16string> warnings = {});

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;  // FormShow

private:
    void addWarningLine(size_t index, int top);
    void addFolderLine(int top);
    SaveSettings saveSettings() const;

    AppContext& context_;
    std::u16string gstMsg;
    std::u16string gstFile1;
    std::u16string gstFile2;
    std::u16string gstPath;  // SAVEFDR as read when the window was made
    std::optional<CheckSummary> check_;
    std::vector<std::u16string> warnings_;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;  // the check's outcome, when there is one
    QLabel* Label3 = nullptr;  // the folder the files go to
    QPushButton* Button1 = nullptr;
};

// How a tool window shows what its operation reported: a refusal as a warning; written
// files in the result window, which names the last one written (the tool's output) and
// shows the run's warnings.
void showToolOutcome(AppContext& context, QWidget* parent, const Outcome& outcome,
                     const std::optional<CheckSummary>& check = std::nullopt);

}  // namespace vask
