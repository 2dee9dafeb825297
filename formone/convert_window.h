// TfrmConvert, the window "VELTコンバーター" of the first converter.
#pragma once

#include <string>

#include "formone/form1_file.h"
#include "gui/tool_window.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vask::formone {

class TfrmConvert : public ToolWindow {
    Q_OBJECT
public:
    // Shows a fresh window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmConvert(AppContext& context, QWidget* parent);

    void InitSet() override;
    void Button3Click();  // 変換前ファイル選択
    void Button2Click();  // CSV (never shown)
    void Button1Click();  // 電カル連携ファイル作成

private:
    formone::FormOneChoice FList;  // what the window keeps of the chosen file's line list
    std::u16string dialogFile_;    // the file-open dialog's current file name
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
};

}  // namespace vask::formone
