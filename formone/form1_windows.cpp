#include "formone/form1_windows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/messages.h"
#include "gui/msg_window.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "platform/paths.h"

namespace vask::formone {

std::optional<std::u16string> askForFormOneFile(AppContext& context, QWidget* parent, const std::u16string& startFile) {
    context.dialogs->information(parent, qs(msg::kChooseInputFile));
    const auto chosen = context.dialogs->openFile(parent, qs(startFile));
    if (!chosen) return std::nullopt;
    return u16(*chosen);
}

QLineEdit* makePathRow(QWidget* window, int y, QLabel*& label) {
    label = makeLabel(window, QStringLiteral("Label1"), QStringLiteral("変換前ファイル："), 12, y, 200);
    return makeEdit(window, QStringLiteral("Edit1"), 12, y + 20, 324);
}

QPlainTextEdit* makeUnusedMemo(QWidget* window, int y) {
    auto* memo = new QPlainTextEdit(window);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setGeometry(12, y, 324, 16);
    memo->hide();
    return memo;
}

}  // namespace vask::formone
