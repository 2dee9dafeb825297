#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "../gui/gui_test_support.h"
#include "core/pseudonym.h"
#include "core/pseudonym_key.h"
#include "formone/convert2_window.h"
#include "formone/convert_window.h"
#include "formone/msg2_window.h"
#include "platform/utf.h"

namespace vask::test {
namespace {

using formone::TfrmConvert;
using formone::TfrmConvert2;
using formone::TfrmMsg2;
using Kind = ScriptedDialogs::Kind;

class FormOneWindows : public GuiTest {
protected:
    // A form-1 file of a header and one record of the year-month (202404 unless given).
    QString formOneFile(const char* name = "FF1_202404.txt", const std::string& month = "202404") {
        std::string record = "1001\t" + sjis(u"山田　太郎") + "\t\t" + month;
        for (int i = 4; i < 141; ++i) record += "\t";
        writeBytes(input / name, "header\r\n" + record + "\r\n");
        return qsPath(input / name);
    }
    // Presses `button` and closes the result window it opens; returns the window's message.
    QString pressForResult(QWidget* window, const char* button) {
        QString message;
        whenModal([&](QWidget* result) {
            message = child<QLabel>(result, "Label1")->text();
            result->close();
        });
        click(window, button);
        return message;
    }
    TempDir input;
};

TEST_F(FormOneWindows, TheFirstConverterChoosesAFileAndConvertsIt) {
    TfrmConvert window(context, nullptr);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("VELTコンバーター"));
    EXPECT_EQ(window.size(), QSize(348, 199));
    EXPECT_TRUE(child(&window, "Button2")->isHidden());
    EXPECT_TRUE(child(&window, "Memo1")->isHidden());

    click(&window, "Button3");  // cancelled with nothing loaded before: quietly
    EXPECT_EQ(dialogs.texts(Kind::Information), std::vector<QString>{QStringLiteral("変換前ファイルを選択します")});
    EXPECT_TRUE(dialogs.texts(Kind::Warning).empty());
    dialogs.fileAnswers.push_back(formOneFile());
    click(&window, "Button3");
    EXPECT_EQ(text(&window, "Edit1"), qsPath(input / "FF1_202404.txt"));
    setText(&window, "Edit1", QStringLiteral("typed"));
    click(&window, "Button3");  // cancelled: the box keeps what it had
    EXPECT_EQ(text(&window, "Edit1"), QStringLiteral("typed"));
    EXPECT_TRUE(dialogs.texts(Kind::Warning).empty());
    setText(&window, "Edit1", qsPath(input / "FF1_202404.txt"));

