// TfrmReplace, the record replacement window "リプレース": picks the data file and the
// change-definition file, runs the replacement and shows the result window.
#pragma once

#include "gui/tool_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vask {

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
    // One pick with the shared file dialog: the prompt, the dialog, then the test whether
    // the list a pick loads holds any line; on success `box` gets the dialog's file name.
    void pickFile(const QString& prompt, bool& listHasLines, const QString& refusal, QLineEdit* box);

    // The file name the shared open dialog keeps: the file picked last, in either step.
    QString dialogFile_;
    // Whether the data file's line list (FList) and the definitions' list (mlsList), as the
    // last pick or run left them, hold any line: all that picking the files examines.
    bool inputHasLines_ = false;
    bool definitionsHaveLines_ = false;

    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button1 = nullptr;
};

}  // namespace vask
