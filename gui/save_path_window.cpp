#include "gui/save_path_window.h"

#include <QLineEdit>
#include <QPushButton>

#include "core/messages.h"
#include "core/settings_keys.h"
#include "core/text.h"
#include "gui/error_box.h"
#include "gui/handlers.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"

namespace vask {
namespace {
constexpr int kChosenFolder = 1;
}

bool TfrmSavePath::DspSet(AppContext& context, QWidget* parent) {
    return showFreshModal<TfrmSavePath>(context, parent);
}

TfrmSavePath::TfrmSavePath(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmSavePath"));
    setUpFixedWindow(this, QStringLiteral("保存先選択"), 348, 150);
    BitBtn1 = makeCloseButton(this, 248, 8);
    RadioGroup1 = new RadioGroup(QStringLiteral("RadioGroup1"), QString(),
                                 {QStringLiteral("ダウンロードフォルダ"), QStringLiteral("保存先指定")}, 2, this);
    RadioGroup1->setGeometry(12, 40, 324, 44);
    RadioGroup1->setInitialIndex(0);
    Edit1 = makeEdit(this, QStringLiteral("Edit1"), 12, 94, 220);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("保存先選択"), 240, 92, 96, 28);
    connect(RadioGroup1, &RadioGroup::changed, this,
            [this] { runGuarded(context_, this, [this] { RadioGroup1Click(); }); });
    onClick(Button1, context_, this, [this] { Button1Click(); });
    centerOnScreen(this);
}

void TfrmSavePath::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (prepared_) return;
    prepared_ = true;
    runGuarded(context_, this, [this] { InitSet(); });
}

void TfrmSavePath::InitSet() {
    Edit1->clear();
    Button1->hide();
    Edit1->hide();
    const std::u16string folder = context_.settings().read(settings::kSaveFolder);
    if (!isBlank(folder)) {
        RadioGroup1->setItemIndex(kChosenFolder);
        Button1->show();
        Edit1->show();
        Edit1->setText(qs(folder));
    }
    // The focus starts on the chosen item, not on 閉じる, which a stray Space would press.
    if (QAbstractButton* item = RadioGroup1->item(RadioGroup1->itemIndex())) item->setFocus();
}

void TfrmSavePath::RadioGroup1Click() {
    Button1->hide();
    Edit1->hide();
    if (RadioGroup1->itemIndex() == kChosenFolder) {
        // The box shows the folder that is stored: after ダウンロードフォルダ none, until
        // one is chosen.
        Edit1->setText(qs(context_.settings().read(settings::kSaveFolder)));
        Button1->show();
        Edit1->show();
    } else {
        context_.settings().write(settings::kSaveFolder, u"");
    }
}

void TfrmSavePath::Button1Click() {
    const QString start = qs(context_.settings().read(settings::kSaveFolder));
    const auto folder = context_.dialogs->chooseFolder(this, qs(msg::kSaveFolderPrompt), start);
    if (!folder) return;
    Edit1->setText(*folder);
    context_.settings().write(settings::kSaveFolder, u16(*folder));
}

}  // namespace vask
