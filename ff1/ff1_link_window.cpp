#include "ff1/ff1_link_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStringList>

#include <optional>

#include "core/messages.h"
#include "core/settings_keys.h"
#include "core/text.h"
#include "ff1/ff1_link.h"
#include "gui/busy_cursor.h"
#include "gui/file_drop.h"
#include "gui/handlers.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "platform/paths.h"

namespace vask::ff1 {
namespace {

constexpr int kClientWidth = 477;
constexpr int kClientHeight = 211;
// 閉じる keeps its designed distance from the top right corner.
constexpr int kCloseWidth = 75;
constexpr int kCloseHeight = 25;
constexpr int kCloseTop = 8;
constexpr int kCloseRightMargin = 13;
constexpr char16_t kDefaultFolder[] = u"C:\\HDD_QT7\\FF1";

// The run's look, until the object goes: its button disabled and the busy cursor.
class RunningLook {
public:
    explicit RunningLook(QPushButton* button) : button_(button) { button_->setEnabled(false); }
    ~RunningLook() { button_->setEnabled(true); }
    RunningLook(const RunningLook&) = delete;
    RunningLook& operator=(const RunningLook&) = delete;

private:
    QPushButton* button_;
    BusyCursor busy_;
};

}  // namespace

bool TfrmFF1MergeVCL2::DspSet(AppContext& context, QWidget* parent) {
    return showFreshModal<TfrmFF1MergeVCL2>(context, parent);
}

TfrmFF1MergeVCL2::TfrmFF1MergeVCL2(AppContext& context, QWidget* parent)
    : ToolWindow(context, parent, QStringLiteral("frmFF1MergeVCL2"), QStringLiteral("FF1連携"), kClientWidth,
                 kClientHeight) {
    // The frame of this window is sizable; it opens at its designed client size and can
    // shrink only as far as 閉じる stays whole in view.
    setMinimumSize(kCloseWidth + 2 * kCloseRightMargin, kCloseTop + kCloseHeight + kCloseTop);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(kClientWidth, kClientHeight);
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(12);
    setFont(font);
    createControls();
    onClick(Button3, context_, this, [this] { Button3Click(); });
    onClick(Button4, context_, this, [this] { Button4Click(); });
    acceptFolderDrop(Edit5, [this](const QString& folder) { storeFF1Folder(folder); });
    // The link writes into the Downloads folder, not the program folder: no write check.
    onClick(Button2, context_, this, [this] { Button2Click(); });
    Button2->setDefault(true);  // Enter in a box runs the link
    acceptPathDrop(Edit4);
    Edit3->setFocus();
    InitSet();  // FormCreate
    centerOnScreen(this);
}

void TfrmFF1MergeVCL2::createControls() {
    Label1 = makeLabel(this, QStringLiteral("Label1"), QStringLiteral("連携ファイル該当年月："), 104, 29);
    Edit3 = makeEdit(this, QStringLiteral("Edit3"), 238, 26, 99, 23);
    Button3 = makeButton(this, QStringLiteral("Button3"), QStringLiteral("電カル連携ファイル選択"), 104, 55, 233, 25);
    Label2 = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("（省略可）"), 343, 59);
    Edit4 = makeEdit(this, QStringLiteral("Edit4"), 104, 86, 233, 23);
    Button2 = makeButton(this, QStringLiteral("Button2"), QStringLiteral("FF1連携ファイル作成"), 104, 130, 233, 25);
    // Below the run: the FF1 folder it reads, with the button that changes it beside it.
    Label3 = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("FF1フォルダ："), 16, 175);
    Edit5 = makeEdit(this, QStringLiteral("Edit5"), 104, 171, 233, 23);
    Edit5->setReadOnly(true);
    Button4 = makeButton(this, QStringLiteral("Button4"), QStringLiteral("FF1フォルダ選択"), 343, 170, 110, 25);
    BitBtn1 =
        makeCloseButton(this, kClientWidth - kCloseRightMargin - kCloseWidth, kCloseTop, kCloseWidth, kCloseHeight);
}

// 閉じる stays at the top right corner; the other controls keep their designed places.
void TfrmFF1MergeVCL2::resizeEvent(QResizeEvent* event) {
    ToolWindow::resizeEvent(event);
    if (BitBtn1) BitBtn1->move(width() - kCloseRightMargin - kCloseWidth, kCloseTop);
}

void TfrmFF1MergeVCL2::InitSet() {
    Edit3->clear();
    Edit4->clear();
    specCsvPath_ = fromPath(context_.programFolder / toPath(ff1::kSpecFileName));
}

// InitSet ran when the window was made (FormCreate); showing it only sees to the folder.
void TfrmFF1MergeVCL2::FormShow() {
    if (isBlank(context_.settings().read(settings::kFF1Folder)))
        context_.settings().write(settings::kFF1Folder, kDefaultFolder);
    showFF1Folder();
}

void TfrmFF1MergeVCL2::showFF1Folder() { Edit5->setText(qs(context_.settings().read(settings::kFF1Folder))); }

void TfrmFF1MergeVCL2::storeFF1Folder(const QString& folder) {
    context_.settings().write(settings::kFF1Folder, u16(folder));
    showFF1Folder();
}

// The folder dialog starts at the folder in use; a cancel changes nothing.
void TfrmFF1MergeVCL2::Button4Click() {
    const QString current = qs(context_.settings().read(settings::kFF1Folder));
    if (const auto folder = context_.dialogs->chooseFolder(this, qs(msg::kFF1FolderPrompt), current)) {
        storeFF1Folder(*folder);
    }
}

void TfrmFF1MergeVCL2::Button3Click() {
    const auto file = context_.dialogs->openFile(this, QString());
    if (file) Edit4->setText(*file);
}

void TfrmFF1MergeVCL2::Button2Click() {
    ff1::FF1LinkRequest request;
    request.targetYearMonth = u16(Edit3->text());
    request.ff1Folder = context_.settings().read(settings::kFF1Folder);
    showFF1Folder();  // the folder this run reads, also when user.ini changed meanwhile
    request.outputFolder = ff1::withTrailingSeparator(fromPath(context_.downloadsFolder()));
    request.specCsv = specCsvPath_;
    request.appendCsv = u16(Edit4->text());
    // From the start of the merge the button is disabled and the busy cursor shown; both
    // are back before the message appears.
    std::optional<RunningLook> running;
    const Outcome outcome = ff1::runFF1Link(request, [&] { running.emplace(Button2); });
    running.reset();
    showFF1LinkOutcome(*context_.dialogs, this, outcome);
}

void showFF1LinkOutcome(Dialogs& dialogs, QWidget* parent, const Outcome& outcome) {
    dialogs.information(parent, qs(outcome.message()));
    if (outcome.warnings().empty()) return;
    QStringList lines;
    for (const auto& warning : outcome.warnings()) lines.append(qs(warning));
    dialogs.warning(parent, lines.join(QLatin1Char('\n')));
}

}  // namespace vask::ff1
