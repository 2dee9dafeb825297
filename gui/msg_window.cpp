#include "gui/msg_window.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "core/messages.h"
#include "core/result_handoff.h"
#include "core/settings_keys.h"
#include "core/text.h"
#include "gui/handlers.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {

namespace {

constexpr int kLineHeight = 22;    // each line below the message grows the window by this
constexpr int kFirstLineTop = 66;  // below the message
constexpr int kLineLeft = 16;
constexpr int kLineWidth = 308;
constexpr int kIconSize = 16;
constexpr int kIconGap = 4;

// One line of text, shortened in its middle when it does not fit, with the whole text as
// the label's tooltip then.
void setLineText(QLabel* label, const QString& text) {
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width());
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

}  // namespace

bool TfrmMsg::DspSet(AppContext& context, QWidget* parent, const std::u16string& pstMsg, const std::u16string& pstFile1,
                     const std::u16string& pstFile2, const std::optional<CheckSummary>& check,
                     const std::vector<std::u16string>& warnings) {
    return showFreshModal<TfrmMsg>(context, parent, pstMsg, pstFile1, pstFile2, check, warnings);
}

TfrmMsg::TfrmMsg(AppContext& context, QWidget* parent, std::u16string pstMsg, std::u16string pstFile1,
                 std::u16string pstFile2, std::optional<CheckSummary> check, std::vector<std::u16string> warnings)
    : QDialog(parent),
      context_(context),
      gstMsg(std::move(pstMsg)),
      gstFile1(std::move(pstFile1)),
      gstFile2(std::move(pstFile2)),
      check_(std::move(check)),
      warnings_(std::move(warnings)) {
    // The check's line, the warnings and the save folder's line.
    const int lines = (check_ ? 1 : 0) + static_cast<int>(warnings_.size()) + 1;
    setObjectName(QStringLiteral("frmMsg"));
    setUpFixedWindow(this, QStringLiteral("確認"), 340, 120 + lines * kLineHeight);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 16, 308, 48);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    int top = kFirstLineTop;
    if (check_) {
        // One line, cut at its end when too long; the whole text and the line
        // numbers in its tooltip.
        Label2 = new QLabel(this);
        Label2->setObjectName(QStringLiteral("Label2"));
        Label2->setGeometry(kLineLeft, top, kLineWidth, kLineHeight - 4);
        Label2->setAlignment(Qt::AlignCenter);
        const QString line = qs(check_->line);
        Label2->setText(Label2->fontMetrics().elidedText(line, Qt::ElideRight, Label2->width()));
        Label2->setToolTip(line + QStringLiteral("\n") + qs(check_->detail));
        top += kLineHeight;
    }
    for (size_t i = 0; i < warnings_.size(); ++i, top += kLineHeight) addWarningLine(i, top);
    // InitSet
    gstPath = context_.settings().read(settings::kSaveFolder);
    addFolderLine(top);
    top += kLineHeight;
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("ダウンロード"), 110, top + 4, 120, 30);
    if (!isBlank(gstPath)) Button1->setText(QStringLiteral("保存"));
    onClick(Button1, context_, this, [this] { Button1Click(); });
    centerOnScreen(this);
}

// A warning stands beside the platform's warning icon, apart from the message.
void TfrmMsg::addWarningLine(size_t index, int top) {
    const QString number = QString::number(index + 1);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("WarningIcon") + number);
    icon->setGeometry(kLineLeft, top + 1, kIconSize, kIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(kIconSize, kIconSize));
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Warning") + number);
    label->setGeometry(kLineLeft + kIconSize + kIconGap, top, kLineWidth - kIconSize - kIconGap, kLineHeight - 4);
    setLineText(label, qs(warnings_[index]));
}

// Where the button moves the files, as it stands when the window opens; no folder is made
// for it. When the clinic's sub-folder cannot be named (the first file cannot be read),
// the save folder itself: the press then reports the file.
void TfrmMsg::addFolderLine(int top) {
    QString folder;
    try {
        folder = QDir::toNativeSeparators(
            qsPath(plannedResultTarget(context_.programFolder, context_.downloadsFolder(), saveSettings(), gstFile1)));
    } catch (const Error&) {
        folder = qs(gstPath);
    }
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(kLineLeft, top, kLineWidth, kLineHeight - 4);
    setLineText(Label3, qs(msg::kSaveFolderLine) + folder);
}

SaveSettings TfrmMsg::saveSettings() const { return {gstPath, context_.settings().read(settings::kClinicSubfolder)}; }

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
    if (check_ && !check_->clean && !context_.dialogs->confirm(this, qs(check_->question), DefaultAnswer::No)) {
        return;
    }
    const auto target = resultTarget(context_.programFolder, context_.downloadsFolder(), saveSettings(), gstFile1);
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
    TfrmMsg::DspSet(context, parent, outcome.message(), file1, u"", check, outcome.warnings());
}

}  // namespace vask
