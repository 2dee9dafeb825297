// Uncaught errors of every window end here (the handlers of gui/handlers.h run guarded): the general error message box
// (caption "ヴァスク", the error's text with a full stop added when it ends in a character above
// ".", stop icon, OK). The window stays as it was and usable.
#pragma once

#include <QWidget>

#include <functional>
#include <string_view>

#include "gui/app_context.h"

namespace vask {

void showErrorBox(const AppContext& context, QWidget* parent, std::u16string_view message);

// Runs one event handler; an error it raises is shown in the general error message box.
void runGuarded(const AppContext& context, QWidget* parent, const std::function<void()>& handler);

}  // namespace vask
