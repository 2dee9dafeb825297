// The main window's claims buttons: file selection, anonymisation and branch removal.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

#include "../gui/gui_test_support.h"
#include "app/main_window.h"
#include "claims/claims_actions.h"
#include "claims_fixture.h"
#include "core/pseudonym.h"
#include "core/pseudonym_key.h"
#include "core/text_formats.h"
#include "core/textfile.h"
#include "platform/errors.h"

namespace vask::test {
namespace {

using Kind = ScriptedDialogs::Kind;

const QString kEmployeePrompt = QStringLiteral("社保のレセ電データファイルを選択します");
const QString kNationalPrompt = QStringLiteral("国保のレセ電データファイルを選択します");
const QString kNotEmployee = QStringLiteral("社保のレセ電データではありません。");
const QString kNotNational = QStringLiteral("国保のレセ電データではありません。");
const QString kMissing = QStringLiteral("ファイルがありません。");
const std::u16string kClaimTail = u",5,6,7,8,9,10,11,12,0012345-01";  // fields 5 to 13

class ClaimsButtons : public GuiTest {
protected:
    QString claimsFile(const char* name, const std::vector<std::u16string>& lines) {
        writeBytes(inputs / name, claimsBytes(lines));
        return qsPath(inputs / name);
    }
    QString employeeFile() { return claimsFile("employee.UKE", {clinicRecord(u"1"), u"RE,1,a,b,c" + kClaimTail}); }
    QString nationalFile() { return claimsFile("national.UKE", {clinicRecord(u"2"), u"RE,2,a,b,c" + kClaimTail}); }

    // Presses a claims tool button; returns the message the result window showed, after
    // pressing its button ("ダウンロード") or closing it. Its warning lines go to `warnings`.
    QString pressTool(const char* button, bool download = false) {
        QString shown = QStringLiteral("(no result window)");
        warnings.clear();
        whenModal([&](QWidget* result) {
            shown = child<QLabel>(result, "Label1")->text();
            warnings = warningLines(result);
            if (download) {
                click(result, "Button1");
            } else {
                result->close();
            }
        });
        click(&window, button);
        return shown;
    }
    std::vector<Kind> kindsShown() const {
        std::vector<Kind> kinds;
        for (const auto& s : dialogs.shown) kinds.push_back(s.kind);
        return kinds;
    }

