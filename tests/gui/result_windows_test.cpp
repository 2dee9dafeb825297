#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "gui/msg_window.h"
#include "gui/qt_text.h"
#include "gui/save_path_window.h"
#include "gui/translation.h"
#include "gui/widgets.h"
#include "gui_test_support.h"
#include "platform/paths.h"

namespace vask::test {
namespace {

using Kind = ScriptedDialogs::Kind;

class ResultWindow : public GuiTest {
protected:
    void writeResults() {
        writeBytes(programFolder / "50611_1.UKE", sjis(u"IR,1,13,1,0123456,,VELTクリニック,50611,00\r\n"));
        writeBytes(programFolder / "50611_2.UKE", "IR,2\r\n");
    }
    // Opens the result window, presses its button (or closes it) and returns what it showed.
    QString run(bool pressButton, QString* buttonCaption = nullptr) {
        QString shownMessage;
        whenModal([&](QWidget* window) {
            shownMessage = child<QLabel>(window, "Label1")->text();
            if (buttonCaption) *buttonCaption = child<QPushButton>(window, "Button1")->text();
            if (pressButton) {
                click(window, "Button1");
            } else {
                window->close();
            }
        });
        TfrmMsg::DspSet(context, nullptr, u"社保と国保の匿名化ファイルが作成されました", u"50611_1.UKE",
                        u"50611_2.UKE");
        return shownMessage;
    }
};

TEST_F(ResultWindow, DownloadMovesBothFilesIntoDownloads) {
    writeResults();
    QString caption;
    EXPECT_EQ(run(true, &caption), QStringLiteral("社保と国保の匿名化ファイルが作成されました"));
    EXPECT_EQ(caption, QStringLiteral("ダウンロード"));
    EXPECT_EQ(listFolder(downloads.path()), (std::vector<std::string>{"50611_1.UKE", "50611_2.UKE"}));
    EXPECT_TRUE(listFolder(programFolder.path()).empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

// A long file name cannot wrap: the message is shortened in its middle, with the whole text
// as tooltip, and the window keeps its size. A message that fits stays as it is.
TEST_F(ResultWindow, AMessageTooLongForTheLabelIsShortenedInItsMiddle) {
    const std::u16string longName = u"FF1_" + std::u16string(120, u'x') + u"_202404ano.txt";
    for (const auto& [message, shortened] : {std::pair{longName + u"が作成されました", true},
                                             std::pair{std::u16string(u"202404_carte.csvが作成されました"), false}}) {
        QString shown;
        QString tooltip;
        QSize size;
        whenModal([&](QWidget* window) {
            shown = child<QLabel>(window, "Label1")->text();
            tooltip = child<QLabel>(window, "Label1")->toolTip();
            size = window->size();
            window->close();
        });
        TfrmMsg::DspSet(context, nullptr, message, u"", u"");
        EXPECT_EQ(size, QSize(340, 142));  // the message, the save folder's line, the button
        EXPECT_EQ(shown.contains(QStringLiteral("…")), shortened) << shown.toStdString();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("FF1_")) || !shortened);
        EXPECT_TRUE(shown.endsWith(QStringLiteral("が作成されました")));
        EXPECT_EQ(tooltip, shortened ? qs(message) : QString());
    }
}

// Below the message: the check's line, then each warning beside the warning icon, then
// the save folder; the window grows by a line for each.
TEST_F(ResultWindow, WarningsStandBelowTheCheckBesideTheWarningIcon) {
    const std::vector<std::u16string> warnings = {u"国保のファイルは作成されませんでした",
                                                  u"50611_1.UKE: Shift-JISにない文字を「?」で書きました"};
    whenModal([&](QWidget* window) {
        const auto* message = child<QLabel>(window, "Label1");
        const auto* check = child<QLabel>(window, "Label2");
        const auto* first = child<QLabel>(window, "Warning1");
        const auto* second = child<QLabel>(window, "Warning2");
        const auto* folder = child<QLabel>(window, "Label3");
        ASSERT_TRUE(message && check && first && second && folder);
        EXPECT_EQ(message->text(), QStringLiteral("社保と国保の匿名化ファイルが作成されました"));
        EXPECT_LT(message->geometry().bottom(), check->y());
        EXPECT_LT(check->y(), first->y());
        EXPECT_LT(first->y(), second->y());
        EXPECT_LT(second->y(), folder->y());
        EXPECT_LT(folder->y(), child(window, "Button1")->y());
        EXPECT_EQ(warningLines(window), (std::vector<QString>{qs(warnings[0]), qs(warnings[1])}));
        for (const char* icon : {"WarningIcon1", "WarningIcon2"}) {
            const auto* label = child<QLabel>(window, icon);
            ASSERT_TRUE(label);
            EXPECT_FALSE(label->pixmap().isNull()) << icon;
            EXPECT_LT(label->geometry().right(), first->x()) << icon;
        }
        EXPECT_EQ(window->height(), 142 + 3 * 22);
        window->close();
    });
    TfrmMsg::DspSet(context, nullptr, u"社保と国保の匿名化ファイルが作成されました", u"", u"",
                    CheckSummary{u"確認：元の氏名・番号などは出力に残っていません", u"", true}, warnings);
}

// A tool window's outcome reaches the result window with its warnings.
TEST_F(ResultWindow, AToolsOutcomeShowsItsWarnings) {
    Outcome outcome = Outcome::wrote({programFolder / "202404_carte.csv"}, u"202404_carte.csvが作成されました");
    outcome.addWarning(u"Shift-JISにない文字を「?」で書きました");
    std::vector<QString> lines;
    whenModal([&](QWidget* window) {
        lines = warningLines(window);
        window->close();
    });
    showToolOutcome(context, nullptr, outcome);
    EXPECT_EQ(lines, std::vector<QString>{QStringLiteral("Shift-JISにない文字を「?」で書きました")});
}

// The line names the folder the button moves the files to, as it stands when the window
// opens; the clinic's sub-folder is named but not made until the button is pressed.
TEST_F(ResultWindow, TheSaveFolderLineNamesWhereTheFilesGo) {
    writeResults();
    TempDir save;
    const struct {
        std::u16string saveFolder;
        std::u16string clinicRule;
        std::u16string file1;
        std::filesystem::path shown;
    } cases[] = {
        {u"", u"1", u"50611_1.UKE", downloads.path()},
        {fromPath(save.path()), u"", u"50611_1.UKE", save.path()},
        {fromPath(save.path()), u"1", u"50611_1.UKE", save / "0123456_VELTクリニック"},
        {fromPath(save.path()), u"1", u"gone.UKE", save.path()},
    };
    for (const auto& c : cases) {
        settings().write(u"SAVEFDR", c.saveFolder);
        settings().write(u"SVCHG", c.clinicRule);
        QString line;
        whenModal([&](QWidget* window) {
            const auto* label = child<QLabel>(window, "Label3");
            line = label->toolTip().isEmpty() ? label->text() : label->toolTip();
            window->close();
        });
        TfrmMsg::DspSet(context, nullptr, u"m", c.file1, u"");
        EXPECT_EQ(line, QStringLiteral("保存先：") + QDir::toNativeSeparators(qsPath(c.shown)));
    }
    EXPECT_TRUE(listFolder(save.path()).empty());
    EXPECT_EQ(dialogs.shown.size(), 0u);
}

// The question before saving flagged files presets No: Enter keeps the files.
TEST(QtDialogsTest, EnterGivesTheQuestionsPresetAnswer) {
    for (const auto& [preset, answer] : {std::pair{DefaultAnswer::Yes, true}, std::pair{DefaultAnswer::No, false}}) {
        whenModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
        QtDialogs dialogs;
        EXPECT_EQ(dialogs.confirm(nullptr, QStringLiteral("保存しますか？"), preset), answer);
    }
    EXPECT_EQ(dropPendingModals(), 0u);
}

TEST_F(ResultWindow, ClosingByTheCloseBoxMovesNothing) {
    writeResults();
    run(false);
    EXPECT_EQ(listFolder(programFolder.path()), (std::vector<std::string>{"50611_1.UKE", "50611_2.UKE"}));
    EXPECT_TRUE(listFolder(downloads.path()).empty());
}

TEST_F(ResultWindow, AChosenFolderThatIsGoneKeepsTheFilesAndSaysSo) {
    writeResults();
    settings().write(u"SAVEFDR", qsPath(downloads / "gone").toStdU16String());
    QString caption;
    run(true, &caption);
    EXPECT_EQ(caption, QStringLiteral("保存"));
    EXPECT_EQ(listFolder(programFolder.path()), (std::vector<std::string>{"50611_1.UKE", "50611_2.UKE", "user.ini"}));
    EXPECT_EQ(
        dialogs.texts(Kind::Warning),
        std::vector<QString>{QStringLiteral("保存できなかったファイルがあります（プログラムフォルダに残っています）：\n"
                                            "50611_1.UKE\n50611_2.UKE")});
}

TEST_F(ResultWindow, TheClinicRuleSavesIntoTheClinicSubFolder) {
    writeResults();
    TempDir save;
    settings().write(u"SAVEFDR", qsPath(save.path()).toStdU16String());
    settings().write(u"SVCHG", u"1");
    run(true);
    EXPECT_EQ(listFolder(save / "0123456_VELTクリニック"), (std::vector<std::string>{"50611_1.UKE", "50611_2.UKE"}));
}

TEST_F(ResultWindow, TheClinicRuleWithoutAFirstFileStopsWithTheErrorBoxAndStaysOpen) {
    TempDir save;
    settings().write(u"SAVEFDR", qsPath(save.path()).toStdU16String());
    settings().write(u"SVCHG", u"1");
    writeBytes(programFolder / "only2.UKE", "IR,2\r\n");
    bool stillOpen = false;
    whenModal([&](QWidget* window) {
        click(window, "Button1");
        stillOpen = window->isVisible();
        window->close();
    });
    TfrmMsg::DspSet(context, nullptr, u"m", u"", u"only2.UKE");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dialogs.texts(Kind::Error).size(), 1u);
    EXPECT_EQ(listFolder(programFolder.path()), (std::vector<std::string>{"only2.UKE", "user.ini"}));
}

class SavePathWindow : public GuiTest {
protected:
    template <typename F>
    void withWindow(F steps) {
        inModal([&] { TfrmSavePath::DspSet(context, nullptr); },
                [&](QWidget* window) { steps(window, child<RadioGroup>(window, "RadioGroup1")); });
    }
};

TEST_F(SavePathWindow, WithoutASavedFolderDownloadsIsSelectedAndNothingIsWritten) {
    withWindow([&](QWidget* window, RadioGroup* group) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("保存先選択"));
        EXPECT_EQ(group->itemIndex(), 0);
        EXPECT_FALSE(child(window, "Button1")->isVisible());
        EXPECT_FALSE(child(window, "Edit1")->isVisible());
        EXPECT_EQ(window->focusWidget(), group->item(0));
    });
    EXPECT_FALSE(std::filesystem::exists(settings().file()));
}

