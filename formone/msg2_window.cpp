#include "formone/msg2_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/messages.h"
#include "gui/handlers.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"

namespace vask::formone {

bool TfrmMsg2::DspSet(AppContext& context, QWidget* parent, std::u16string_view pstMsg) {
    TfrmMsg2 window(context, parent);
    window.Label1->setText(qs(pstMsg));
    window.exec();
    return window.bGFlg;
}

TfrmMsg2::TfrmMsg2(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmMsg2"));
    setUpFixedWindow(this, QStringLiteral("情報"), 348, 96);
    Label1 = new QLabel(qs(msg::kCorrespondencePrompt), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 12, 324, 36);
    Label1->setWordWrap(true);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("戻る"), 12, 58, 100, 28);
    Button2 = makeButton(this, QStringLiteral("Button2"), QStringLiteral("OK"), 236, 58, 100, 28);
    Memo1 = new QPlainTextEdit(this);  // lies below the visible area; not used
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(12, 100, 324, 40);
    onClick(Button1, context_, this, [this] { Button1Click(); });
    onClick(Button2, context_, this, [this] { Button2Click(); });
    centerOnScreen(this);
}

void TfrmMsg2::Button1Click() {
    bGFlg = false;
    close();
}

void TfrmMsg2::Button2Click() {
    bGFlg = true;
    close();
}

}  // namespace vask::formone