    TempDir inputs;
    TfrmMain window{context};
    std::vector<QString> warnings;  // of the last result window
};

const QString kEmployeeNotMade = QStringLiteral("社保のファイルは作成されませんでした");
const QString kNationalNotMade = QStringLiteral("国保のファイルは作成されませんでした");

TEST_F(ClaimsButtons, SelectionAsksForTheEmployeeThenTheNationalFile) {
    dialogs.fileAnswers = {employeeFile(), nationalFile()};
    click(&window, "Button3");
    EXPECT_EQ(kindsShown(), (std::vector<Kind>{Kind::Information, Kind::OpenFile, Kind::Information, Kind::OpenFile}));
    EXPECT_EQ(dialogs.texts(Kind::Information), (std::vector<QString>{kEmployeePrompt, kNationalPrompt}));
    EXPECT_EQ(text(&window, "Edit1"), qsPath(inputs / "employee.UKE"));
    EXPECT_EQ(text(&window, "Edit2"), qsPath(inputs / "national.UKE"));
}

TEST_F(ClaimsButtons, AFileOfTheWrongKindIsRefusedAndTheNextStepStillRuns) {
    dialogs.fileAnswers = {nationalFile(), nationalFile()};
    click(&window, "Button3");
    EXPECT_EQ(dialogs.texts(Kind::Warning), std::vector<QString>{kNotEmployee});
    EXPECT_TRUE(text(&window, "Edit1").isEmpty());
    EXPECT_EQ(text(&window, "Edit2"), qsPath(inputs / "national.UKE"));
}

TEST_F(ClaimsButtons, AnEmptyFileAndAnotherExaminingBodyAreRefusedInBothSteps) {
    writeBytes(inputs / "empty.UKE", "");
    dialogs.fileAnswers = {qsPath(inputs / "empty.UKE"), claimsFile("three.UKE", {clinicRecord(u"3")})};
    click(&window, "Button3");
    EXPECT_EQ(dialogs.texts(Kind::Warning), (std::vector<QString>{kNotEmployee, kNotNational}));
    EXPECT_TRUE(text(&window, "Edit1").isEmpty());
    EXPECT_TRUE(text(&window, "Edit2").isEmpty());
}

TEST_F(ClaimsButtons, WithBothBoxesFilledTheUserIsAskedFirst) {
    setText(&window, "Edit1", QStringLiteral("old1"));
    setText(&window, "Edit2", QStringLiteral("old2"));
    click(&window, "Button3");  // answered No
    EXPECT_EQ(dialogs.texts(Kind::Confirm),
              std::vector<QString>{QStringLiteral("新しいレセ電ファイルを選択しますか？")});
    EXPECT_EQ(kindsShown(), std::vector<Kind>{Kind::Confirm});
    EXPECT_EQ(text(&window, "Edit1"), QStringLiteral("old1"));

    dialogs.shown.clear();
    dialogs.confirmAnswers = {true};
    dialogs.fileAnswers = {employeeFile()};  // the national dialog is cancelled
    click(&window, "Button3");
    EXPECT_EQ(kindsShown(),
              (std::vector<Kind>{Kind::Confirm, Kind::Information, Kind::OpenFile, Kind::Information, Kind::OpenFile}));
    EXPECT_EQ(text(&window, "Edit1"), qsPath(inputs / "employee.UKE"));
    EXPECT_TRUE(text(&window, "Edit2").isEmpty());
}

TEST_F(ClaimsButtons, ABoxHoldingOnlySpacesCountsAsEmpty) {
    setText(&window, "Edit1", QStringLiteral("kept"));
    setText(&window, "Edit2", QStringLiteral("  "));
    dialogs.fileAnswers = {nationalFile()};
    click(&window, "Button3");
    EXPECT_EQ(dialogs.texts(Kind::Information), std::vector<QString>{kNationalPrompt});
    EXPECT_EQ(text(&window, "Edit1"), QStringLiteral("kept"));
    EXPECT_EQ(text(&window, "Edit2"), qsPath(inputs / "national.UKE"));
}

TEST_F(ClaimsButtons, AnUnreadableChoiceEndsThePressWithTheErrorBox) {
    dialogs.fileAnswers = {qsPath(inputs / "gone.UKE"), nationalFile()};
    click(&window, "Button3");
    const auto errors = dialogs.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("gone.UKE")));
    EXPECT_EQ(dialogs.texts(Kind::Information), std::vector<QString>{kEmployeePrompt});
    EXPECT_TRUE(text(&window, "Edit1").isEmpty());
    EXPECT_TRUE(text(&window, "Edit2").isEmpty());
}

TEST_F(ClaimsButtons, ClaimsFilesDroppedOntoTheWindowGoIntoTheBoxesOfTheirKind) {
    nationalFile();
    employeeFile();
    EXPECT_TRUE(dropFiles(&window, {inputs / "national.UKE", inputs / "employee.UKE"}));
    EXPECT_EQ(text(&window, "Edit1"), qsPath(inputs / "employee.UKE"));
    EXPECT_EQ(text(&window, "Edit2"), qsPath(inputs / "national.UKE"));
    EXPECT_TRUE(dialogs.shown.empty());
}

// A dropped file that has no blank box of its kind gets the warning of the first blank box.
TEST_F(ClaimsButtons, ADroppedFileWithoutABlankBoxOfItsKindGetsTheFirstBlankBoxsWarning) {
    struct Case {
        const char* edit1;
        const char* edit2;
        const char* dropped;
        QString warning;
    };
    claimsFile("three.UKE", {clinicRecord(u"3")});
    employeeFile();
    nationalFile();
    const Case cases[] = {
        {"", "", "three.UKE", kNotEmployee},
        {"kept", "", "employee.UKE", kNotNational},
        {"", "kept", "national.UKE", kNotEmployee},
        {"", "  ", "three.UKE", kNotEmployee},
    };
    for (const auto& c : cases) {
        dialogs.shown.clear();
        setText(&window, "Edit1", QString::fromLatin1(c.edit1));
        setText(&window, "Edit2", QString::fromLatin1(c.edit2));
        dropFiles(&window, {inputs / c.dropped});
        EXPECT_EQ(dialogs.texts(Kind::Warning), std::vector<QString>{c.warning}) << c.dropped;
        EXPECT_EQ(text(&window, "Edit1"), QString::fromLatin1(c.edit1)) << c.dropped;
        EXPECT_EQ(text(&window, "Edit2"), QString::fromLatin1(c.edit2)) << c.dropped;
    }
}

