#include "app/option_window.h"

#include <QPushButton>

#include "ff1/ff1_link_window.h"
#include "formone/convert2_window.h"
#include "formone/convert_window.h"
#include "gui/handlers.h"
#include "gui/widgets.h"
#include "replace/replace_window.h"

namespace vask {
namespace {
// The four tool buttons: one column, equal size.
constexpr int kToolLeft = 24;
constexpr int kToolTop = 52;
constexpr int kToolWidth = 300;
constexpr int kToolHeight = 44;
constexpr int kToolStep = 54;
}  // namespace

bool TfrmOption::DspSet(AppContext& context, QWidget* parent) { return showFreshModal<TfrmOption>(context, parent); }

TfrmOption::TfrmOption(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmOption"));
    setUpFixedWindow(this, QStringLiteral("オプション"), 348, 280);
    BitBtn1 = makeCloseButton(this, 248, 8);
    auto tool = [this](const char* name, const QString& caption, int row) {
        return makeButton(this, QString::fromLatin1(name), caption, kToolLeft, kToolTop + row * kToolStep, kToolWidth,
                          kToolHeight);
    };
    Button1 = tool("Button1", QStringLiteral("VELTコンバーター"), 0);
    Button3 = tool("Button3", QStringLiteral("VELTコンバーター２"), 1);
    Button4 = tool("Button4", QStringLiteral("FF1連携"), 2);
    Button2 = tool("Button2", QStringLiteral("リプレース"), 3);
    onClick(Button1, context_, this, [this] { Button1Click(); });
    onClick(Button3, context_, this, [this] { Button3Click(); });
    onClick(Button4, context_, this, [this] { Button4Click(); });
    onClick(Button2, context_, this, [this] { Button2Click(); });
    Button1->setFocus();
    centerOnScreen(this);
}

void TfrmOption::Button1Click() { formone::TfrmConvert::DspSet(context_, this); }

void TfrmOption::Button3Click() { formone::TfrmConvert2::DspSet(context_, this); }

void TfrmOption::Button4Click() { ff1::TfrmFF1MergeVCL2::DspSet(context_, this); }

void TfrmOption::Button2Click() { replace::TfrmReplace::DspSet(context_, this); }

}  // namespace vask
