// The whole program as a clinic clerk uses it in a month: from the main window, every
// window is opened through its buttons and every tool runs once on generated files, with
// scripted dialogs; the results must arrive in the (temporary) Downloads folder.
#include <gtest/gtest.h>

#include <QComboBox>

#include <QLineEdit>
#include <algorithm>

#include "../gui/gui_test_support.h"
#include "app/main_window.h"

namespace vask::test {
namespace {

using Kind = ScriptedDialogs::Kind;

// A form-1 record of 141 tab-separated fields with the given values.
std::u16string formOneRecord(std::initializer_list<std::pair<int, std::u16string>> values) {
    std::vector<std::u16string> fields(141);
    for (const auto& [position, value] : values) fields[static_cast<size_t>(position)] = value;
    std::u16string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? u"\t" : u"") + fields[i];
    return line;
}

// Opens the window that `button` of `window` shows and runs `inside` in it.
void openFrom(QWidget* window, const char* button, std::function<void(QWidget*)> inside) {
    inModal([window, button] { click(window, button); }, std::move(inside));
}

// Presses a tool's run button and then "ダウンロード" in the result window it opens.
void runAndDownload(QWidget* window, const char* runButton) {
    whenModal([](QWidget* result) {
        EXPECT_EQ(result->windowTitle(), QStringLiteral("確認"));
        click(result, "Button1");
    });
    click(window, runButton);
}

class WholeProgram : public GuiTest {
protected:
    WholeProgram() {
        writeBytes(inputs / "shaho.UKE",
                   claimsBytes({u"IR,1,13,1,0123999,,本院,50611,00,03-1234-5678",
                                u"RE,1,1112,50611,山田　太郎,1,3001011,,,,,,,1001-01", u"SJ,free text"}));
        writeBytes(inputs / "kokuho.UKE", claimsBytes({u"IR,2,13,1,0123999,,本院,50611,00,03-1234-5678",
                                                       u"RE,2,1112,50611,鈴木　花子,1,3001011,,,,,,,2002*0"}));
        writeBytes(inputs / "FF1_202404.txt",
                   sjisLines({formOneRecord({{0, u"カルテ番号"}}),
                              formOneRecord({{0, u"1001"}, {1, u"山田　太郎"}, {3, u"202404"}, {7, u"65.25"}})}));
        writeBytes(inputs / "data.txt", sjisLines({u"x\t123\ty"}));
        writeBytes(inputs / "defs.csv", sjisLines({u"123,456"}));
        std::filesystem::create_directory(inputs / "ff1");
        writeBytes(inputs / "ff1" / "G_FF1_202404.txt",
                   sjisLines({u"施設コード\tデータ識別番号\t年月\tコード\t連番\tp1\tp2\tp3\tp4\tp5",
                              u"1234567\tA01\t202404\tCPF0001\t1\t170\t65\t\t\t"}));
        writeBytes(programFolder / "siyo4.csv",
                   sjisLines({u"ヘッダー名称,コード,ペイロード番号", u"[4] 身長,CPF0001,1", u"[5] 体重,CPF0001,2"}));
        settings().write(u"SAVEFF1", qsPath(inputs / "ff1").toStdU16String());
    }
    bool downloaded(const char* name) const { return std::filesystem::exists(downloads / name); }

