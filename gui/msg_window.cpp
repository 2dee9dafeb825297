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

namespace {
constexpr int kCheckLineHeight = 22;  // the window grows by the check's line
}

bool TfrmMsg::DspSet(AppContext& context, QWidget* parent, const std::u16string& pstMsg, const std::u16string& pstFile1,
                     const std::u16string& pstFile2, const std::optional<CheckSummary>& check) {
    return showFreshModal<TfrmMsg>(context, parent, pstMsg, pstFile1, pstFile2, check);
}

TfrmMsg::TfrmMsg(AppContext& context, QWidget* parent, std::u16string pstMsg, std::u16string pstFile1,
                 std::u16string pstFile2, std::optional<CheckSummary> check)
    : QDialog(parent),
      context_(context),
      gstMsg(std::move(pstMsg)),
      gstFile1(std::move(pstFile1)),
      gstFile2(std::move(pstFile2)),
      check_(std::move(check)) {
    const int extra = check_ ? kCheckLineHeight : 0;
    setObjectName(QStringLiteral("frmMsg"));
    setUpFixedWindow(this, QStringLiteral("確認"), 340, 120 + extra);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 16, 308, 48);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    if (check_) {
        // One line, cut at its end when too long; the whole text and the line
        // numbers in its tooltip.
        Label2 = new QLabel(this);
        Label2->setObjectName(QStringLiteral("Label2"));
        Label2->setGeometry(16, 66, 308, kCheckLineHeight - 4);
        Label2->setAlignment(Qt::AlignCenter);
        const QString line = qs(check_->line);
        Label2->setText(Label2->fontMetrics().elidedText(line, Qt::ElideRight, Label2->width()));
        Label2->setToolTip(line + QStringLiteral("\n") + qs(check_->detail));
    }
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("ダウンロード"), 110, 76 + extra, 120, 30);
    // InitSet
    gstPath = context_.settings().read(u"SAVEFDR");
    if (!isBlank(gstPath)) Button1->setText(QStringLiteral("保存"));
    onClick(Button1, context_, this, [this] { Button1Click(); });
    centerOnScreen(this);
}

// A message that does not fit the label (a long file name cannot wrap) is shortened in its
// middle, with the whole text as the label's tooltip; the window keeps its size.
void TfrmMsg::showEvent(QShowEvent* event) {
    const QString message = qs(gstMsg);
    const QRect needed =
        Label1->fontMetrics().boundingRect(Label1->rect(), Qt::TextWordWrap | Qt::AlignCenter, message);
    if (needed.width() > Label1->width() || needed.height() > Label1->height()) {
        Label1->setText(Label1->fontMetrics().elidedText(message, Qt::ElideMiddle, Label1->width()));
        Label1->setToolTip(message);
    } else {
        Label1->setText(message);
    }
    QDialog::showEvent(event);
}

void TfrmMsg::Button1Click() {
    // "No" leaves the files in the program folder and the window open.
    if (check_ && !check_->clean && !context_.dialogs->confirm(this, qs(kSaveDespiteFindings))) return;
    const SaveSettings settings{gstPath, context_.settings().read(u"SVCHG")};
    const auto target = resultTarget(context_.programFolder, context_.downloadsFolder(), settings, gstFile1);
    const auto notMoved = moveResultFiles(context_.programFolder, target, {gstFile1, gstFile2});
    if (!notMoved.empty()) context_.dialogs->warning(this, qs(notMovedWarning(notMoved)));
    close();
}

void showToolOutcome(AppContext& context, QWidget* parent, const Outcome& outcome,
                     const std::optional<CheckSummary>& check) {
    if (outcome.isRefusal()) {
        context.dialogs->warning(parent, qs(outcome.message()));
        return;
    }
    const std::u16string file1 =
        outcome.files().empty() ? std::u16string() : fromPath(outcome.files().back().filename());
    TfrmMsg::DspSet(context, parent, outcome.message(), file1, u"", check);
}

}  // namespace vask