// Switching back to 保存先指定 shows what is stored, the empty folder, until a folder is
// chosen: the box never shows a folder that results do not go to.
TEST_F(SavePathWindow, SwitchingToDownloadsStoresTheEmptyFolderAtOnce) {
    settings().write(u"SAVEFDR", u"/srv/save");
    withWindow([&](QWidget* window, RadioGroup* group) {
        EXPECT_EQ(group->itemIndex(), 1);
        EXPECT_TRUE(child(window, "Button1")->isVisible());
        EXPECT_EQ(text(window, "Edit1"), QStringLiteral("/srv/save"));
        group->setItemIndex(0);
        EXPECT_EQ(settings().read(u"SAVEFDR", u"missing"), u"");
        EXPECT_FALSE(child(window, "Edit1")->isVisible());
        group->setItemIndex(1);
        EXPECT_TRUE(child(window, "Edit1")->isVisible());
        EXPECT_EQ(text(window, "Edit1"), QString());
        EXPECT_EQ(settings().read(u"SAVEFDR", u"missing"), u"");
    });
}

TEST_F(SavePathWindow, ConfirmingAFolderStoresItAndCancellingChangesNothing) {
    settings().write(u"SAVEFDR", u"/srv/old");
    dialogs.folderAnswers = {QStringLiteral("/srv/new"), std::nullopt};
    withWindow([&](QWidget* window, RadioGroup*) {
        click(window, "Button1");
        EXPECT_EQ(dialogs.lastStartFolder, QStringLiteral("/srv/old"));
        EXPECT_EQ(text(window, "Edit1"), QStringLiteral("/srv/new"));
        click(window, "Button1");
        EXPECT_EQ(text(window, "Edit1"), QStringLiteral("/srv/new"));
    });
    EXPECT_EQ(settings().read(u"SAVEFDR"), u"/srv/new");
    EXPECT_EQ(dialogs.texts(Kind::ChooseFolder).front(),
              QStringLiteral("保存先フォルダを指定してＯＫをクリックしてください"));
}

// Qt's own texts are Japanese whatever the system's locale: the Yes and No of a question,
// the file dialog's buttons and the edit boxes' context menu. A translation file in the
// program folder that cannot be loaded leaves the built-in one in force.
TEST(QtTexts, AreJapaneseOnceTheBuiltInTranslationIsInstalled) {
    TempDir programFolder;
    std::filesystem::create_directory(programFolder / "translations");
    writeBytes(programFolder / "translations" / "qtbase_ja.qm", "not a translation");
    ASSERT_TRUE(installJapaneseQtTexts(*QCoreApplication::instance(), programFolder.path()));
    QMessageBox question(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(question.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("開く(&O)"));
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy"), QStringLiteral("コピー(&C)"));
}

}  // namespace
}  // namespace vask::test
