#include "gui/msg_window.h"

#include <QLabel>
#include <QPushButton>

#include "core/result_handoff.h"
#include "core/text.h"
#include "gui/error_box.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "platform/paths.h"

namespace vask {

bool TfrmMsg::DspSet(AppContext& context, QWidget* parent, const std::u16string& pstMsg, const std::u16string& pstFile1,
                     const std::u16string& pstFile2) {
    return showFreshModal<TfrmMsg>(context, parent, pstMsg, pstFile1, pstFile2);
}

TfrmMsg::TfrmMsg(AppContext& context, QWidget* parent, std::u16string pstMsg, std::u16string pstFile1,
                 std::u16string pstFile2)
    : QDialog(parent),
      context_(context),
      gstMsg(std::move(pstMsg)),
      gstFile1(std::move(pstFile1)),
      gstFile2(std::move(pstFile2)) {
    setObjectName(QStringLiteral("frmMsg"));
    setUpFixedWindow(this, QStringLiteral("確認"), 340, 120);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 16, 308, 48);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("ダウンロード"), 110, 76, 120, 30);
    // InitSet
    gstPath = context_.settings().read(u"SAVEFDR");
    if (!isBlank(gstPath)) Button1->setText(QStringLiteral("保存"));
    onClick(Button1, context_, this, [this] { Button1Click(); });
    centerOnScreen(this);
}

void TfrmMsg::showEvent(QShowEvent* event) {
    Label1->setText(qs(gstMsg));
    QDialog::showEvent(event);
}

void TfrmMsg::Button1Click() {
    const SaveSettings settings{gstPath, context_.settings().read(u"SVCHG")};
    const auto target = resultTarget(context_.programFolder, context_.downloadsFolder(), settings, gstFile1);
    const auto notMoved = moveResultFiles(context_.programFolder, target, {gstFile1, gstFile2});
    if (!notMoved.empty()) context_.dialogs->warning(this, qs(notMovedWarning(notMoved)));
    close();
}

void showToolOutcome(AppContext& context, QWidget* parent, const Outcome& outcome) {
    if (outcome.isRefusal()) {
        context.dialogs->warning(parent, qs(outcome.message()));
        return;
    }
    const std::u16string file1 =
        outcome.files().empty() ? std::u16string() : fromPath(outcome.files().back().filename());
    TfrmMsg::DspSet(context, parent, outcome.message(), file1, u"");
}

}  // namespace vask
