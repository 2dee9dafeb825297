#include "app/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/option_window.h"
#include "app/syosai_window.h"
#include "claims/anonymise.h"
#include "claims/branch_number.h"
#include "claims/claims_actions.h"
#include "core/messages.h"
#include "core/numbers.h"
#include "core/settings_keys.h"
#include "gui/anonymisation_run.h"
#include "gui/error_box.h"
#include "gui/file_drop.h"
#include "gui/handlers.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "platform/paths.h"
#include "vask_version.h"

namespace vask {
namespace {

constexpr int kClientWidth = 348;
constexpr int kClientHeight = 412;
constexpr int kPositionMode = 1;

}  // namespace

TfrmMain::TfrmMain(AppContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("VELTサポートツール"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    createControls();
    connect(ComboBox1, &QComboBox::activated, this,
            [this] { runGuarded(context_, this, [this] { ComboBox1Change(); }); });
    onClick(Button5, context_, this, [this] { Button5Click(); });
    onClick(Button3, context_, this, [this] { Button3Click(); });
    onToolRun(Button1, context_, this, [this] { Button1Click(); });
    onToolRun(Button2, context_, this, [this] { Button2Click(); });
    onClick(Button4, context_, this, [this] { Button4Click(); });
    onClick(Button6, context_, this, [this] { Button6Click(); });
    acceptDrops();
    InitSet();            // FormCreate
    Button3->setFocus();  // not 閉じる, which a stray Space would press
    centerOnScreen(this);
}

void TfrmMain::createControls() {
    Button5 = makeButton(this, QStringLiteral("Button5"), QStringLiteral("マニュアル"), 12, 12, 110, 28);
    BitBtn1 = makeCloseButton(this, 236, 12, 100, 28);
    Button3 = makeButton(this, QStringLiteral("Button3"), QStringLiteral("ファイル選択"), 12, 54, 324, 32);
    Label2 = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("社保レセ電データ："), 12, 96, 160);
    Edit1 = makeEdit(this, QStringLiteral("Edit1"), 12, 116, 324);
    Label3 = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("国保レセ電データ："), 12, 148, 160);
    Edit2 = makeEdit(this, QStringLiteral("Edit2"), 12, 168, 324);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("レセ電データ匿名化"), 12, 204, 324, 32);
    Button2 = makeButton(this, QStringLiteral("Button2"), QStringLiteral("レセ電データ枝番除去"), 12, 244, 324, 32);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(12, 284, 324, 26);
    ComboBox1->addItems(
        {QStringLiteral("記号「-」「*」「/」より後を除去する"), QStringLiteral("指定の位置の文字以外を除去する")});
    ComboBox1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Edit4 = makeEdit(this, QStringLiteral("Edit4"), 12, 318, 56);
    Label4 = makeLabel(this, QStringLiteral("Label4"), QStringLiteral("番目から"), 74, 321, 70);
    Edit5 = makeEdit(this, QStringLiteral("Edit5"), 148, 318, 56);
    Label5 = makeLabel(this, QStringLiteral("Label5"), QStringLiteral("番目"), 210, 321, 50);
    Button4 = makeButton(this, QStringLiteral("Button4"), QStringLiteral("詳細設定"), 12, 352, 158, 30);
    Button6 = makeButton(this, QStringLiteral("Button6"), QStringLiteral("オプション"), 178, 352, 158, 30);
    Label8 = makeLabel(this, QStringLiteral("Label8"), QStringLiteral(VASK_VERSION_TEXT), 236, 390, 100);
    Label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// A file dropped onto a path box fills that box; claims files dropped anywhere else on the
// window are sorted into the boxes by their kind.
void TfrmMain::acceptDrops() {
    acceptPathDrop(Edit1);
    acceptPathDrop(Edit2);
    acceptFileDrops(this, [this](const QStringList& files) {
        runGuarded(context_, this, [&] { claims::dropClaimsFiles(context_, this, *Edit1, *Edit2, files); });
    });
}

void TfrmMain::InitSet() {
    Edit1->clear();
    Edit2->clear();
    Edit4->clear();
    Edit5->clear();
    const int mode = readInt32Or(context_.settings().read(settings::kBranchMode, u"0"), 0);
    ComboBox1->setCurrentIndex(mode == 0 || mode == 1 ? mode : -1);
    ComboBox1Change();
}

void TfrmMain::ComboBox1Change() {
    const bool positions = ComboBox1->currentIndex() == kPositionMode;
    for (QWidget* w : std::initializer_list<QWidget*>{Edit4, Edit5, Label4, Label5}) w->setVisible(positions);
}

void TfrmMain::Button3Click() { claims::selectClaimsFiles(context_, this, *Edit1, *Edit2); }

// Both files are anonymised by the profile of the setting at the press, with one set of
// pseudonyms under the pseudonymisation profile; a key that cannot be had stops the press
// before anything runs. Each anonymised file is checked against its claims file by that
// profile; the result window shows what the check found.
void TfrmMain::Button1Click() {
    AnonymisationRun run(context_);
    claims::AnonymisationChecks checks(context_, this, run.profile());
    runOnBothClaimsFiles(
        [&](std::u16string_view file, claims::RewriteObserver* observer) {
            return claims::Conv(context_.programFolder, file, run.pseudonyms(), observer);
        },
        checks);
}

// The mode and the positions are read at every run, as they stand then. Each written file
// is checked as a file for submission; the result window shows what the check found.
void TfrmMain::Button2Click() {
    claims::SubmissionChecks checks(context_, this);
    runOnBothClaimsFiles(
        [this](std::u16string_view file, claims::RewriteObserver* observer) {
            return claims::Conv2(context_.programFolder, file, claims::branchModeOfIndex(ComboBox1->currentIndex()),
                                 u16(Edit4->text()), u16(Edit5->text()), observer);
        },
        checks);
}

void TfrmMain::runOnBothClaimsFiles(const claims::ClaimsTool& tool, claims::WrittenFilesCheck& check) {
    claims::runOnBothFiles(context_, this, u16(Edit1->text()), u16(Edit2->text()), {gstMsg, gstFile1, gstFile2}, tool,
                           &check);
}

void TfrmMain::Button4Click() { TfrmSyosai::DspSet(context_, this); }

void TfrmMain::Button6Click() { TfrmOption::DspSet(context_, this); }

// A manual that no program could open is named, so that the user can open it by hand.
void TfrmMain::Button5Click() {
    const QString manual = qsPath(context_.programFolder / "manual" / "index.html");
    if (!GoToURL(manual)) context_.dialogs->warning(this, qs(msg::kManualNotOpened) + manual);
}

bool TfrmMain::GoToURL(const QString& docName) { return context_.openDocument && context_.openDocument(docName); }

void TfrmMain::closeEvent(QCloseEvent* event) {
    runGuarded(context_, this,
               [this] { context_.settings().write(settings::kBranchMode, formatInt(ComboBox1->currentIndex())); });
    event->accept();
}

}  // namespace vask
