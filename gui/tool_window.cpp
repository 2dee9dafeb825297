#include "gui/tool_window.h"

#include "gui/error_box.h"
#include "gui/widgets.h"

namespace vask {

ToolWindow::ToolWindow(AppContext& context, QWidget* parent, const QString& objectName, const QString& caption,
                       int clientWidth, int clientHeight)
    : QDialog(parent), context_(context) {
    setObjectName(objectName);
    setUpFixedWindow(this, caption, clientWidth, clientHeight);
}

void ToolWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (prepared_) return;
    prepared_ = true;
    runGuarded(context_, this, [this] { FormShow(); });
}

}  // namespace vask
