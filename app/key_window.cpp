#include "app/key_window.h"

#include <QLabel>
#include <QPushButton>

#include "core/pseudonym_key.h"
#include "gui/handlers.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "platform/paths.h"

namespace vask {
namespace {

constexpr std::u16string_view kFingerprintLabel = u"鍵の指紋：";
constexpr std::u16string_view kNoFingerprint = u"（鍵を読めません）";
constexpr std::u16string_view kAboutTheKey =
    u"カルテ番号はこの鍵で仮名になります。同じ医院のほかのPCでも同じ仮名にするには、"
    u"鍵を書き出して、そのPCで読み込んでください。鍵を持つ人は仮名から患者を特定できます。"
    u"鍵はデータと一緒に渡さないでください。";
// The start of the export's file name; the fingerprint and ".txt" follow.
constexpr std::u16string_view kExportName = u"仮名化の鍵_";
constexpr std::u16string_view kExported =
    u"鍵を書き出しました。鍵はデータとは別に運び、読み込んだら、そのファイルは消してください。";
constexpr std::u16string_view kSameKey = u"読み込んだ鍵は、いまの鍵と同じです。";
constexpr std::u16string_view kImportQuestion =
    u"鍵を読み込むと、いまの鍵でこれまでに作った仮名とは一致しなくなります。読み込みますか？"
    u"（読み込む鍵の指紋：";
constexpr std::u16string_view kImported = u"鍵を読み込みました。";
constexpr std::u16string_view kNewKeyQuestion =
    u"新しい鍵を作ると、これまでに作った仮名とは一致しなくなります。作りますか？";
constexpr std::u16string_view kNewKeyMade =
    u"新しい鍵を作りました。ほかのPCでも同じ仮名にするには、この鍵を書き出して読み込んでください。";

}  // namespace

bool TfrmKey::DspSet(AppContext& context, QWidget* parent) { return showFreshModal<TfrmKey>(context, parent); }

TfrmKey::TfrmKey(AppContext& context, QWidget* parent)
    : ToolWindow(context, parent, QStringLiteral("frmKey"), QStringLiteral("仮名化の鍵"), 348, 262) {
    BitBtn1 = makeCloseButton(this, 248, 8);
    Label1 = makeLabel(this, QStringLiteral("Label1"), qs(kFingerprintLabel), 12, 48, 324);
    Label2 = makeLabel(this, QStringLiteral("Label2"), qs(kAboutTheKey), 12, 72, 324);
    Label2->setWordWrap(true);
    Label2->resize(324, 72);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("鍵を書き出す…"), 12, 152, 324, 30);
    Button2 = makeButton(this, QStringLiteral("Button2"), QStringLiteral("鍵を読み込む…"), 12, 188, 324, 30);
    Button3 = makeButton(this, QStringLiteral("Button3"), QStringLiteral("新しい鍵を作る"), 12, 224, 324, 30);
    onClick(Button1, context_, this, [this] { Button1Click(); });
    onClick(Button2, context_, this, [this] { Button2Click(); });
    onClick(Button3, context_, this, [this] { Button3Click(); });
    Button1->setFocus();
    centerOnScreen(this);
}

void TfrmKey::InitSet() {
    showKey(std::nullopt);  // stays so when the key cannot be read: the error box says why
    showKey(loadOrCreateKey(context_.keyFolderOrError()));
}

void TfrmKey::showKey(const std::optional<std::string>& key) {
    shown_ = key;
    Label1->setText(qs(kFingerprintLabel) + qs(key ? keyFingerprint(*key) : std::u16string(kNoFingerprint)));
}

// The key of the key file, which may have changed since the window showed it.
void TfrmKey::Button1Click() {
    const std::string key = loadOrCreateKey(context_.keyFolderOrError());
    showKey(key);
    const auto file = context_.dialogs->saveFile(this, qs(std::u16string(kExportName) + keyFingerprint(key) + u".txt"));
    if (!file) return;
    writeKeyTo(toPath(u16(*file)), key);
    context_.dialogs->information(this, qs(kExported));
}

// The file is read before the question, so that a file without a key changes nothing and
// asks nothing; a key file that cannot be read is replaced by the import.
void TfrmKey::Button2Click() {
    const std::filesystem::path& folder = context_.keyFolderOrError();
    const auto file = context_.dialogs->openFile(this, QString());
    if (!file) return;
    const std::string key = readKeyFrom(toPath(u16(*file)));
    if (key == shown_) {
        context_.dialogs->information(this, qs(kSameKey));
        return;
    }
    const QString question = qs(kImportQuestion) + qs(keyFingerprint(key)) + QStringLiteral("）");
    if (!context_.dialogs->confirm(this, question, DefaultAnswer::No)) return;
    importKey(key, folder);
    showKey(key);
    context_.dialogs->information(this, qs(kImported));
}

void TfrmKey::Button3Click() {
    const std::filesystem::path& folder = context_.keyFolderOrError();
    if (!context_.dialogs->confirm(this, qs(kNewKeyQuestion), DefaultAnswer::No)) return;
    showKey(makeNewKey(folder));
    context_.dialogs->information(this, qs(kNewKeyMade));
}

}  // namespace vask