    EXPECT_EQ(pressForResult(&window, "Button1"), QStringLiteral("202404_carte.csvが作成されました"));
    EXPECT_EQ(listFolder(programFolder.path()), std::vector<std::string>{"202404_carte.csv"});
}

// As in a Windows dialog, Enter in the path box runs the tool (the run button is the
// window's default button), and Enter on a focused button presses it.
TEST_F(FormOneWindows, EnterRunsTheToolFromThePathBoxAndPressesTheFocusedButton) {
    TfrmConvert window(context, nullptr);
    window.show();
    setText(&window, "Edit1", formOneFile());
    QString message;
    whenModal([&](QWidget* result) {
        message = child<QLabel>(result, "Label1")->text();
        result->close();
    });
    auto* box = child<QLineEdit>(&window, "Edit1");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus();  // the window opens with the focus on the file choice
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(message, QStringLiteral("202404_carte.csvが作成されました"));
    auto* choose = child<QPushButton>(&window, "Button3");
    choose->setFocus();
    QTest::keyClick(choose, Qt::Key_Return);
    EXPECT_EQ(dialogs.texts(Kind::Information), std::vector<QString>{QStringLiteral("変換前ファイルを選択します")});
}

// Both converters open with the focus on choosing the input, and take a dropped input file.
TEST_F(FormOneWindows, ConvertersFocusTheirFileChoiceAndTakeADroppedFile) {
    formOneFile();
    auto check = [&](QWidget& window) {
        EXPECT_EQ(focusOnShow(&window), child(&window, "Button3")) << window.objectName().toStdString();
        EXPECT_TRUE(dropFiles(&window, {input / "FF1_202404.txt"}, "Edit1"));
        EXPECT_EQ(text(&window, "Edit1"), qsPath(input / "FF1_202404.txt"));
        window.close();
    };
    TfrmConvert first(context, nullptr);
    check(first);
    TfrmConvert2 second(context, nullptr);
    check(second);
}

TEST_F(FormOneWindows, TheFirstConverterWarnsWithoutOpeningTheResultWindow) {
    writeBytes(input / "empty.txt", "");
    writeBytes(input / "header.txt", "header only\r\n");  // no record line to convert
    TfrmConvert window(context, nullptr);
    window.show();
    for (const char* name : {"none.txt", "empty.txt", "header.txt"}) {
        setText(&window, "Edit1", qsPath(input / name));
        click(&window, "Button1");
    }
    const QString notFormOne = QStringLiteral("正しいFFファイルではありません。");
    EXPECT_EQ(dialogs.texts(Kind::Warning),
              (std::vector<QString>{QStringLiteral("ファイルがありません。"), notFormOne, notFormOne}));
    EXPECT_TRUE(listFolder(programFolder.path()).empty());
}

TEST_F(FormOneWindows, TheSecondConverterTakesTheYearMonthWhenTheFileIsChosen) {
    TfrmConvert2 window(context, nullptr);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("VELTコンバーター２"));
    EXPECT_EQ(window.size(), QSize(348, 239));
    for (const char* hidden : {"Edit2", "Button2", "Button6", "Memo1"}) EXPECT_TRUE(child(&window, hidden)->isHidden());

    writeBytes(input / "header.txt", "header only\r\n");
    dialogs.fileAnswers.push_back(qsPath(input / "header.txt"));
    click(&window, "Button3");  // the path is set, then the year-month cannot be taken
    EXPECT_EQ(text(&window, "Edit1"), qsPath(input / "header.txt"));
    EXPECT_EQ(dialogs.texts(Kind::Error),
              std::vector<QString>{QStringLiteral("リストのインデックスが範囲を超えています (1)")});

    dialogs.fileAnswers.push_back(formOneFile());
    click(&window, "Button3");
    settings().write(u"Spec", u" 2 ");
    writeBytes(programFolder / "movacal.csv", "header,title\r\n");
    EXPECT_EQ(pressForResult(&window, "Button1"), QStringLiteral("202404_carte.csvが作成されました"));
    EXPECT_EQ(readBytes(programFolder / "output.tsv").substr(0, 7), "title\r\n");

    std::filesystem::remove(programFolder / "movacal.csv");  // the mapping file is gone: error box, no result
    click(&window, "Button1");
    EXPECT_EQ(dialogs.texts(Kind::Error).size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(programFolder / "output.tsv"));
}

// The year-month follows the file in the path box at the run: a file typed (and run with
// Enter) or dropped there after a choice names the output by its own line 2, with the
// refusals of choosing it; cancelling a choice changes nothing.
TEST_F(FormOneWindows, TheSecondConverterTakesTheYearMonthOfTheFileInThePathBox) {
    TfrmConvert2 window(context, nullptr);
    window.show();
    const QString typed = formOneFile("typed.txt", "202405");
    setText(&window, "Edit1", typed);
    EXPECT_EQ(pressForResult(&window, "Button1"), QStringLiteral("202405_carte.csvが作成されました"));
    dialogs.fileAnswers.push_back(formOneFile());
    click(&window, "Button3");
    EXPECT_TRUE(dropFiles(&window, {input / "typed.txt"}, "Edit1"));
    EXPECT_EQ(pressForResult(&window, "Button1"), QStringLiteral("202405_carte.csvが作成されました"));
    setText(&window, "Edit1", qsPath(input / "FF1_202404.txt"));
    click(&window, "Button3");  // cancelled: quietly, the box and the year-month stay
    EXPECT_EQ(text(&window, "Edit1"), qsPath(input / "FF1_202404.txt"));
    EXPECT_EQ(pressForResult(&window, "Button1"), QStringLiteral("202404_carte.csvが作成されました"));
    EXPECT_TRUE(dialogs.texts(Kind::Warning).empty());

    writeBytes(input / "header.txt", "header only\r\n");
    writeBytes(input / "empty.txt", "");
    setText(&window, "Edit1", qsPath(input / "header.txt"));
    click(&window, "Button1");
    setText(&window, "Edit1", qsPath(input / "empty.txt"));
    click(&window, "Button1");
    EXPECT_EQ(dialogs.texts(Kind::Error),
              std::vector<QString>{QStringLiteral("リストのインデックスが範囲を超えています (1)")});
    EXPECT_EQ(dialogs.texts(Kind::Warning), std::vector<QString>{QStringLiteral("正しいFFファイルではありません。")});
    EXPECT_EQ(listFolder(programFolder.path()), (std::vector<std::string>{"202404_carte.csv", "202405_carte.csv"}));
}

