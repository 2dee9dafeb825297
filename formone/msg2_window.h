// TfrmMsg2, the prompt window "情報" before the correspondence file is chosen: "戻る"
// goes back, "OK" goes on.
#pragma once

#include <QDialog>

#include <string>
#include <string_view>

#include "gui/app_context.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vask::formone {

class TfrmMsg2 : public QDialog {
    Q_OBJECT
public:
    // Shows a fresh window with `pstMsg` modally; true when the user pressed "OK", false
    // for "戻る" or the close box.
    static bool DspSet(AppContext& context, QWidget* parent, std::u16string_view pstMsg);

    TfrmMsg2(AppContext& context, QWidget* parent);

    void Button1Click();  // 戻る
    void Button2Click();  // OK

private:
    AppContext& context_;
    bool bGFlg = false;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
};

}  // namespace vask::formone
