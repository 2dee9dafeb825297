// What the main window's claims buttons do: choosing the two claims files, and running a
// tool on both (each under the busy cursor), then showing the result window.
#pragma once

#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "claims/anonymisation_check.h"
#include "claims/claims_file.h"
#include "claims/submission_check.h"
#include "core/anonymisation_report.h"
#include "gui/app_context.h"
#include "gui/result_checks.h"

class QLineEdit;
class QWidget;

namespace vask::claims {

// The main window's stored results, shown by the result window.
struct StoredResults {
    std::u16string& gstMsg;
    std::u16string& gstFile1;
    std::u16string& gstFile2;

    void clear();
    // A written file sets the message and the file name of its kind, leaving the other
    // name alone; a refusal changes nothing.
    void store(const ClaimsResult& result);
    // The result window's warning for each kind of which no file is named.
    std::vector<std::u16string> notMade() const;
};

// "ファイル選択": with both boxes filled, asks whether to choose anew; otherwise asks for
// the employee-insurance file (into `employeeBox`) and then the national-insurance file
// (into `nationalBox`), each only when its box is blank, and checks each file's kind.
void selectClaimsFiles(AppContext& context, QWidget* window, QLineEdit& employeeBox, QLineEdit& nationalBox);

// Claims files dropped onto the main window (or several at once onto one of its boxes),
// each taken as if chosen in the file dialog.
// With both boxes filled, first asks whether to choose anew, as "ファイル選択" does. Then
// each file, in order, goes to the blank box of its kind: "1" into `employeeBox`, "2" into
// `nationalBox`. A file of neither kind, or of a kind whose box is already filled, gets the
// warning of the first blank box ("社保…" while `employeeBox` is blank, else "国保…").
// Files left over once both boxes are filled are passed over. An unreadable file raises
// an error that ends the drop; boxes filled before it keep their paths.
void dropClaimsFiles(AppContext& context, QWidget* window, QLineEdit& employeeBox, QLineEdit& nationalBox,
                     const QStringList& files);

// The checks of the files one press wrote, each against the claims file it was made from
// (each under the busy cursor; one that cannot run is shown in the error box), and the
// result window's line of what they found. A check that learns about the input while the
// tool reads it gives the observer for the next run from `watch`.
class WrittenFilesCheck {
public:
    virtual ~WrittenFilesCheck() = default;
    virtual RewriteObserver* watch() { return nullptr; }
    virtual void add(const std::filesystem::path& input, const ClaimsResult& written) = 0;
    virtual std::optional<CheckSummary> summary() const = 0;
};

// The anonymisation check (anonymisation_check.h) of each anonymised file, under the
// profile the files were anonymised by, told the original by the anonymiser's own read.
class AnonymisationChecks : public WrittenFilesCheck {
public:
    AnonymisationChecks(const AppContext& context, QWidget* window,
                        AnonymisationProfile profile = AnonymisationProfile::Written);
    RewriteObserver* watch() override;
    void add(const std::filesystem::path& input, const ClaimsResult& written) override;
    std::optional<CheckSummary> summary() const override { return checks_.summary(); }

private:
    ResultChecks checks_;
    AnonymisationProfile profile_;
    std::optional<ClaimsAnonymisationCheck> observed_;
};

// The claims check (submission_check.h) of each file written for submission, told against
// what the removal saw of its input while it wrote.
class SubmissionChecks : public WrittenFilesCheck {
public:
    SubmissionChecks(const AppContext& context, QWidget* window);
    RewriteObserver* watch() override;
    void add(const std::filesystem::path& input, const ClaimsResult& written) override;
    std::optional<CheckSummary> summary() const override { return checks_.summary(); }

private:
    ResultChecksOf<CheckedSubmission> checks_;
    std::optional<RemovalFindings> removal_;
};

// Empties `results`, then runs `tool` on `file1`, then on `file2`, each on its own: a
// refusal shows its warning, an error shows the general error box, and the next file is
// still processed. A written file updates `results` and, with `check`, is checked against
// its input. Then the result window shows `results`, the checks' outcome, a warning for
// each kind of file that the press did not make, and the runs' own warnings.
void runOnBothFiles(AppContext& context, QWidget* window, const std::u16string& file1, const std::u16string& file2,
                    StoredResults results, const ClaimsTool& tool, WrittenFilesCheck* check = nullptr);

}  // namespace vask::claims
