// TfrmFF1MergeVCL2, the window "FF1連携": the user enters the year-month of the EHR link
// CSV, may choose an EHR link CSV whose rows are appended, and starts the FF1 link, whose
// output goes into the Downloads folder.
#pragma once

#include <string>

#include "gui/tool_window.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QResizeEvent;

namespace vask {

class TfrmFF1MergeVCL2 : public ToolWindow {
    Q_OBJECT
public:
    // Shows a fresh window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmFF1MergeVCL2(AppContext& context, QWidget* parent);

    void InitSet() override;
    void Button3Click();
    void Button2Click();

protected:
    void FormShow() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();

    std::u16string specCsvPath_;  // siyo4.csv in the program folder
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QPushButton* Button2 = nullptr;
};

}  // namespace vask
