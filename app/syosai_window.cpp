#include "app/syosai_window.h"

#include <QPushButton>

#include "app/key_window.h"
#include "core/anonymisation_profile.h"
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
// Item indices of the 匿名化の方式 choice.
constexpr int kWrittenProfile = 0;
constexpr int kPseudonymProfile = 1;
}  // namespace

bool TfrmSyosai::DspSet(AppContext& context, QWidget* parent) { return showFreshModal<TfrmSyosai>(context, parent); }

TfrmSyosai::TfrmSyosai(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmSyosai"));
    setUpFixedWindow(this, QStringLiteral("詳細設定"), 348, 280);
    BitBtn1 = makeCloseButton(this, 248, 8);
    Button4 = makeButton(this, QStringLiteral("Button4"), QStringLiteral("保存先設定"), 12, 48, 324, 32);
    RadioGroup1 = new RadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("仕様選択"),
                                 {QStringLiteral("標準仕様"), QStringLiteral("モバカル仕様")}, 2, this);
    RadioGroup1->setGeometry(12, 92, 324, 64);
    // The stored choice is shown as it is; only a change by the user stores it.
    const bool movacal = trim(context_.settings().read(settings::kSpec)) == settings::kSpecMovacal;
    RadioGroup1->setInitialIndex(movacal ? kMovacal : kStandard);
    connect(RadioGroup1, &RadioGroup::changed, this, [this] { runGuarded(context_, this, [this] { SpecChange(); }); });
    RadioGroup2 = new RadioGroup(QStringLiteral("RadioGroup2"), QStringLiteral("匿名化の方式"),
                                 {QStringLiteral("標準"), QStringLiteral("仮名加工（研究用）")}, 2, this);
    RadioGroup2->setGeometry(12, 164, 324, 64);
    const auto profile = profileOfSetting(context_.settings().read(settings::kAnonymisationProfile));
    RadioGroup2->setInitialIndex(profile == AnonymisationProfile::Pseudonym ? kPseudonymProfile : kWrittenProfile);
    connect(RadioGroup2, &RadioGroup::changed, this,
            [this] { runGuarded(context_, this, [this] { ProfileChange(); }); });
    Button5 = makeButton(this, QStringLiteral("Button5"), QStringLiteral("仮名化の鍵…"), 12, 238, 324, 30);
    onClick(Button4, context_, this, [this] { Button4Click(); });
    onClick(Button5, context_, this, [this] { Button5Click(); });
    Button4->setFocus();
    centerOnScreen(this);
}

void TfrmSyosai::Button4Click() { TfrmSavePath::DspSet(context_, this); }

void TfrmSyosai::Button5Click() { TfrmKey::DspSet(context_, this); }

void TfrmSyosai::ProfileChange() {
    const auto profile =
        RadioGroup2->itemIndex() == kPseudonymProfile ? AnonymisationProfile::Pseudonym : AnonymisationProfile::Written;
    context_.settings().write(settings::kAnonymisationProfile, settingOfProfile(profile));
}

void TfrmSyosai::SpecChange() {
    context_.settings().write(settings::kSpec,
                              RadioGroup1->itemIndex() == kMovacal ? settings::kSpecMovacal : settings::kSpecStandard);
}

}  // namespace vask
