// Uncaught errors of every window end here: the general error message box (caption
// "ヴァスク", the error's text with a full stop added when it ends in a character above
// ".", stop icon, OK). The window stays as it was and usable.
#pragma once

#include <QAbstractButton>

#include <functional>
#include <string_view>

#include "gui/app_context.h"

namespace vask {

void showErrorBox(const AppContext& context, QWidget* parent, std::u16string_view message);

// Runs one event handler; an error it raises is shown in the general error message box.
void runGuarded(const AppContext& context, QWidget* parent, const std::function<void()>& handler);

// Connects a button's click to a guarded handler.
void onClick(QAbstractButton* button, const AppContext& context, QWidget* window, std::function<void()> handler);

// Connects the click of a button that starts a tool writing into the program folder: when
// no file can be made there (an installed program in a system folder), the warning
// "プログラムフォルダに書き込めません：" with the folder is shown and the tool does not run.
void onToolRun(QAbstractButton* button, const AppContext& context, QWidget* window, std::function<void()> handler);

}  // namespace vask