TEST_F(ClaimsButtons, ADropOntoFilledBoxesAsksFirstAndAnUnreadableFileShowsTheErrorBox) {
    setText(&window, "Edit1", QStringLiteral("old1"));
    setText(&window, "Edit2", QStringLiteral("old2"));
    dropFiles(&window, {inputs / "gone.UKE"});  // answered No
    EXPECT_EQ(kindsShown(), std::vector<Kind>{Kind::Confirm});
    EXPECT_EQ(text(&window, "Edit1"), QStringLiteral("old1"));

    dialogs.confirmAnswers = {true};
    employeeFile();
    dropFiles(&window, {inputs / "employee.UKE", inputs / "gone.UKE"});
    EXPECT_EQ(kindsShown(), (std::vector<Kind>{Kind::Confirm, Kind::Confirm, Kind::Error}));
    EXPECT_EQ(text(&window, "Edit1"), qsPath(inputs / "employee.UKE"));
    EXPECT_TRUE(text(&window, "Edit2").isEmpty());
}

TEST_F(ClaimsButtons, OnlyLocalFilesCanBeDropped) {
    const QUrl remote(QStringLiteral("https://example.com/employee.UKE"));
    EXPECT_FALSE(dropUrls(&window, {remote}));
    EXPECT_FALSE(dropUrls(&window, {QUrl::fromLocalFile(employeeFile()), remote}));
    EXPECT_FALSE(dropUrls(child(&window, "Edit1"), {remote}));
    EXPECT_TRUE(text(&window, "Edit1").isEmpty());
    EXPECT_TRUE(text(&window, "Edit2").isEmpty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ClaimsButtons, AnonymisingBothFilesHandsBothToTheResultWindow) {
    setText(&window, "Edit1", employeeFile());
    setText(&window, "Edit2", nationalFile());
    EXPECT_EQ(pressTool("Button1", true), QStringLiteral("社保と国保の匿名化ファイルが作成されました"));
    EXPECT_EQ(window.gstFile1, u"50611_1.UKE");
    EXPECT_EQ(window.gstFile2, u"50611_2.UKE");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(listFolder(downloads.path()), (std::vector<std::string>{"50611_1.UKE", "50611_2.UKE"}));
    EXPECT_EQ(
        readBytes(downloads / "50611_2.UKE"),
        sjisLines({u"IR,2,13,1,0123456,,VELTクリニック,50611,00,012-345-6789", u"RE,2,a,b,テスト国２" + kClaimTail}));
}

TEST_F(ClaimsButtons, AMissingFileIsReportedAndTheResultWindowStillOpens) {
    setText(&window, "Edit1", qsPath(inputs / "gone.UKE"));
    setText(&window, "Edit2", nationalFile());
    EXPECT_EQ(pressTool("Button1"), QStringLiteral("社保と国保の匿名化ファイルが作成されました"));
    EXPECT_EQ(dialogs.texts(Kind::Warning), std::vector<QString>{kMissing});
    EXPECT_TRUE(window.gstFile1.empty());
    EXPECT_EQ(window.gstFile2, u"50611_2.UKE");
    EXPECT_EQ(warnings, std::vector<QString>{kEmployeeNotMade});
}

// A press shows only what it made: the results of an earlier press are gone.
TEST_F(ClaimsButtons, WithBothBoxesEmptyBothRunsAreRefusedAndTheResultWindowIsEmpty) {
    setText(&window, "Edit1", employeeFile());
    setText(&window, "Edit2", nationalFile());
    pressTool("Button1");
    setText(&window, "Edit1", QString());
    setText(&window, "Edit2", QString());
    EXPECT_EQ(pressTool("Button1"), QString());
    EXPECT_EQ(dialogs.texts(Kind::Warning), (std::vector<QString>{kMissing, kMissing}));
    EXPECT_EQ(warnings, (std::vector<QString>{kEmployeeNotMade, kNationalNotMade}));
    EXPECT_TRUE(window.gstFile1.empty() && window.gstFile2.empty());
}

TEST_F(ClaimsButtons, AnErrorInTheFirstFileIsShownAndTheSecondIsStillDone) {
    setText(&window, "Edit1", claimsFile("short.UKE", {clinicRecord(u"1"), u"KO,1"}));
    setText(&window, "Edit2", nationalFile());
    EXPECT_EQ(pressTool("Button1"), QStringLiteral("社保と国保の匿名化ファイルが作成されました"));
    EXPECT_EQ(dialogs.texts(Kind::Error),
              std::vector<QString>{QStringLiteral("リストのインデックスが範囲を超えています (2)")});
    EXPECT_TRUE(window.gstFile1.empty());
    EXPECT_EQ(listFolder(programFolder.path()), std::vector<std::string>{"50611_2.UKE"});
}

TEST_F(ClaimsButtons, BranchRemovalUsesTheModeAndPositionsOfTheWindow) {
    setText(&window, "Edit1", claimsFile("e.UKE", {clinicRecord(u"1"), u"RE,1,2,3,4,5,6,7,8,9,10,11,12,0012345-01"}));
    child<QComboBox>(&window, "ComboBox1")->setCurrentIndex(1);
    EXPECT_EQ(pressTool("Button2"), QString());
    EXPECT_EQ(dialogs.texts(Kind::Warning), (std::vector<QString>{QStringLiteral("値が空欄です"), kMissing}));

    dialogs.shown.clear();
    setText(&window, "Edit4", QStringLiteral("3"));
    setText(&window, "Edit5", QStringLiteral(" 7"));
    EXPECT_EQ(pressTool("Button2"), QStringLiteral("社保と国保の枝番除去ファイルが作成されました"));
    EXPECT_EQ(window.gstFile1, u"(50611提出_社保)RECEIPTC.uke");
    EXPECT_EQ(readBytes(programFolder / "(50611提出_社保)RECEIPTC.uke"),
              sjisLines({clinicRecord(u"1"), u"RE,1,2,3,4,5,6,7,8,9,10,11,12,12345"}));
}

// An earlier press's file is not offered again: the result window names only this press's
// files and says which kind it did not make. The kind is the file's, not its box's.
TEST_F(ClaimsButtons, EachPressShowsOnlyWhatItMade) {
    setText(&window, "Edit1", employeeFile());
    setText(&window, "Edit2", nationalFile());
    pressTool("Button1");
    setText(&window, "Edit2", QString());
    child<QComboBox>(&window, "ComboBox1")->setCurrentIndex(0);
    EXPECT_EQ(pressTool("Button2"), QStringLiteral("社保と国保の枝番除去ファイルが作成されました"));
    EXPECT_EQ(window.gstFile1, u"(50611提出_社保)RECEIPTC.uke");
    EXPECT_TRUE(window.gstFile2.empty());
    EXPECT_EQ(warnings, std::vector<QString>{kNationalNotMade});

    setText(&window, "Edit1", nationalFile());  // a national file in the employee box
    EXPECT_EQ(pressTool("Button2"), QStringLiteral("社保と国保の枝番除去ファイルが作成されました"));
    EXPECT_TRUE(window.gstFile1.empty());
    EXPECT_EQ(warnings, std::vector<QString>{kEmployeeNotMade});
}

// A run's own warnings (characters written as "?") follow the lines of the files not made.
TEST_F(ClaimsButtons, TheRunsWarningsReachTheResultWindow) {
    std::u16string msg, file1, file2;
    const auto tool = [&](std::u16string_view file, claims::RewriteObserver*) {
        if (file.empty()) return claims::ClaimsResult::refused(u"ファイルがありません。");
        claims::ClaimsResult result{Outcome::wrote({programFolder / "50611_1.UKE"}, u"m"), claims::ClaimsKind::Employee,
                                    u"50611_1.UKE"};
        result.outcome.addWarning(u"50611_1.UKE: Shift-JISにない文字を「?」で書きました");
        return result;
    };
    whenModal([&](QWidget* result) {
        warnings = warningLines(result);
        result->close();
    });
    claims::runOnBothFiles(context, &window, u"e.UKE", u"", {msg, file1, file2}, tool);
    EXPECT_EQ(warnings, (std::vector<QString>{kNationalNotMade,
                                              QStringLiteral("50611_1.UKE: Shift-JISにない文字を「?」で書きました")}));
}

// The good claims file of the layout's tests (national insurance), and the same file as
// an employee-insurance file.
std::vector<std::u16string> goodClaims(std::u16string_view body = u"2") {
    const std::string bytes = readBytes(std::filesystem::path(VASK_CLAIMS_FIXTURES) / "LAYOUT_GOOD.UKE");
    std::vector<std::u16string> lines = splitLines(fromSjis(bytes.substr(0, bytes.find('\x1A'))));
    lines[0].replace(3, 1, body);
    return lines;
}

// Each anonymised file is checked against its claims file, each file for submission by the
// claims check. The result window shows the outcome in a line of its own, with the detail
// in its tooltip; when the check found something, saving asks first, and "No" keeps the
// files in the program folder and the window open.
TEST_F(ClaimsButtons, EachToolShowsItsCheckAndAsksBeforeSavingWhatItFound) {
    const QString anonymisationQuestion = QStringLiteral("匿名化の確認で警告が出ています。保存しますか？");
    const QString submissionQuestion = QStringLiteral("点検で問題が見つかりました。保存しますか？");
    const std::vector<std::string> anonymised = {"50611_1.UKE", "50611_2.UKE"};
    const std::vector<std::string> submitted = {"(202406提出_国保)RECEIPTC.uke", "(202406提出_社保)RECEIPTC.uke"};
    std::vector<std::u16string> badEmployee = goodClaims(u"1");
    badEmployee[1].replace(badEmployee[1].find(u",2,19800101,"), 3, u",X,");  // 男女区分 not digits
    const auto withRecord = [&](std::u16string record) {
        return std::vector<std::u16string>{clinicRecord(u"1"), u"RE,1,a,b,山田　太郎" + kClaimTail, std::move(record)};
    };
    const struct {
        const char* button;
        std::vector<std::u16string> employee;
        std::vector<std::u16string> national;  // empty: the national file of the fixture
        QString line;
        QString tooltip;   // a part of the tooltip
        QString question;  // empty: saving asks nothing
        std::vector<std::string> saved;
    } cases[] = {
        {"Button1",
         withRecord(u"SI,,1,111000110,,1,,,,,,,,,,,,異常なし"),
         {},
         QStringLiteral("確認：探した値は残っていません（医療機関・氏名。生年月日などは残ります）"),
         QStringLiteral("探した識別情報: 医療機関コード・医療機関名称・電話番号・患者氏名\n"
                        "匿名化で残す識別情報（探していません）: 生年月日・カルテ番号・検索番号・"),
         {},
         anonymised},
        {"Button1",
         withRecord(u"SI,,1,111000110,,1,,,,,,,,,,,,山田さん来院"),
         {},
         QStringLiteral("警告：元の値が残っています（患者氏名）"),
         QStringLiteral("3行目 SIレコード: 患者氏名が残っています"),
         anonymisationQuestion,
         anonymised},
        {"Button1",
         withRecord(u"RR,1,ｽｽﾞｷ ﾊﾅｺ,鈴木商事"),
         {},
         QStringLiteral("警告：確認していないレコードがあります（RR）"),
         QStringLiteral("\n  RRレコード 1件: 確認していません"),
         anonymisationQuestion,
         anonymised},
        // The good file's kana name has a blank: its claim record comes out without quotes.
        {"Button2",
         goodClaims(u"1"),
         goodClaims(),
         QStringLiteral("点検：社保 問題なし、国保 問題なし"),
         QStringLiteral(
             "(202406提出_社保)RECEIPTC.uke: 問題はありません\n(202406提出_国保)RECEIPTC.uke: 問題はありません\n"
             "確かめていないこと: 診療行為・医薬品・特定器材・傷病名などのコードが正しいか"),
         {},
         submitted},
        {"Button2", badEmployee, goodClaims(),
         QStringLiteral("点検：社保 1件（元のファイルにもある問題です）、国保 問題なし"),
         QStringLiteral("\n  2行目 REレコード 男女区分: 数字以外の文字があります\n"), submissionQuestion, submitted},
    };
    child<QComboBox>(&window, "ComboBox1")->setCurrentIndex(0);
    for (const auto& c : cases) {
        dialogs.shown.clear();
        setText(&window, "Edit1", claimsFile("employee.UKE", c.employee));
        setText(&window, "Edit2", c.national.empty() ? nationalFile() : claimsFile("national.UKE", c.national));
        const bool asks = !c.question.isEmpty();
        QString line;
        QString tooltip;
        whenModal([&](QWidget* result) {
            const auto* label = child<QLabel>(result, "Label2");
            line = label->text();
            tooltip = label->toolTip();
            click(result, "Button1");  // "No" when asked: nothing moves, the window stays
            EXPECT_EQ(result->isVisible(), asks);
            EXPECT_EQ(listFolder(downloads.path()).size(), asks ? 0u : 2u);
            dialogs.confirmAnswers.push_back(true);
            if (result->isVisible()) click(result, "Button1");
        });
        click(&window, c.button);
        // The label shows the line, cut at its end when it does not fit, so that its verdict
        // stays readable; the tooltip begins with the whole line.
        EXPECT_TRUE(line.startsWith(c.line.left(15))) << line.toStdString();
        EXPECT_EQ(tooltip.section(QLatin1Char('\n'), 0, 0), c.line);
        EXPECT_TRUE(tooltip.contains(c.tooltip)) << tooltip.toStdString();
        const std::vector<QString> questions =
            asks ? std::vector<QString>{c.question, c.question} : std::vector<QString>{};
        EXPECT_EQ(dialogs.texts(Kind::Confirm), questions);
        for (const auto& shown : dialogs.shown) {  // Enter keeps the files
            if (shown.kind == Kind::Confirm) {
                EXPECT_EQ(shown.preset, DefaultAnswer::No);
            }
        }
        EXPECT_EQ(listFolder(downloads.path()), c.saved);
        EXPECT_TRUE(listFolder(programFolder.path()).empty());
        std::filesystem::remove_all(downloads.path());
        std::filesystem::create_directory(downloads.path());
        dialogs.confirmAnswers.clear();
    }
}

}  // namespace
}  // namespace vask::test

