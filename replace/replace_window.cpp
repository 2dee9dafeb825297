#include "replace/replace_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/messages.h"
#include "core/textfile.h"
#include "gui/busy_cursor.h"
#include "gui/file_drop.h"
#include "gui/handlers.h"
#include "gui/msg_window.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "platform/paths.h"
#include "replace/change_definitions.h"
#include "replace/record_replacement.h"

namespace vask::replace {
namespace {

constexpr int kClientWidth = 348;
constexpr int kClientHeight = 228;
constexpr int kMargin = 12;
constexpr int kRowWidth = kClientWidth - 2 * kMargin;

}  // namespace

bool TfrmReplace::DspSet(AppContext& context, QWidget* parent) { return showFreshModal<TfrmReplace>(context, parent); }

TfrmReplace::TfrmReplace(AppContext& context, QWidget* parent)
    : ToolWindow(context, parent, QStringLiteral("frmReplace"), QStringLiteral("リプレース"), kClientWidth,
                 kClientHeight) {
    createControls();
    onClick(Button2, context_, this, [this] { Button2Click(); });
    onToolRun(Button1, context_, this, [this] { Button1Click(); });
    Button1->setDefault(true);  // Enter in a path box runs the replacement
    centerOnScreen(this);
}

void TfrmReplace::createControls() {
    BitBtn1 = makeCloseButton(this, kClientWidth - kMargin - 88, 8);
    Button2 =
        makeButton(this, QStringLiteral("Button2"), QStringLiteral("変換前ファイル選択"), kMargin, 44, kRowWidth, 32);
    Label2 = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("変換前ファイル："), kMargin, 86, kRowWidth);
    Edit1 = makeEdit(this, QStringLiteral("Edit1"), kMargin, 106, kRowWidth);
    Label1 = makeLabel(this, QStringLiteral("Label1"), QStringLiteral("変更定義ファイル："), kMargin, 138, kRowWidth);
    Edit3 = makeEdit(this, QStringLiteral("Edit3"), kMargin, 158, kRowWidth);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("変換実行"), kMargin, 192, kRowWidth, 30);
    acceptPathDrop(Edit1);
    acceptPathDrop(Edit3);
    Button2->setFocus();
}

void TfrmReplace::InitSet() {
    Edit1->clear();
    Edit3->clear();
}

// A cancelled dialog ends the selection quietly: neither box changes, and after the data
// file's dialog no definition file is asked for.
void TfrmReplace::Button2Click() {
    if (!pickFile(qs(msg::kChooseInputFile), qs(msg::kNotFormOneFile), Edit1)) return;
    pickFile(qs(msg::kChooseDefinitionFile), qs(msg::kNotDefinitionFile), Edit3);
}

// One pick with the shared dialog, which starts at the file picked last in either step.
// A picked file without any line is refused with `refusal`. False when cancelled.
bool TfrmReplace::pickFile(const QString& prompt, const QString& refusal, QLineEdit* box) {
    context_.dialogs->information(this, prompt);
    const auto chosen = context_.dialogs->openFile(this, dialogFile_);
    if (!chosen) return false;
    dialogFile_ = *chosen;
    if (hasAnyLine(toPath(u16(*chosen)), Cp932Input::ShiftJisText)) {
        box->setText(*chosen);
    } else {
        context_.dialogs->warning(this, refusal);
    }
    return true;
}

// The box texts are used as they stand, untrimmed.
void TfrmReplace::Button1Click() {
    const std::optional<Outcome> outcome = whileBusy([&]() -> std::optional<Outcome> {
        const auto definitions = CsvSet(u16(Edit3->text()));
        if (!definitions) return std::nullopt;
        return Cnv(u16(Edit1->text()), *definitions, context_.programFolder);
    });
    if (!outcome) {
        context_.dialogs->warning(this, qs(msg::kNoDefinitionFile));
        return;
    }
    showToolOutcome(context_, this, *outcome);
}

}  // namespace vask::replace
