#include "gui/result_checks.h"

#include "gui/busy_cursor.h"
#include "gui/error_box.h"
#include "platform/errors.h"

namespace vask {

bool runResultCheck(const AppContext& context, QWidget* window, std::u16string_view failed,
                    const std::function<void()>& check) {
    try {
        whileBusy(check);
        return true;
    } catch (const Error& e) {
        showErrorBox(context, window, std::u16string(failed) + e.message());
        return false;
    }
}

}  // namespace vask
