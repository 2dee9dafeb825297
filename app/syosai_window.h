// TfrmSyosai, the detail-settings window "詳細設定": the door to the save-destination
// window and the 仕様選択 choice of the EHR import variant (the setting Spec).
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

private:
    AppContext& context_;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button4 = nullptr;
    RadioGroup* RadioGroup1 = nullptr;
};

}  // namespace vask
