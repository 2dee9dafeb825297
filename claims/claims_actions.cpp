#include "claims/claims_actions.h"

#include <QLineEdit>

#include "core/messages.h"
#include "core/text.h"
#include "gui/busy_cursor.h"
#include "gui/error_box.h"
#include "gui/msg_window.h"
#include "gui/qt_text.h"
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

// The per-file step: puts `file` into `box` when its kind mark is the step's, otherwise
// shows the step's warning and leaves the box as it was.
void placeOfKind(AppContext& context, QWidget* window, QLineEdit& box, const FileStep& step, const QString& file,
                 std::optional<char16_t> mark) {
    if (mark != step.kindMark) {
        context.dialogs->warning(window, step.wrongKind);
        return;
    }
    box.setText(file);
}

// Asks for one file and puts it into `box` when it is of the step's kind. A cancelled
// dialog leaves the box as it was.
void chooseFile(AppContext& context, QWidget* window, QLineEdit& box, const FileStep& step) {
    context.dialogs->information(window, step.prompt);
    const std::optional<QString> chosen = context.dialogs->openFile(window, QString());
    if (!chosen) return;
    placeOfKind(context, window, box, step, *chosen, fileKindMark(toPath(u16(*chosen))));
}

// With both boxes filled, asks whether to choose anew and, on Yes, empties them. True when
// there is a box to fill.
bool readyForNewFiles(AppContext& context, QWidget* window, QLineEdit& employeeBox, QLineEdit& nationalBox) {
    if (isBlankBox(employeeBox) || isBlankBox(nationalBox)) return true;
    if (!context.dialogs->confirm(window, qs(msg::kChooseClaimsAgain))) return false;
    employeeBox.clear();
    nationalBox.clear();
    return true;
}

}  // namespace

void selectClaimsFiles(AppContext& context, QWidget* window, QLineEdit& employeeBox, QLineEdit& nationalBox) {
    if (!readyForNewFiles(context, window, employeeBox, nationalBox)) return;
    if (isBlankBox(employeeBox)) chooseFile(context, window, employeeBox, kEmployeeStep);
    if (isBlankBox(nationalBox)) chooseFile(context, window, nationalBox, kNationalStep);
}

void dropClaimsFiles(AppContext& context, QWidget* window, QLineEdit& employeeBox, QLineEdit& nationalBox,
                     const QStringList& files) {
    if (!readyForNewFiles(context, window, employeeBox, nationalBox)) return;
    for (const QString& file : files) {
        const bool employeeBlank = isBlankBox(employeeBox);
        const bool nationalBlank = isBlankBox(nationalBox);
        if (!employeeBlank && !nationalBlank) return;
        const std::optional<char16_t> mark = fileKindMark(toPath(u16(file)));
        const bool national = nationalBlank && (!employeeBlank || mark == kNationalStep.kindMark);
        if (national) {
            placeOfKind(context, window, nationalBox, kNationalStep, file, mark);
        } else {
            placeOfKind(context, window, employeeBox, kEmployeeStep, file, mark);
        }
    }
}

void StoredResults::clear() {
    gstMsg.clear();
    gstFile1.clear();
    gstFile2.clear();
}

void StoredResults::store(const ClaimsResult& result) {
    if (result.outcome.isRefusal()) return;
    gstMsg = result.outcome.message();
    (result.kind == ClaimsKind::National ? gstFile2 : gstFile1) = result.fileName;
}

std::vector<std::u16string> StoredResults::notMade() const {
    std::vector<std::u16string> lines;
    if (gstFile1.empty()) lines.emplace_back(msg::kEmployeeFileNotMade);
    if (gstFile2.empty()) lines.emplace_back(msg::kNationalFileNotMade);
    return lines;
}

AnonymisationChecks::AnonymisationChecks(const AppContext& context, QWidget* window, AnonymisationProfile profile)
    : checks_(context, window), profile_(profile) {}

RewriteObserver* AnonymisationChecks::watch() { return &observed_.emplace(profile_); }

void AnonymisationChecks::add(const std::filesystem::path& input, const ClaimsResult& written) {
    checks_.add(written.fileName, [&] { return observed_->check(input, written.outcome.files().back()); });
}

SubmissionChecks::SubmissionChecks(const AppContext& context, QWidget* window)
    : checks_(context, window, msg::kSubmissionCheckFailed, summarizeSubmissionChecks) {}

RewriteObserver* SubmissionChecks::watch() { return &removal_.emplace(); }

void SubmissionChecks::add(const std::filesystem::path&, const ClaimsResult& written) {
    checks_.add([&] {
        const std::u16string kind = written.kind == ClaimsKind::National ? u"国保" : u"社保";
        return CheckedSubmission{kind, written.fileName, checkSubmission(written.outcome.files().back(), *removal_)};
    });
}

void runOnBothFiles(AppContext& context, QWidget* window, const std::u16string& file1, const std::u16string& file2,
                    StoredResults results, const ClaimsTool& tool, WrittenFilesCheck* check) {
    results.clear();
    std::vector<std::u16string> runWarnings;
    for (const std::u16string* file : {&file1, &file2}) {
        runGuarded(context, window, [&] {
            RewriteObserver* observer = check ? check->watch() : nullptr;
            const ClaimsResult result = whileBusy([&] { return tool(*file, observer); });
            if (result.outcome.isRefusal()) {
                context.dialogs->warning(window, qs(result.outcome.message()));
                return;
            }
            results.store(result);
            runWarnings.insert(runWarnings.end(), result.outcome.warnings().begin(), result.outcome.warnings().end());
            if (check) check->add(toPath(*file), result);
        });
    }
    std::vector<std::u16string> warnings = results.notMade();
    warnings.insert(warnings.end(), runWarnings.begin(), runWarnings.end());
    TfrmMsg::DspSet(context, window, results.gstMsg, results.gstFile1, results.gstFile2,
                    check ? check->summary() : std::nullopt, warnings);
}

}  // namespace vask::claims
