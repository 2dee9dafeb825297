#include "formone/convert_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/messages.h"
#include "formone/first_converter.h"
#include "formone/form1_file.h"
#include "formone/form1_windows.h"
#include "gui/busy_cursor.h"
#include "gui/file_drop.h"
#include "gui/handlers.h"
#include "gui/msg_window.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "platform/paths.h"

namespace vask::formone {

bool TfrmConvert::DspSet(AppContext& context, QWidget* parent) { return showFreshModal<TfrmConvert>(context, parent); }

TfrmConvert::TfrmConvert(AppContext& context, QWidget* parent)
    : ToolWindow(context, parent, QStringLiteral("frmConvert"), QStringLiteral("VELTコンバーター"), 348, 199) {
    BitBtn1 = makeCloseButton(this, 248, 8);
    Button3 = makeButton(this, QStringLiteral("Button3"), QStringLiteral("変換前ファイル選択"), 12, 44, 240, 30);
    Button2 = makeButton(this, QStringLiteral("Button2"), QStringLiteral("CSV"), 260, 44, 76, 30);
    Button2->hide();
    Edit1 = formone::makePathRow(this, 84, Label1);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("電カル連携ファイル作成"), 12, 140, 324, 34);
    Memo1 = formone::makeUnusedMemo(this, 180);
    acceptPathDrop(Edit1);
    Button3->setFocus();
    onClick(Button3, context_, this, [this] { Button3Click(); });
    onToolRun(Button2, context_, this, [this] { Button2Click(); });
    onToolRun(Button1, context_, this, [this] { Button1Click(); });
    Button1->setDefault(true);  // Enter in the path box runs the converter
    centerOnScreen(this);
}

void TfrmConvert::InitSet() {
    Edit1->clear();
    Memo1->clear();
    FList = {};
}

// A cancelled dialog ends the choice quietly: the path box keeps its text.
void TfrmConvert::Button3Click() {
    const auto chosen = formone::askForFormOneFile(context_, this, dialogFile_);
    if (!chosen) return;
    dialogFile_ = *chosen;
    FList = formone::chooseFormOne(toPath(dialogFile_));  // a failed load keeps the earlier choice
    if (!FList.accepted()) {
        context_.dialogs->warning(this, qs(msg::kNotFormOneFile));
        return;
    }
    Edit1->setText(qs(dialogFile_));
}

void TfrmConvert::Button2Click() {
    whileBusy([&] { return formone::writeDelimitedCopy(u16(Edit1->text()), context_.programFolder); });
}

void TfrmConvert::Button1Click() {
    const Outcome outcome =
        whileBusy([&] { return formone::runFirstConverter(u16(Edit1->text()), context_.programFolder); });
    showToolOutcome(context_, this, outcome);
}

}  // namespace vask::formone
