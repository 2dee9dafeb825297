// TfrmOption, the option window "オプション": the door to the two form-1 converters, the
// FF1 link and the record replacement.
#pragma once

#include <QDialog>

#include "gui/app_context.h"

class QPushButton;

namespace vask {

class TfrmOption : public QDialog {
    Q_OBJECT
public:
    // Shows a fresh option window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmOption(AppContext& context, QWidget* parent);

    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button2Click();

private:
    AppContext& context_;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button2 = nullptr;
};

}  // namespace vask
