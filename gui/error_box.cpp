#include "gui/error_box.h"

#include "core/messages.h"
#include "gui/qt_text.h"
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {

void showErrorBox(const AppContext& context, QWidget* parent, std::u16string_view message) {
    context.dialogs->error(parent, qs(msg::errorBoxText(message)));
}

void runGuarded(const AppContext& context, QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Error& e) {
        showErrorBox(context, parent, e.message());
    } catch (const std::exception& e) {
        showErrorBox(context, parent, utf8ToUtf16(e.what()));
    }
}

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
