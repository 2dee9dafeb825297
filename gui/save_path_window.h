// TfrmSavePath, the save-destination window "保存先選択": Downloads or a chosen folder.
#pragma once

#include <QDialog>

#include "gui/app_context.h"

class QLineEdit;
class QPushButton;

namespace vask {

class RadioGroup;

class TfrmSavePath : public QDialog {
    Q_OBJECT
public:
    // Shows a fresh save-destination window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmSavePath(AppContext& context, QWidget* parent);

    void InitSet();
    void RadioGroup1Click();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;  // FormShow

private:
    AppContext& context_;
    QPushButton* BitBtn1 = nullptr;
    RadioGroup* RadioGroup1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    bool prepared_ = false;
};

}  // namespace vask
