// Makes the screenshots of the user manual: shows each window with example content and
// saves it as a PNG. Run it under an X server (tools/make-manual-screenshots.sh uses
// xvfb-run) so that the windows render as a user sees them.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/key_window.h"
#include "app/main_window.h"
#include "app/option_window.h"
#include "app/syosai_window.h"
#include "core/messages.h"
#include "ff1/ff1_link_window.h"
#include "formone/convert2_window.h"
#include "formone/convert_window.h"
#include "gui/app_context.h"
#include "gui/msg_window.h"
#include "gui/qt_text.h"
#include "gui/save_path_window.h"
#include "gui/translation.h"
#include "platform/paths.h"
#include "replace/replace_window.h"

namespace {

void setEdit(QWidget* window, const char* name, const QString& text) {
    if (auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(name))) edit->setText(text);
}

// Shows the window, fills its boxes (after showing, which empties some of them) and saves
// its picture.
bool save(QWidget* window, const QDir& folder, const char* name,
          std::initializer_list<std::pair<const char*, QString>> boxes = {}) {
    window->show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    for (const auto& [box, text] : boxes) setEdit(window, box, text);
    QApplication::processEvents();
    const QString file = folder.filePath(QString::fromLatin1(name));
    const bool saved = window->grab().save(file);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(file));
    window->close();
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    vask::installJapaneseQtTexts(application, vask::executableFolder());
    if (argc != 2) {
        std::fprintf(stderr, "usage: manual_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    vask::QtDialogs dialogs;
    vask::AppContext context = vask::systemContext(dialogs);
    context.programFolder = std::filesystem::temp_directory_path() / "vask-manual-screenshots";
    // The key window shows a key made for the pictures, never the user's own.
    context.keyFolder = context.programFolder / "key";
    std::filesystem::create_directories(context.programFolder);

    bool ok = true;
    {
        vask::TfrmMain window(context);
        ok &= save(&window, out, "main.png",
                   {{"Edit1", QStringLiteral("C:\\レセ電\\社保\\RECEIPTC.UKE")},
                    {"Edit2", QStringLiteral("C:\\レセ電\\国保\\RECEIPTC.UKE")}});
    }
    {
        vask::TfrmMsg window(context, nullptr, u"社保と国保の匿名化ファイルが作成されました", u"", u"");
        ok &= save(&window, out, "result.png");
    }
    {
        // The re-selection question, with Qt's buttons in Japanese.
        QMessageBox question(QMessageBox::Question, vask::kAppTitle, vask::qs(vask::msg::kChooseClaimsAgain),
                             QMessageBox::Yes | QMessageBox::No);
        ok &= save(&question, out, "question.png");
    }
    {
        vask::TfrmSyosai window(context, nullptr);
        ok &= save(&window, out, "syosai.png");
    }
    {
        vask::TfrmKey window(context, nullptr);
        ok &= save(&window, out, "key.png");
    }
    {
        vask::TfrmSavePath window(context, nullptr);
        ok &= save(&window, out, "savepath.png");
    }
    {
        vask::TfrmOption window(context, nullptr);
        ok &= save(&window, out, "option.png");
    }
    {
        vask::formone::TfrmConvert window(context, nullptr);
        ok &= save(&window, out, "convert.png", {{"Edit1", QStringLiteral("C:\\様式1\\FF1_202404.txt")}});
    }
    {
        vask::formone::TfrmConvert2 window(context, nullptr);
        ok &= save(&window, out, "convert2.png", {{"Edit1", QStringLiteral("C:\\様式1\\FF1_202404.txt")}});
    }
    {
        vask::ff1::TfrmFF1MergeVCL2 window(context, nullptr);
        ok &= save(&window, out, "ff1.png", {{"Edit3", QStringLiteral("202404")}});
    }
    {
        vask::replace::TfrmReplace window(context, nullptr);
        ok &= save(&window, out, "replace.png",
                   {{"Edit1", QStringLiteral("C:\\様式1\\FF1_2024.txt")},
                    {"Edit3", QStringLiteral("C:\\様式1\\変更定義.csv")}});
    }
    std::filesystem::remove_all(context.programFolder);
    return ok ? 0 : 1;
}
