// What every tool window shares: a window with a close box only and a fixed client area,
// made fresh and shown modally by its DspSet; InitSet prepares its controls once, when it
// is first shown. Its buttons are wired with onClick and onToolRun (gui/handlers.h).
#pragma once

#include <QDialog>

#include "gui/app_context.h"

namespace vask {

// Each tool window's DspSet shows a fresh window modally with showFreshModal (widgets.h).
class ToolWindow : public QDialog {
    Q_OBJECT
protected:
    ToolWindow(AppContext& context, QWidget* parent, const QString& objectName, const QString& caption, int clientWidth,
               int clientHeight);

    // Prepares the controls (from settings where the window has any).
    virtual void InitSet() {}
    // Runs once, when the window is first shown: InitSet, unless the window does more.
    virtual void FormShow() { InitSet(); }
    void showEvent(QShowEvent* event) override;

    AppContext& context_;

private:
    bool prepared_ = false;
};

}  // namespace vask
