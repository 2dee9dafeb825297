#include "formone/convert2_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdio>

#include "core/messages.h"
#include "core/settings_keys.h"
#include "core/textfile.h"
#include "formone/anonymiser.h"
#include "formone/anonymiser_check.h"
#include "formone/first_converter.h"
#include "formone/form1_file.h"
#include "formone/form1_windows.h"
#include "formone/mapping.h"
#include "formone/msg2_window.h"
#include "formone/second_converter.h"
#include "gui/anonymisation_run.h"
#include "gui/busy_cursor.h"
#include "gui/file_drop.h"
#include "gui/handlers.h"
#include "gui/msg_window.h"
#include "gui/qt_text.h"
#include "gui/result_checks.h"
#include "gui/widgets.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask::formone {

bool TfrmConvert2::DspSet(AppContext& context, QWidget* parent) {
    return showFreshModal<TfrmConvert2>(context, parent);
}

TfrmConvert2::TfrmConvert2(AppContext& context, QWidget* parent)
    : ToolWindow(context, parent, QStringLiteral("frmConvert2"), QStringLiteral("VELTコンバーター２"), 348, 239) {
    createControls();
    onClick(Button4, context_, this, [this] { Button4Click(); });
    onClick(Button3, context_, this, [this] { Button3Click(); });
    onToolRun(Button2, context_, this, [this] { Button2Click(); });
    onToolRun(Button1, context_, this, [this] { Button1Click(); });
    Button1->setDefault(true);  // Enter in the path box runs the converter
    onToolRun(Button6, context_, this, [this] { Button6Click(); });
    onToolRun(Button5, context_, this, [this] { Button5Click(); });
    centerOnScreen(this);
}

void TfrmConvert2::createControls() {
    BitBtn1 = makeCloseButton(this, 248, 8);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(12, 10, 220, 24);
    Edit2->hide();
    Button4 =
        makeButton(this, QStringLiteral("Button4"), QStringLiteral("カルテ番号・データ識別番号対応"), 12, 44, 324, 30);
    Button3 = makeButton(this, QStringLiteral("Button3"), QStringLiteral("変換前ファイル選択"), 12, 80, 240, 30);
    Button2 = makeButton(this, QStringLiteral("Button2"), QStringLiteral("CSV"), 260, 80, 76, 30);
    Button2->hide();
    Edit1 = formone::makePathRow(this, 116, Label1);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("電カル連携ファイル作成"), 12, 168, 240, 30);
    Button6 = makeButton(this, QStringLiteral("Button6"), QStringLiteral("movacal"), 260, 168, 76, 30);
    Button6->hide();
    Button5 = makeButton(this, QStringLiteral("Button5"), QStringLiteral("変換前ファイル匿名化"), 12, 204, 324, 28);
    Memo1 = formone::makeUnusedMemo(this, 236);
    acceptPathDrop(Edit1);
    Button3->setFocus();
}

void TfrmConvert2::InitSet() {
    Edit1->clear();
    Memo1->clear();
    FList = {};
}

// A cancelled prompt or dialog ends the choice quietly; the hidden box keeps its path.
void TfrmConvert2::Button4Click() {
    if (!TfrmMsg2::DspSet(context_, this, msg::kCorrespondencePrompt)) return;
    const auto chosen = context_.dialogs->openFile(this, QString());
    if (!chosen) return;
    if (!hasAnyLine(toPath(u16(*chosen)), Cp932Input::ShiftJisText)) {
        context_.dialogs->warning(this, qs(msg::kBadCorrespondenceFile));
        return;
    }
    Edit2->setText(*chosen);
}

// A cancelled dialog ends the choice quietly: the path box and the year-month stay.
void TfrmConvert2::Button3Click() {
    const auto chosen = formone::askForFormOneFile(context_, this, dialogFile_);
    if (!chosen) return;
    dialogFile_ = *chosen;
    FList = {};  // a load that fails leaves no line list
    FList = formone::chooseFormOne(toPath(dialogFile_));
    if (!FList.accepted()) {
        context_.dialogs->warning(this, qs(msg::kNotFormOneFile));
        return;
    }
    Edit1->setText(qs(dialogFile_));
    mstNgt = FList.yearMonth();  // may stop here, after the path box is set
    ngtFile_ = dialogFile_;
}

// The year-month belongs to the file in the path box: a file typed or dropped there since
// the last choice gives its own, taken as choosing takes it. False when that file is
// refused (the warning is shown); its errors stop the run.
bool TfrmConvert2::takeYearMonthOfPathBox() {
    const std::u16string input = u16(Edit1->text());
    if (input == ngtFile_) return true;
    const auto yearMonth = whileBusy([&] { return formone::chosenYearMonth(toPath(input)); });
    if (!yearMonth) {
        context_.dialogs->warning(this, qs(msg::kNotFormOneFile));
        return false;
    }
    mstNgt = *yearMonth;
    ngtFile_ = input;
    return true;
}

void TfrmConvert2::Button2Click() {
    whileBusy([&] { return formone::writeDelimitedCopy(u16(Edit1->text()), context_.programFolder); });
}

void TfrmConvert2::Button1Click() {
    if (!takeYearMonthOfPathBox()) return;
    const auto mapping = formone::movacalMappingFor(context_.settings().read(settings::kSpec), context_.programFolder);
    const Outcome outcome = whileBusy(
        [&] { return formone::runSecondConverter(u16(Edit1->text()), mstNgt, context_.programFolder, mapping); });
    showToolOutcome(context_, this, outcome);
}

// Shows nothing on success; a failure's text goes to the standard output stream.
void TfrmConvert2::Button6Click() {
    const auto& folder = context_.programFolder;
    try {
        whileBusy([&] {
            return formone::ConvertTSVWithMapping(toPath(u16(Edit1->text())),
                                                  folder / toPath(formone::kIntermediateFileName),
                                                  folder / toPath(formone::kMappingFileName));
        });
    } catch (const Error& e) {
        const std::string line = "Error: " + utf16ToUtf8(e.message()) + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
}

// The copy is made by the profile of the setting at the press (a key that cannot be had
// stops the press before anything runs) and checked against its input by that profile;
// the result window shows what the check found.
void TfrmConvert2::Button5Click() {
    const std::u16string input = u16(Edit1->text());
    AnonymisationRun run(context_);
    const Outcome outcome =
        whileBusy([&] { return formone::runAnonymiser(input, context_.programFolder, run.pseudonyms()); });
    ResultChecks checks(context_, this);
    if (!outcome.isRefusal()) {
        const auto written = outcome.files().back();
        checks.add(fromPath(written.filename()),
                   [&] { return formone::checkAnonymisedFormOne(toPath(input), written, run.profile()); });
    }
    showToolOutcome(context_, this, outcome, checks.summary());
}

}  // namespace vask::formone
