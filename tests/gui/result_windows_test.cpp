#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "gui/msg_window.h"
#include "gui/qt_text.h"
#include "gui/save_path_window.h"
#include "gui/translation.h"
#include "gui/widgets.h"
#include "gui_test_support.h"

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
        EXPECT_EQ(size, QSize(340, 120));
        EXPECT_EQ(shown.contains(QStringLiteral("…")), shortened) << shown.toStdString();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("FF1_")) || !shortened);
        EXPECT_TRUE(shown.endsWith(QStringLiteral("が作成されました")));
        EXPECT_EQ(tooltip, shortened ? qs(message) : QString());
    }
}

TEST_F(ResultWindow, ClosingByTheCloseBoxMovesNothing) {
    writeResults();
    run(false);
    EXPECT_EQ(listFolder(programFolder.path()), (std::vector<std::string>{"50611_1.UKE", "50611_2.UKE"}));
    EXPECT_TRUE(listFolder(downloads.path()).empty());
}

TEST_F(ResultWindow, AChosenFolderThatIsGoneKeepsTheFilesAndSaysSo) {
    writeResults();
    settings().write(u"SAVEFDR", qstr(downloads / "gone").toStdU16String());
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
    settings().write(u"SAVEFDR", qstr(save.path()).toStdU16String());
    settings().write(u"SVCHG", u"1");
    run(true);
    EXPECT_EQ(listFolder(save / "0123456_VELTクリニック"), (std::vector<std::string>{"50611_1.UKE", "50611_2.UKE"}));
}

TEST_F(ResultWindow, TheClinicRuleWithoutAFirstFileStopsWithTheErrorBoxAndStaysOpen) {
    TempDir save;
    settings().write(u"SAVEFDR", qstr(save.path()).toStdU16String());
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
