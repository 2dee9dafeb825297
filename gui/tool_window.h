// What every tool window shares: a window with a close box only and a fixed client area,
// made fresh and shown modally by its DspSet; InitSet prepares its controls once, when it
// is first shown; and its run buttons first check that the program folder, where every
// tool writes, can take a file.
#pragma once

#include <QDialog>

#include <functional>

#include "gui/app_context.h"

class QAbstractButton;

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

    // A button whose handler's errors reach the general error box.
    void onClick(QAbstractButton* button, std::function<void()> handler);
    // A button that starts a tool writing into the program folder: when no file can be
    // made there, "プログラムフォルダに書き込めません：" with the folder is shown instead.
    void onToolRun(QAbstractButton* button, std::function<void()> handler);

    AppContext& context_;

private:
    bool prepared_ = false;
};

}  // namespace vask
