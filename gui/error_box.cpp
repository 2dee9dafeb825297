#include "gui/error_box.h"

#include "core/messages.h"
#include "gui/qt_text.h"
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

}  // namespace vask
