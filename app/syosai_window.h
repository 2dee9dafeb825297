// TfrmSyosai, the detail-settings window "詳細設定": the door to the save-destination
// window, the 仕様選択 choice of the EHR import variant (the setting Spec), the 匿名化の方式
// choice of the anonymisation profile (the setting ANONPROFILE) and the door to the key
// window of the pseudonymisation profile.
#pragma once

#include <QDialog>

#include "gui/app_context.h"

class QPushButton;

namespace vask {

class RadioGroup;

class TfrmSyosai : public QDialog {
    Q_OBJECT
public:
    // Shows a fresh detail-settings window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmSyosai(AppContext& context, QWidget* parent);

    void Button4Click();
    void SpecChange();
    void ProfileChange();
    void Button5Click();

private:
    AppContext& context_;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button4 = nullptr;
    RadioGroup* RadioGroup1 = nullptr;
    RadioGroup* RadioGroup2 = nullptr;  // 匿名化の方式
    QPushButton* Button5 = nullptr;     // 仮名化の鍵…
};

}  // namespace vask