namespace vask::test {
namespace {

// Under ANONPROFILE "1" both files are anonymised with one set of pseudonyms under the
// user's key: the patient whose chart number stands in both gets one pseudonym; each file
// is checked by the profile, which the result window's line names.
TEST_F(ClaimsButtons, AnonymisationFollowsTheProfileOfTheSetting) {
    settings().write(u"ANONPROFILE", u"1");
    setText(&window, "Edit1", claimsFile("employee.UKE", goodClaims(u"1")));
    setText(&window, "Edit2", claimsFile("national.UKE", goodClaims()));
    QString line;
    whenModal([&](QWidget* result) {
        if (const auto* label = child<QLabel>(result, "Label2")) line = label->text();
        result->close();
    });
    click(&window, "Button1");
    EXPECT_TRUE(line.startsWith(QStringLiteral("確認（仮名加工）："))) << line.toStdString();
    EXPECT_TRUE(dialogs.shown.empty());
    ChartPseudonyms pseudonyms(readKeyFrom(pseudonymKeyFile(context.keyFolder)));
    for (const char* name : {"202406_1.UKE", "202406_2.UKE"}) {
        const auto lines = linesOf(readBytes(programFolder / name));
        ASSERT_GT(lines.size(), 1u) << name;
        std::vector<std::u16string> re;
        GetCommaTxt(lines[1], re);
        ASSERT_GT(re.size(), 13u) << name;
        EXPECT_EQ(re[13], pseudonyms.pseudonymOf(u"00123-01")) << name;
    }
}

// A key file that holds no key stops the press before either file is anonymised.
TEST_F(ClaimsButtons, AKeyThatCannotBeReadStopsThePseudonymisationBeforeItRuns) {
    settings().write(u"ANONPROFILE", u"1");
    std::filesystem::create_directories(context.keyFolder);
    writeBytes(pseudonymKeyFile(context.keyFolder), "no key");
    setText(&window, "Edit1", employeeFile());
    setText(&window, "Edit2", nationalFile());
    click(&window, "Button1");
    ASSERT_EQ(dialogs.texts(Kind::Error).size(), 1u);
    EXPECT_TRUE(dialogs.texts(Kind::Error)[0].contains(QStringLiteral("64桁の16進数")));
    EXPECT_EQ(listFolder(programFolder.path()), std::vector<std::string>{"user.ini"});
}

}  // namespace
}  // namespace vask::test
