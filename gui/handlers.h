// The wiring of buttons to event handlers, for every window: each handler runs guarded,
// so that an error it raises reaches the general error message box (gui/error_box.h).
#pragma once

#include <QAbstractButton>

#include <functional>

#include "gui/app_context.h"

namespace vask {

// Connects a button's click to a guarded handler.
void onClick(QAbstractButton* button, const AppContext& context, QWidget* window, std::function<void()> handler);

// Connects the click of a button that starts a tool writing into the program folder: when
// no file can be made there (an installed program in a system folder), the warning
// "プログラムフォルダに書き込めません：" with the folder is shown and the tool does not run.
void onToolRun(QAbstractButton* button, const AppContext& context, QWidget* window, std::function<void()> handler);

}  // namespace vask