TEST_F(FormOneWindows, TheSecondConverterAnonymisesItsInput) {
    TfrmConvert2 window(context, nullptr);
    window.show();
    click(&window, "Button5");
    EXPECT_EQ(dialogs.texts(Kind::Warning), std::vector<QString>{QStringLiteral("ファイルが選択されていません。")});
    setText(&window, "Edit1", formOneFile());
    EXPECT_EQ(pressForResult(&window, "Button5"), QStringLiteral("FF1_202404ano.txtが作成されました"));
    EXPECT_EQ(listFolder(programFolder.path()), std::vector<std::string>{"FF1_202404ano.txt"});
}

// Under ANONPROFILE "1" the chart number becomes the pseudonym under the user's key (made
// in the user's folder on first use), and the result window's line names the profile; a
// key file that holds no key stops the press before anything is written.
TEST_F(FormOneWindows, TheSecondConverterAnonymisesByTheProfileOfTheSetting) {
    settings().write(u"ANONPROFILE", u"1");
    TfrmConvert2 window(context, nullptr);
    window.show();
    setText(&window, "Edit1", formOneFile());
    QString line;
    whenModal([&](QWidget* result) {
        line = child<QLabel>(result, "Label2")->text();
        result->close();
    });
    click(&window, "Button5");
    EXPECT_TRUE(line.startsWith(QStringLiteral("確認（仮名加工）："))) << line.toStdString();
    ChartPseudonyms pseudonyms(readKeyFrom(pseudonymKeyFile(context.keyFolder)));
    const std::string written = readBytes(programFolder / "FF1_202404ano.txt");
    EXPECT_TRUE(written.starts_with("header\r\n" + utf16ToUtf8(pseudonyms.pseudonymOf(u"1001")) + "\t\t\t202404\t"));

    std::filesystem::remove(programFolder / "FF1_202404ano.txt");
    writeBytes(pseudonymKeyFile(context.keyFolder), "no key");
    click(&window, "Button5");
    ASSERT_EQ(dialogs.texts(Kind::Error).size(), 1u);
    EXPECT_TRUE(dialogs.texts(Kind::Error)[0].contains(QStringLiteral("pseudonym-key.txt")));
    EXPECT_EQ(listFolder(programFolder.path()), std::vector<std::string>{"user.ini"});
}

TEST_F(FormOneWindows, TheCorrespondenceChoiceAsksFirstAndWarnsOnNoLine) {
    TfrmConvert2 window(context, nullptr);
    window.show();
    whenModal([](QWidget* prompt) { click(prompt, "Button1"); });  // 戻る: no dialog follows
    click(&window, "Button4");
    EXPECT_TRUE(dialogs.texts(Kind::OpenFile).empty());

    writeBytes(input / "ids.csv", "1001,A-1\r\n");
    writeBytes(input / "empty.csv", "");
    dialogs.fileAnswers = {qsPath(input / "ids.csv"), std::nullopt, qsPath(input / "empty.csv")};
    for (int pick = 0; pick < 3; ++pick) {
        whenModal([](QWidget* prompt) { click(prompt, "Button2"); });  // OK, then the dialog
        click(&window, "Button4");
    }
    // The cancelled dialog ends the choice quietly; the empty file warns; the box keeps
    // the file chosen first.
    EXPECT_EQ(dialogs.texts(Kind::Warning), std::vector<QString>{QStringLiteral("対応ファイルが正しくありません")});
    EXPECT_EQ(text(&window, "Edit2"), qsPath(input / "ids.csv"));
}

