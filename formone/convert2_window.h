// TfrmConvert2, the window "VELTコンバーター２" of the second converter, with the choice
// of a correspondence file and the anonymiser of the form-1 file.
#pragma once

#include <optional>
#include <string>

#include "formone/form1_file.h"
#include "gui/tool_window.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vask::formone {

class TfrmConvert2 : public ToolWindow {
    Q_OBJECT
public:
    // Shows a fresh window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmConvert2(AppContext& context, QWidget* parent);

    void InitSet() override;
    void Button4Click();  // カルテ番号・データ識別番号対応
    void Button3Click();  // 変換前ファイル選択
    void Button2Click();  // CSV (never shown)
    void Button1Click();  // 電カル連携ファイル作成
    void Button6Click();  // movacal (never shown)
    void Button5Click();  // 変換前ファイル匿名化

private:
    void createControls();
    bool takeYearMonthOfPathBox();

    formone::FormOneChoice FList;  // what the window keeps of the chosen file's line list
    std::u16string mstNgt;
    std::optional<std::u16string> ngtFile_;  // the file whose year-month mstNgt holds
    std::u16string dialogFile_;              // the file-open dialog's current file name
    QPushButton* BitBtn1 = nullptr;
    QLineEdit* Edit2 = nullptr;  // the correspondence file's path, never shown
    QPushButton* Button4 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button5 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
};

}  // namespace vask::formone
