#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "../gui/gui_test_support.h"
#include "ff1/ff1_link_window.h"
#include "ff1_test_support.h"
#include "platform/paths.h"

namespace vask::test {
namespace {

using ff1::showFF1LinkOutcome;
using ff1::TfrmFF1MergeVCL2;
using Kind = ScriptedDialogs::Kind;

// Scripted dialogs that also note the run's look when a message appears.
class WatchingDialogs : public ScriptedDialogs {
public:
    QPushButton* button = nullptr;
    std::vector<std::pair<bool, bool>> looks;  // (button enabled, busy cursor) per message

    void information(QWidget* parent, const QString& text) override {
        const QCursor* cursor = QApplication::overrideCursor();
        looks.emplace_back(button && button->isEnabled(), cursor && cursor->shape() == Qt::WaitCursor);
        ScriptedDialogs::information(parent, text);
    }
};

class FF1Window : public GuiTest {
protected:
    FF1Window() {
        context.dialogs = &watching;
        std::filesystem::copy_file(std::filesystem::path(VASK_DATA_FOLDER) / "siyo4.csv", programFolder / "siyo4.csv");
        settings().write(u"SAVEFF1", fromPath(ff1.path()));
        writeBytes(ff1 / "G_FF1_202404.txt", sjisLines({ff1Line(u"A", u"202404", u"CPF0001", payloads({u"170"}))}));
    }
    // Opens a window, lets `act` use it, and closes it again.
    void withWindow(const std::function<void(TfrmFF1MergeVCL2&)>& act) {
        TfrmFF1MergeVCL2 window(context, nullptr);
        window.show();
        watching.button = child<QPushButton>(&window, "Button2");
        act(window);
        watching.button = nullptr;
        window.close();
    }
    std::vector<QString> messages() const { return watching.texts(Kind::Information); }

