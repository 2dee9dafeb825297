#include "gui/handlers.h"

#include "core/messages.h"
#include "gui/error_box.h"
#include "gui/qt_text.h"
#include "platform/atomic_file.h"

namespace vask {

void onClick(QAbstractButton* button, const AppContext& context, QWidget* window, std::function<void()> handler) {
    QObject::connect(button, &QAbstractButton::clicked, window,
                     [&context, window, handler = std::move(handler)] { runGuarded(context, window, handler); });
}

void onToolRun(QAbstractButton* button, const AppContext& context, QWidget* window, std::function<void()> handler) {
    onClick(button, context, window, [&context, window, handler = std::move(handler)] {
        if (!canCreateFilesIn(context.programFolder)) {
            context.dialogs->warning(window, qs(msg::kProgramFolderNotWritable) + qsPath(context.programFolder));
            return;
        }
        handler();
    });
}

}  // namespace vask
