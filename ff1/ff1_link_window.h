// TfrmFF1MergeVCL2, the window "FF1連携": the user enters the year-month of the EHR link
// CSV, may choose an EHR link CSV whose rows are appended, sees (and may change) the FF1
// folder, and starts the FF1 link, whose output goes into the Downloads folder.
#pragma once

#include <string>

#include "core/outcome.h"
#include "gui/tool_window.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QResizeEvent;

namespace vask::ff1 {

class TfrmFF1MergeVCL2 : public ToolWindow {
    Q_OBJECT
public:
    // Shows a fresh window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmFF1MergeVCL2(AppContext& context, QWidget* parent);

    void InitSet() override;
    void Button3Click();
    void Button2Click();
    void Button4Click();  // FF1フォルダ選択

protected:
    void FormShow() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    // The FF1 folder in use, as SAVEFF1 holds it, into its box.
    void showFF1Folder();
    void storeFF1Folder(const QString& folder);

    std::u16string specCsvPath_;  // siyo4.csv in the program folder
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit5 = nullptr;  // the FF1 folder, not typed in
    QPushButton* Button4 = nullptr;
};

// What a run ends with: its message in an information box, then the outcome's warnings, if
// any, in one warning box (this window has no result window to show them).
void showFF1LinkOutcome(Dialogs& dialogs, QWidget* parent, const Outcome& outcome);

}  // namespace vask::ff1