    WatchingDialogs watching;
    TempDir ff1;
};

TEST_F(FF1Window, ARunBuildsIntoDownloadsWithTheButtonDisabledAndRemovesTheMergedFile) {
    writeBytes(ff1 / "G_FF1_all.txt", "left by an earlier run");
    writeBytes(ff1 / "add.csv", sjisLines({u"header", u"B,,20240401"}));
    watching.fileAnswers.push_back(qsPath(ff1 / "add.csv"));
    withWindow([&](TfrmFF1MergeVCL2& window) {
        click(&window, "Button3");
        click(&window, "Button3");  // cancelled: the chosen path stays
        EXPECT_EQ(text(&window, "Edit4"), qsPath(ff1 / "add.csv"));
        EXPECT_EQ(watching.lastStartFile, QString());
        setText(&window, "Edit3", QStringLiteral("202404"));
        click(&window, "Button2");
        EXPECT_TRUE(child<QPushButton>(&window, "Button2")->isEnabled());
    });
    EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral("電カル連携ファイルが作成されました")});
    // The button and the cursor are back before the message appears.
    EXPECT_EQ(watching.looks, (std::vector<std::pair<bool, bool>>{{true, false}}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const auto lines = linesOf(readBytes(downloads / "202404_ff1all.csv"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[1].starts_with(u"A,,20240401,,170,"));
    EXPECT_EQ(lines[2], u"B,,20240401");
    EXPECT_EQ(listFolder(ff1.path()), (std::vector<std::string>{"G_FF1_202404.txt", "add.csv"}));
}

// A year-month that is no YYYYMM and an append file that is not there are refused in an
// information box before any file is touched.
TEST_F(FF1Window, ABadYearMonthOrAMissingAppendFileOnlyPromptsAndTouchesNoFile) {
    writeBytes(ff1 / "G_FF1_all.txt", "left by an earlier run");
    const QString prompt = QStringLiteral("連携ファイル該当年月を入力してください");
    const std::pair<QString, QString> runs[] = {
        {QStringLiteral(" \t "), QString()},
        {QStringLiteral("202499"), QString()},
        {QStringLiteral("2024/4"), QString()},
        {QStringLiteral("202404"), qsPath(ff1 / "gone.csv")},
    };
    withWindow([&](TfrmFF1MergeVCL2& window) {
        for (const auto& [month, append] : runs) {
            setText(&window, "Edit3", month);
            setText(&window, "Edit4", append);
            click(&window, "Button2");
        }
    });
    EXPECT_EQ(messages(), (std::vector<QString>{prompt, prompt, prompt, QStringLiteral("ファイルがありません。")}));
    EXPECT_EQ(watching.looks, (std::vector<std::pair<bool, bool>>(4, {true, false})));
    EXPECT_EQ(readBytes(ff1 / "G_FF1_all.txt"), "left by an earlier run");
    EXPECT_TRUE(listFolder(downloads.path()).empty());
}

// The window shows the FF1 folder in use; the folder dialog (which starts there) or a folder
// dropped on it changes SAVEFF1, and the next run reads the new folder.
TEST_F(FF1Window, ShowsTheFF1FolderAndTakesAChosenOrDroppedOne) {
    TempDir chosen;
    TempDir dropped;
    writeBytes(dropped / "G_FF1_202405.txt", sjisLines({ff1Line(u"B", u"202405", u"CPF0001", payloads({u"160"}))}));
    watching.folderAnswers = {std::nullopt, qsPath(chosen.path())};
    withWindow([&](TfrmFF1MergeVCL2& window) {
        EXPECT_EQ(text(&window, "Edit5"), qsPath(ff1.path()));
        EXPECT_TRUE(child<QLineEdit>(&window, "Edit5")->isReadOnly());
        EXPECT_EQ(child<QPushButton>(&window, "Button4")->text(), QStringLiteral("FF1フォルダ選択"));
        click(&window, "Button4");  // cancelled
        EXPECT_EQ(text(&window, "Edit5"), qsPath(ff1.path()));
        click(&window, "Button4");
        EXPECT_EQ(watching.lastStartFolder, qsPath(ff1.path()));
        EXPECT_EQ(text(&window, "Edit5"), qsPath(chosen.path()));
        EXPECT_EQ(settings().read(u"SAVEFF1"), fromPath(chosen.path()));
        EXPECT_FALSE(dropFiles(&window, {dropped / "G_FF1_202405.txt"}, "Edit5"));  // a file, no folder
        EXPECT_TRUE(dropFiles(&window, {dropped.path()}, "Edit5"));
        EXPECT_EQ(text(&window, "Edit5"), qsPath(dropped.path()));
        setText(&window, "Edit3", QStringLiteral("202405"));
        click(&window, "Button2");
    });
    EXPECT_EQ(settings().read(u"SAVEFF1"), fromPath(dropped.path()));
    EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral("電カル連携ファイルが作成されました")});
    EXPECT_TRUE(linesOf(readBytes(downloads / "202405_ff1all.csv")).at(1).starts_with(u"B,,20240501,,160,"));
}

// The window has no result window: a run's warnings follow its message in a warning box.
TEST_F(FF1Window, WarningsOfARunFollowItsMessageInOneWarningBox) {
    Outcome outcome = Outcome::wrote({}, u"電カル連携ファイルが作成されました");
    showFF1LinkOutcome(watching, nullptr, outcome);
    outcome.addWarning(u"first");
    outcome.addWarning(u"second");
    showFF1LinkOutcome(watching, nullptr, outcome);
    ASSERT_EQ(watching.shown.size(), 3u);
    EXPECT_EQ(watching.shown[1].kind, Kind::Information);
    EXPECT_EQ(watching.shown[2].kind, Kind::Warning);
    EXPECT_EQ(watching.shown[2].text, QStringLiteral("first\nsecond"));
}

TEST_F(FF1Window, AFailedRunShowsTheErrorRestoresTheButtonAndRemovesTheMergedFile) {
    std::filesystem::remove(ff1 / "G_FF1_202404.txt");
    writeBytes(ff1 / "G_FF1_all.txt", "left by an earlier run");
    withWindow([&](TfrmFF1MergeVCL2& window) {
        setText(&window, "Edit3", QStringLiteral("202404"));
        click(&window, "Button2");
        EXPECT_TRUE(child<QPushButton>(&window, "Button2")->isEnabled());
    });
    EXPECT_EQ(messages(),
              std::vector<QString>{QStringLiteral("エラーが発生しました:G_FF1*.txt / G_FF1*.tsv が見つかりません：") +
                                   qsPath(ff1.path()) + QDir::separator()});
    EXPECT_EQ(watching.looks, (std::vector<std::pair<bool, bool>>{{true, false}}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(listFolder(ff1.path()).empty());
}

TEST_F(FF1Window, OpeningWritesTheDefaultFolderWhenTheSettingIsBlankAndARunUsesIt) {
    settings().write(u"SAVEFF1", u" ");
    whenModal([](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("FF1連携"));
        setText(window, "Edit3", QStringLiteral("202404"));
        click(window, "Button2");
        window->close();
    });
    EXPECT_TRUE(TfrmFF1MergeVCL2::DspSet(context, nullptr));
    EXPECT_EQ(settings().read(u"SAVEFF1"), u"C:\\HDD_QT7\\FF1");
    EXPECT_EQ(messages(), std::vector<QString>{
                              QStringLiteral("エラーが発生しました:入力フォルダが見つかりません：C:\\HDD_QT7\\FF1") +
                              QDir::separator()});
}

TEST_F(FF1Window, OpensOnTheYearMonthAndTakesADroppedAppendFile) {
    writeBytes(ff1 / "add.csv", "header\r\n");
    withWindow([&](TfrmFF1MergeVCL2& window) {
        EXPECT_EQ(window.focusWidget(), child(&window, "Edit3"));
        EXPECT_TRUE(dropFiles(&window, {ff1 / "add.csv"}, "Edit4"));
        EXPECT_EQ(text(&window, "Edit4"), qsPath(ff1 / "add.csv"));
        EXPECT_FALSE(dropFiles(&window, {ff1 / "add.csv"}, "Edit3"));
        EXPECT_TRUE(text(&window, "Edit3").isEmpty());
    });
}

// 閉じる keeps its designed place at the designed size and stays in view when the window
// is made smaller.
TEST_F(FF1Window, CloseStaysAtTheTopRightWhenTheWindowIsResized) {
    withWindow([&](TfrmFF1MergeVCL2& window) {
        auto* close = child(&window, "BitBtn1");
        EXPECT_EQ(close->geometry(), QRect(389, 8, 75, 25));
        window.resize(10, 10);
        QApplication::processEvents();
        EXPECT_TRUE(window.rect().contains(close->geometry())) << window.width() << "x" << window.height();
        window.resize(477, 211);
        QApplication::processEvents();
        EXPECT_EQ(close->geometry(), QRect(389, 8, 75, 25));
    });
}

}  // namespace
}  // namespace vask::test
