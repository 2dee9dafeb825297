#include "app/syosai_window.h"

#include <QPushButton>

#include "core/settings_keys.h"
#include "core/text.h"
#include "gui/error_box.h"
#include "gui/handlers.h"
#include "gui/save_path_window.h"
#include "gui/widgets.h"

namespace vask {
namespace {
// Item indices of the 仕様選択 choice (the setting Spec stores kSpecStandard or
// kSpecMovacal for them).
constexpr int kStandard = 0;
constexpr int kMovacal = 1;
}  // namespace

bool TfrmSyosai::DspSet(AppContext& context, QWidget* parent) { return showFreshModal<TfrmSyosai>(context, parent); }

TfrmSyosai::TfrmSyosai(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmSyosai"));
    setUpFixedWindow(this, QStringLiteral("詳細設定"), 348, 170);
    BitBtn1 = makeCloseButton(this, 248, 8);
    Button4 = makeButton(this, QStringLiteral("Button4"), QStringLiteral("保存先設定"), 12, 48, 324, 32);
    RadioGroup1 = new RadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("仕様選択"),
                                 {QStringLiteral("標準仕様"), QStringLiteral("モバカル仕様")}, 2, this);
    RadioGroup1->setGeometry(12, 92, 324, 64);
    // The stored choice is shown as it is; only a change by the user stores it.
    const bool movacal = trim(context_.settings().read(settings::kSpec)) == settings::kSpecMovacal;
    RadioGroup1->setInitialIndex(movacal ? kMovacal : kStandard);
    connect(RadioGroup1, &RadioGroup::changed, this, [this] { runGuarded(context_, this, [this] { SpecChange(); }); });
    onClick(Button4, context_, this, [this] { Button4Click(); });
    Button4->setFocus();
    centerOnScreen(this);
}

void TfrmSyosai::Button4Click() { TfrmSavePath::DspSet(context_, this); }

void TfrmSyosai::SpecChange() {
    context_.settings().write(settings::kSpec,
                              RadioGroup1->itemIndex() == kMovacal ? settings::kSpecMovacal : settings::kSpecStandard);
}

}  // namespace vask
