#include "claims/claims_actions.h"

#include <QLineEdit>

#include "core/messages.h"
#include "core/text.h"
#include "gui/busy_cursor.h"
#include "gui/error_box.h"
#include "gui/msg_window.h"
#include "gui/qt_text.h"
#include "gui/result_checks.h"
#include "platform/paths.h"

namespace vask::claims {
namespace {

struct FileStep {
    QString prompt;     // information shown before the dialog
    char16_t kindMark;  // 4th character of the first line
    QString wrongKind;  // warning when the file is of another kind
};

const FileStep kEmployeeStep{qs(msg::kChooseEmployeeClaims), u'1', qs(msg::kNotEmployeeClaims)};
const FileStep kNationalStep{qs(msg::kChooseNationalClaims), u'2', qs(msg::kNotNationalClaims)};

bool isBlankBox(const QLineEdit& box) { return isBlank(u16(box.text())); }

// Asks for one file and puts it into `box` when it is of the step's kind. A cancelled
// dialog leaves the box as it was.
void chooseFile(AppContext& context, QWidget* window, QLineEdit& box, const FileStep& step) {
    context.dialogs->information(window, step.prompt);
    const std::optional<QString> chosen = context.dialogs->openFile(window, QString());
    if (!chosen) return;
    if (fileKindMark(toPath(u16(*chosen))) != step.kindMark) {
        context.dialogs->warning(window, step.wrongKind);
        return;
    }
    box.setText(*chosen);
}

}  // namespace

void selectClaimsFiles(AppContext& context, QWidget* window, QLineEdit& employeeBox, QLineEdit& nationalBox) {
    if (!isBlankBox(employeeBox) && !isBlankBox(nationalBox)) {
        if (!context.dialogs->confirm(window, qs(msg::kChooseClaimsAgain))) return;
        employeeBox.clear();
        nationalBox.clear();
    }
    if (isBlankBox(employeeBox)) chooseFile(context, window, employeeBox, kEmployeeStep);
    if (isBlankBox(nationalBox)) chooseFile(context, window, nationalBox, kNationalStep);
}

void runOnBothFiles(AppContext& context, QWidget* window, const std::u16string& file1, const std::u16string& file2,
                    StoredResults results, const std::function<ClaimsResult(std::u16string_view)>& tool,
                    const WrittenFileCheck& check) {
    ResultChecks checks(context, window);
    for (const std::u16string* file : {&file1, &file2}) {
        runGuarded(context, window, [&] {
            const ClaimsResult result = whileBusy([&] { return tool(*file); });
            if (result.outcome.isRefusal()) context.dialogs->warning(window, qs(result.outcome.message()));
            storeResult(result, results.gstMsg, results.gstFile1, results.gstFile2);
            if (check && !result.outcome.isRefusal()) {
                const auto output = result.outcome.files().back();
                checks.add(result.fileName, [&] { return check(toPath(*file), output); });
            }
        });
    }
    TfrmMsg::DspSet(context, window, results.gstMsg, results.gstFile1, results.gstFile2,
                    check ? checks.summary() : std::nullopt);
}

}  // namespace vask::claims
