#include "formone/form1_windows.h"

#include "app/msg_window.h"
#include "app/qt_text.h"
#include "platform/paths.h"

namespace vask::formone {

std::optional<std::u16string> askForFormOneFile(AppContext& context, QWidget* parent,
                                                const std::u16string& startFile) {
    context.dialogs->information(parent, QStringLiteral("変換前ファイルを選択します"));
    const auto chosen = context.dialogs->openFile(parent, qs(startFile));
    if (!chosen) return std::nullopt;
    return u16(*chosen);
}

void showOutcome(AppContext& context, QWidget* parent, const Outcome& outcome) {
    if (outcome.isRefusal()) {
        context.dialogs->warning(parent, qs(outcome.message()));
        return;
    }
    const std::u16string file1 = outcome.files().empty() ? std::u16string() : fromPath(outcome.files().back().filename());
    TfrmMsg::DspSet(context, parent, outcome.message(), file1, u"");
}

}  // namespace vask::formone