TEST_F(FormOneWindows, ThePromptAnswersWhetherOkWasPressed) {
    const std::pair<const char*, bool> answers[] = {{"Button2", true}, {"Button1", false}, {nullptr, false}};
    for (const auto& [button, expected] : answers) {
        QString shown;
        whenModal([&, button = button](QWidget* prompt) {
            EXPECT_EQ(prompt->windowTitle(), QStringLiteral("情報"));
            EXPECT_EQ(prompt->size(), QSize(348, 96));
            EXPECT_EQ(child<QPushButton>(prompt, "Button1")->text(), QStringLiteral("戻る"));
            shown = child<QLabel>(prompt, "Label1")->text();
            button ? click(prompt, button) : void(prompt->close());
        });
        EXPECT_EQ(TfrmMsg2::DspSet(context, nullptr, u"message"), expected);
        EXPECT_EQ(shown, QStringLiteral("message"));
    }
}

// The desktop program runs under the user's locale, which may write decimals with a comma;
// the weight 65.54 of a form-1 file is 65.5 in both converters all the same.
TEST_F(FormOneWindows, ConvertersReadNumbersAsTheFilesWriteThemUnderAnyLocale) {
    std::string record = "1001\t\t\t202404\t\t\t\t65.54";
    for (int i = 8; i < 141; ++i) record += i == 22 ? "\t6" : "\t";
    writeBytes(input / "FF1_202404.txt", "header\r\n" + record + "\r\n");
    const QString file = qsPath(input / "FF1_202404.txt");
    ASSERT_TRUE(useCommaDecimalLocale()) << "no comma-decimal locale could be made";
    TfrmConvert first(context, nullptr);
    setText(&first, "Edit1", file);
    pressForResult(&first, "Button1");
    const std::string firstRow = readBytes(programFolder / "202404_carte.csv");
    TfrmConvert2 second(context, nullptr);
    dialogs.fileAnswers.push_back(file);
    click(&second, "Button3");
    pressForResult(&second, "Button1");
    const std::string secondRow = readBytes(programFolder / "202404_carte.csv");
    useCLocale();
    EXPECT_TRUE(firstRow.ends_with("\r\n1001,,20240401,,,65.5,,,6.0,,\r\n")) << firstRow;
    std::string columns[89];
    columns[0] = "1001";
    columns[2] = "20240401";
    columns[5] = "65.5";
    columns[8] = "6.0";
    std::string expected = "\r\n" + columns[0];
    for (int c = 1; c < 89; ++c) expected += "," + columns[c];
    EXPECT_TRUE(secondRow.ends_with(expected + "\r\n")) << secondRow;
}

TEST_F(FormOneWindows, ConvertersDoNotStartWhenTheProgramFolderCannotBeWritten) {
    const QString file = formOneFile();
    writeBytes(programFolder / "installed", "a file where the folder's parent should be");
    context.programFolder = programFolder / "installed" / "vask";
    const QString warning = QStringLiteral("プログラムフォルダに書き込めません：") + qsPath(context.programFolder);
    TfrmConvert first(context, nullptr);
    TfrmConvert2 second(context, nullptr);
    setText(&first, "Edit1", file);
    setText(&second, "Edit1", file);
    const std::pair<QWidget*, const char*> runs[] = {
        {&first, "Button1"},  {&first, "Button2"},  {&second, "Button1"},
        {&second, "Button2"}, {&second, "Button5"}, {&second, "Button6"},
    };
    for (const auto& [window, button] : runs) {
        dialogs.shown.clear();
        click(window, button);
        EXPECT_EQ(dialogs.texts(Kind::Warning), std::vector<QString>{warning}) << button;
        EXPECT_TRUE(dialogs.texts(Kind::Error).empty()) << button;
    }
    EXPECT_EQ(listFolder(input.path()), std::vector<std::string>{"FF1_202404.txt"});
}

}  // namespace
}  // namespace vask::test
