#include "formone/form1_windows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/msg_window.h"
#include "app/qt_text.h"
#include "platform/paths.h"

namespace vask::formone {

std::optional<std::u16string> askForFormOneFile(AppContext& context, QWidget* parent,
                                                const std::u16string& startFile) {
    context.dialogs->information(parent, QStringLiteral("変換前ファイルを選択します"));
    const auto chosen = context.dialogs->openFile(parent, qs(startFile));
    if (!chosen) return std::nullopt;
    return u16(*chosen);
}

QLineEdit* makePathRow(QWidget* window, int y, QLabel*& label) {
    label = new QLabel(QStringLiteral("変換前ファイル："), window);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(12, y, 200, 18);
    auto* edit = new QLineEdit(window);
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->setGeometry(12, y + 20, 324, 24);
    return edit;
}

QPlainTextEdit* makeUnusedMemo(QWidget* window, int y) {
    auto* memo = new QPlainTextEdit(window);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setGeometry(12, y, 324, 16);
    memo->hide();
    return memo;
}

void showOutcome(AppContext& context, QWidget* parent, const Outcome& outcome) {
    if (outcome.isRefusal()) {
        context.dialogs->warning(parent, qs(outcome.message()));
        return;
    }
    const std::u16string file1 = outcome.files().empty() ? std::u16string() : fromPath(outcome.files().back().filename());
    TfrmMsg::DspSet(context, parent, outcome.message(), file1, u"");
}

}  // namespace vask::formone
