// TfrmReplace, the record replacement window "リプレース": picks the data file and the
// change-definition file, runs the replacement and shows the result window.
#pragma once

#include "gui/tool_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vask::replace {

class TfrmReplace : public ToolWindow {
    Q_OBJECT
public:
    // Shows a fresh replacement window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmReplace(AppContext& context, QWidget* parent);

    void InitSet() override;
    void Button2Click();
    void Button1Click();

private:
    void createControls();
    bool pickFile(const QString& prompt, const QString& refusal, QLineEdit* box);

    // The file name the shared open dialog keeps: the file picked last, in either step.
    QString dialogFile_;

    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button1 = nullptr;
};

}  // namespace vask::replace