    TempDir inputs;
};

TEST_F(WholeProgram, EveryToolRunsFromTheMainWindowIntoDownloads) {
    TfrmMain main(context);
    main.show();

    // Claims files: selection, anonymisation, branch-number removal.
    dialogs.fileAnswers = {qsPath(inputs / "shaho.UKE"), qsPath(inputs / "kokuho.UKE")};
    click(&main, "Button3");
    EXPECT_EQ(text(&main, "Edit2"), qsPath(inputs / "kokuho.UKE"));
    runAndDownload(&main, "Button1");
    EXPECT_TRUE(downloaded("50611_1.UKE"));
    EXPECT_TRUE(downloaded("50611_2.UKE"));
    child<QComboBox>(&main, "ComboBox1")->setCurrentIndex(0);
    dialogs.confirmAnswers = {true};  // these short files are no good files for submission: save anyway
    runAndDownload(&main, "Button2");
    EXPECT_EQ(readBytes(downloads / "(50611提出_社保)RECEIPTC.uke").find("1001-01"), std::string::npos);
    EXPECT_TRUE(downloaded("(50611提出_国保)RECEIPTC.uke"));

    // Detail settings and the save destination window.
    openFrom(&main, "Button4", [](QWidget* syosai) {
        EXPECT_EQ(syosai->windowTitle(), QStringLiteral("詳細設定"));
        openFrom(syosai, "Button4",
                 [](QWidget* savePath) { EXPECT_EQ(savePath->windowTitle(), QStringLiteral("保存先選択")); });
    });

    // The option window and its four tools.
    openFrom(&main, "Button6", [&](QWidget* option) {
        EXPECT_EQ(option->windowTitle(), QStringLiteral("オプション"));
        dialogs.fileAnswers.push_back(qsPath(inputs / "FF1_202404.txt"));
        openFrom(option, "Button1", [&](QWidget* convert) {
            EXPECT_EQ(convert->windowTitle(), QStringLiteral("VELTコンバーター"));
            click(convert, "Button3");
            runAndDownload(convert, "Button1");
        });
        EXPECT_EQ(sjis(u"カルテ番号,患者氏名").compare(0, 8, readBytes(downloads / "202404_carte.csv"), 0, 8), 0);

        dialogs.fileAnswers.push_back(qsPath(inputs / "FF1_202404.txt"));
        openFrom(option, "Button3", [&](QWidget* convert2) {
            EXPECT_EQ(convert2->windowTitle(), QStringLiteral("VELTコンバーター２"));
            click(convert2, "Button3");
            runAndDownload(convert2, "Button1");
            runAndDownload(convert2, "Button5");
        });
        EXPECT_EQ(readBytes(downloads / "202404_carte.csv").rfind("[0] ", 0), 0u);
        EXPECT_NE(readBytes(downloads / "202404_carte.csv").find(",65.3,"), std::string::npos);
        EXPECT_EQ(readBytes(downloads / "FF1_202404ano.txt").find(sjis(u"山田")), std::string::npos);

        openFrom(option, "Button4", [&](QWidget* ff1) {
            EXPECT_EQ(ff1->windowTitle(), QStringLiteral("FF1連携"));
            setText(ff1, "Edit3", QStringLiteral("202404"));
            click(ff1, "Button2");
        });
        EXPECT_NE(readBytes(downloads / "202404_ff1all.csv").find("A01,,20240401,,170,65"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(inputs / "ff1" / "G_FF1_all.txt"));

        dialogs.fileAnswers.push_back(qsPath(inputs / "data.txt"));
        dialogs.fileAnswers.push_back(qsPath(inputs / "defs.csv"));
        openFrom(option, "Button2", [&](QWidget* replace) {
            EXPECT_EQ(replace->windowTitle(), QStringLiteral("リプレース"));
            click(replace, "Button2");
            runAndDownload(replace, "Button1");
        });
        EXPECT_EQ(readBytes(downloads / "dataR.txt"), "x\t456\ty\r\n");
    });

    EXPECT_TRUE(dialogs.texts(Kind::Error).empty());
    EXPECT_TRUE(dialogs.texts(Kind::Warning).empty());
    const auto informed = dialogs.texts(Kind::Information);
    EXPECT_NE(std::find(informed.begin(), informed.end(), QStringLiteral("電カル連携ファイルが作成されました")),
              informed.end());
    // Every result moved out of the program folder; the inputs are untouched.
    for (const auto& name : listFolder(programFolder.path()))
        EXPECT_TRUE(name == "user.ini" || name == "siyo4.csv") << name;
    EXPECT_NE(readBytes(inputs / "FF1_202404.txt").find(sjis(u"山田")), std::string::npos);
}

}  // namespace
}  // namespace vask::test
