// TfrmMsg, the result window "確認": shows what a tool produced; its button moves the
// result files from the program folder into the save folder.
#pragma once

#include <QDialog>

#include <string>

#include "core/outcome.h"
#include "gui/app_context.h"

class QLabel;
class QPushButton;

namespace vask {

class TfrmMsg : public QDialog {
    Q_OBJECT
public:
    // Shows a fresh result window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent, const std::u16string& pstMsg,
                       const std::u16string& pstFile1, const std::u16string& pstFile2);

    TfrmMsg(AppContext& context, QWidget* parent, std::u16string pstMsg, std::u16string pstFile1,
            std::u16string pstFile2);

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;  // FormShow

private:
    AppContext& context_;
    std::u16string gstMsg;
    std::u16string gstFile1;
    std::u16string gstFile2;
    std::u16string gstPath;  // SAVEFDR as read when the window was made
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
};

// How a tool window shows what its operation reported: a refusal as a warning; written
// files in the result window, which names the last one written (the tool's output).
void showToolOutcome(AppContext& context, QWidget* parent, const Outcome& outcome);

}  // namespace vask
