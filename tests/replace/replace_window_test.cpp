#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "../gui/gui_test_support.h"
#include "core/messages.h"
#include "gui/qt_text.h"
#include "platform/errors.h"
#include "replace/replace_window.h"

namespace vask::test {
namespace {

using replace::TfrmReplace;
using Kind = ScriptedDialogs::Kind;

const QString kPickInput = QStringLiteral("変換前ファイルを選択します");
const QString kPickDefinitions = QStringLiteral("変換定義ファイルファイルを選択します");
const QString kNotFF = QStringLiteral("正しいFFファイルではありません。");
const QString kNotDefinitions = QStringLiteral("変換定義ファイルではありません。");

class ReplaceWindow : public GuiTest {
protected:
    ReplaceWindow() {
        writeBytes(data / "FF1_2024.txt", "H\r\nA\t123\t123\r\n");
        writeBytes(data / "defs.csv", "123,456\r\n");
        writeBytes(data / "empty.txt", "");
    }
    QString file(const char* name) const { return qsPath(data / name); }
    // Opens the window, runs `steps` in it, closes it.
    template <typename F>
    void withWindow(F steps) {
        whenModal([&](QWidget* window) {
            steps(window);
            window->close();
        });
        TfrmReplace::DspSet(context, nullptr);
    }
    void answerFiles(std::initializer_list<std::optional<QString>> answers) {
        dialogs.fileAnswers.assign(answers.begin(), answers.end());
    }
    TempDir data;
};

TEST_F(ReplaceWindow, ControlsAndCaptions) {
    withWindow([&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("リプレース"));
        EXPECT_EQ(window->size(), QSize(348, 228));
        const std::pair<const char*, QString> buttons[] = {{"BitBtn1", QStringLiteral("閉じる(&C)")},
                                                           {"Button2", QStringLiteral("変換前ファイル選択")},
                                                           {"Button1", QStringLiteral("変換実行")}};
        for (const auto& [name, caption] : buttons) EXPECT_EQ(child<QPushButton>(window, name)->text(), caption);
        EXPECT_EQ(child<QLabel>(window, "Label2")->text(), QStringLiteral("変換前ファイル："));
        EXPECT_EQ(child<QLabel>(window, "Label1")->text(), QStringLiteral("変更定義ファイル："));
        EXPECT_TRUE(text(window, "Edit1").isEmpty());
        EXPECT_TRUE(text(window, "Edit3").isEmpty());
    });
}

TEST_F(ReplaceWindow, OpensOnTheFileChoiceAndBothBoxesTakeADroppedFile) {
    withWindow([&](QWidget* window) {
        EXPECT_EQ(window->focusWidget(), child(window, "Button2"));
        EXPECT_TRUE(dropFiles(window, {data / "FF1_2024.txt"}, "Edit1"));
        EXPECT_TRUE(dropFiles(window, {data / "defs.csv"}, "Edit3"));
        EXPECT_EQ(text(window, "Edit1"), file("FF1_2024.txt"));
        EXPECT_EQ(text(window, "Edit3"), file("defs.csv"));
    });
}

TEST_F(ReplaceWindow, PickingBothFilesFillsBothBoxesThroughOneDialog) {
    answerFiles({file("FF1_2024.txt"), file("defs.csv")});
    withWindow([&](QWidget* window) {
        click(window, "Button2");
        EXPECT_EQ(text(window, "Edit1"), file("FF1_2024.txt"));
        EXPECT_EQ(text(window, "Edit3"), file("defs.csv"));
    });
    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_EQ(dialogs.shown[1].kind, Kind::OpenFile);
    EXPECT_EQ(dialogs.shown[3].kind, Kind::OpenFile);
    EXPECT_EQ(dialogs.texts(Kind::Information), (std::vector<QString>{kPickInput, kPickDefinitions}));
    EXPECT_EQ(dialogs.lastStartFile, file("FF1_2024.txt"));  // the second pick starts at the first
}

TEST_F(ReplaceWindow, EmptyPicksWarnAndLeaveTheBoxes) {
    answerFiles({file("empty.txt"), file("empty.txt")});
    withWindow([&](QWidget* window) {
        setText(window, "Edit1", QStringLiteral("typed1"));
        setText(window, "Edit3", QStringLiteral("typed3"));
        click(window, "Button2");
        EXPECT_EQ(text(window, "Edit1"), QStringLiteral("typed1"));
        EXPECT_EQ(text(window, "Edit3"), QStringLiteral("typed3"));
    });
    EXPECT_EQ(dialogs.texts(Kind::Warning), (std::vector<QString>{kNotFF, kNotDefinitions}));
}

// A cancelled dialog ends the selection quietly and both boxes keep what they had, also
// after an earlier pick, whose file the shared dialog still names.
TEST_F(ReplaceWindow, ACancelledPickEndsTheSelectionAndLeavesTheBoxes) {
    answerFiles({file("FF1_2024.txt"), file("defs.csv"), std::nullopt, file("FF1_2024.txt"), std::nullopt});
    withWindow([&](QWidget* window) {
        click(window, "Button2");
        dialogs.shown.clear();
        click(window, "Button2");  // the data file's dialog is cancelled: no definition file asked for
        EXPECT_EQ(dialogs.texts(Kind::Information), std::vector<QString>{kPickInput});
        EXPECT_EQ(text(window, "Edit1"), file("FF1_2024.txt"));
        EXPECT_EQ(text(window, "Edit3"), file("defs.csv"));
        setText(window, "Edit3", QStringLiteral("typed3"));
        click(window, "Button2");  // the definition file's dialog is cancelled
        EXPECT_EQ(text(window, "Edit1"), file("FF1_2024.txt"));
        EXPECT_EQ(text(window, "Edit3"), QStringLiteral("typed3"));
    });
    EXPECT_TRUE(dialogs.texts(Kind::Warning).empty());
}

TEST_F(ReplaceWindow, RunShowsTheResultWindowWhoseButtonDownloadsTheCopy) {
    QString message;
    withWindow([&](QWidget* window) {
        setText(window, "Edit1", file("FF1_2024.txt"));
        setText(window, "Edit3", file("defs.csv"));
        whenModal([&](QWidget* result) {
            message = child<QLabel>(result, "Label1")->text();
            click(result, "Button1");
        });
        click(window, "Button1");
    });
    EXPECT_EQ(message, QStringLiteral("FF1_2024R.txtが作成されました"));
    EXPECT_EQ(readBytes(downloads / "FF1_2024R.txt"), "H\r\nA\t456\t456\r\n");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ReplaceWindow, RunRefusalsAndErrorsOpenNoResultWindow) {
#ifndef _WIN32
    writeBytes(data / "a*b.txt", "A\t123\r\n");
#endif
    const QString noDefinitions = QStringLiteral("変更定義ファイルがファイルがありません。");
    struct Case {
        QString input;
        QString definitions;
        Kind kind;
        QString message;
    };
    const Case cases[] = {
        {file("FF1_2024.txt"), QString(), Kind::Warning, noDefinitions},
        {file("FF1_2024.txt"), QStringLiteral(" ") + file("defs.csv"), Kind::Warning, noDefinitions},  // untrimmed
#ifndef _WIN32  // Windows drops trailing blanks of a name: there it names the file itself.
        {file("FF1_2024.txt") + QStringLiteral(" "), file("defs.csv"), Kind::Warning,
         QStringLiteral("ファイルがありません。")},
#endif
        {file("empty.txt"), file("defs.csv"), Kind::Warning, kNotFF},
#ifndef _WIN32  // Windows allows no '*' in a file name, so no input can bear one.
        {file("a*b.txt"), file("defs.csv"), Kind::Error, qs(msg::errorBoxText(msg::invalidFileName(u"a*bR.txt")))},
#endif
    };
    for (const auto& c : cases) {
        dialogs.shown.clear();
        withWindow([&](QWidget* window) {
            setText(window, "Edit1", c.input);
            setText(window, "Edit3", c.definitions);
            click(window, "Button1");
        });
        ASSERT_EQ(dialogs.shown.size(), 1u) << c.input.toStdString();
        EXPECT_EQ(dialogs.shown[0].kind, c.kind);
        EXPECT_EQ(dialogs.shown[0].text, c.message);
    }
    EXPECT_TRUE(listFolder(programFolder.path()).empty());
    // A program folder that cannot take a file: the run does not start.
    writeBytes(programFolder / "installed", "a file where the folder's parent should be");
    context.programFolder = programFolder / "installed" / "vask";
    dialogs.shown.clear();
    withWindow([&](QWidget* window) {
        setText(window, "Edit1", file("FF1_2024.txt"));
        setText(window, "Edit3", file("defs.csv"));
        click(window, "Button1");
    });
    EXPECT_EQ(
        dialogs.texts(Kind::Warning),
        std::vector<QString>{QStringLiteral("プログラムフォルダに書き込めません：") + qsPath(context.programFolder)});
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

}  // namespace
}  // namespace vask::test
