#include <gtest/gtest.h>

#include <QDir>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "../gui/gui_test_support.h"
#include "app/main_window.h"
#include "gui/error_box.h"
#include "platform/errors.h"
#include "vask_version.h"

namespace vask::test {
namespace {

using Kind = ScriptedDialogs::Kind;

class MainWindow : public GuiTest {
protected:
    int modeAfterStart() {
        TfrmMain window(context);
        return child<QComboBox>(&window, "ComboBox1")->currentIndex();
    }
    bool positionRowVisible(TfrmMain& window) {
        window.show();
        const bool visible = child(&window, "Edit4")->isVisible();
        EXPECT_EQ(child(&window, "Edit5")->isVisible(), visible);
        EXPECT_EQ(child(&window, "Label4")->isVisible(), visible);
        EXPECT_EQ(child(&window, "Label5")->isVisible(), visible);
        return visible;
    }
};

TEST_F(MainWindow, ControlsAndCaptions) {
    TfrmMain window(context);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("VELTサポートツール"));
    EXPECT_EQ(window.size(), QSize(348, 412));
    const std::pair<const char*, QString> buttons[] = {
        {"Button5", QStringLiteral("マニュアル")},         {"Button3", QStringLiteral("ファイル選択")},
        {"Button1", QStringLiteral("レセ電データ匿名化")}, {"Button2", QStringLiteral("レセ電データ枝番除去")},
        {"Button4", QStringLiteral("詳細設定")},           {"Button6", QStringLiteral("オプション")},
        {"BitBtn1", QStringLiteral("閉じる(&C)")},
    };
    for (const auto& [name, caption] : buttons) EXPECT_EQ(child<QPushButton>(&window, name)->text(), caption) << name;
    EXPECT_EQ(child<QLabel>(&window, "Label2")->text(), QStringLiteral("社保レセ電データ："));
    EXPECT_EQ(child<QLabel>(&window, "Label3")->text(), QStringLiteral("国保レセ電データ："));
    EXPECT_EQ(child<QLabel>(&window, "Label8")->text(), QStringLiteral(VASK_VERSION_TEXT));
    auto* combo = child<QComboBox>(&window, "ComboBox1");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("記号「-」「*」「/」より後を除去する"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("指定の位置の文字以外を除去する"));
}

TEST_F(MainWindow, StoredModeDecidesTheStartState) {
    struct Case {
        const char* stored;  // nullptr: no user.ini
        int mode;
        const char* writtenOnClose;
    };
    const Case cases[] = {
        {nullptr, 0, "0"}, {"1", 1, "1"}, {"abc", 0, "0"}, {"7", -1, "-1"}, {"-1", -1, "-1"}, {" 1", 1, "1"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(settings().file());
        if (c.stored) settings().write(u"CB1", QString::fromUtf8(c.stored).toStdU16String());
        {
            TfrmMain window(context);
            EXPECT_EQ(child<QComboBox>(&window, "ComboBox1")->currentIndex(), c.mode) << c.stored;
            EXPECT_EQ(positionRowVisible(window), c.mode == 1) << c.stored;
            EXPECT_TRUE(text(&window, "Edit4").isEmpty());
            window.close();
        }
        EXPECT_EQ(settings().read(u"CB1"), QString::fromUtf8(c.writtenOnClose).toStdU16String()) << c.stored;
    }
}

TEST_F(MainWindow, PickingAModeShowsThePositionRowOnlyInModeOne) {
    TfrmMain window(context);
    auto* combo = child<QComboBox>(&window, "ComboBox1");
    setText(&window, "Edit4", QStringLiteral("3"));
    combo->setCurrentIndex(1);
    window.ComboBox1Change();
    EXPECT_TRUE(positionRowVisible(window));
    combo->setCurrentIndex(0);
    window.ComboBox1Change();
    EXPECT_FALSE(positionRowVisible(window));
    EXPECT_EQ(text(&window, "Edit4"), QStringLiteral("3"));  // hiding keeps the contents
}

// A path box takes the path of one dropped file: the kind is checked when a tool runs. A
// position box takes none; the drop falls to the window, which sorts claims files.
TEST_F(MainWindow, AFileDroppedOntoAPathBoxFillsThatBoxOnly) {
    TfrmMain window(context);
    writeBytes(downloads / "any.txt", "x");
    EXPECT_TRUE(dropFiles(&window, {downloads / "any.txt"}, "Edit2"));
    EXPECT_EQ(text(&window, "Edit2"), qsPath(downloads / "any.txt"));
    EXPECT_TRUE(text(&window, "Edit1").isEmpty());
    EXPECT_TRUE(dropFiles(&window, {downloads / "any.txt"}, "Edit1"));
    EXPECT_EQ(text(&window, "Edit1"), qsPath(downloads / "any.txt"));
    EXPECT_TRUE(dialogs.shown.empty());
    dropFiles(&window, {downloads / "any.txt"}, "Edit4");
    EXPECT_TRUE(text(&window, "Edit4").isEmpty());
    EXPECT_EQ(dialogs.texts(Kind::Confirm),
              std::vector<QString>{QStringLiteral("新しいレセ電ファイルを選択しますか？")});
}

TEST_F(MainWindow, OpensWithTheFocusOnFileSelection) {
    TfrmMain window(context);
    EXPECT_EQ(focusOnShow(&window), child(&window, "Button3"));
}

// A manual that nothing could open is named in a warning, so that it can be opened by hand.
TEST_F(MainWindow, ManualOpensThroughTheShell) {
    TfrmMain window(context);
    const QString manual = qsPath(programFolder / "manual" / "index.html");
    for (const bool opens : {true, false}) {
        dialogs.shown.clear();
        openedDocuments.clear();
        documentsOpen = opens;
        click(&window, "Button5");
        EXPECT_EQ(openedDocuments, std::vector<QString>{manual});
        EXPECT_EQ(dialogs.texts(Kind::Warning),
                  opens ? std::vector<QString>{}
                        : std::vector<QString>{QStringLiteral("マニュアルを開けませんでした：") + manual});
    }
}

// A path too long for its box is shown whole as the box's tooltip.
TEST_F(MainWindow, APathBoxShowsACutPathAsItsTooltip) {
    TfrmMain window(context);
    window.show();
    const QString longPath = QStringLiteral("/home/clinic/") + QString(60, u'長') + QStringLiteral("/RECEIPTC.UKE");
    for (const auto& [path, tooltip] :
         {std::pair{longPath, longPath}, std::pair{QStringLiteral("/a.UKE"), QString()}}) {
        for (const char* box : {"Edit1", "Edit2"}) {
            setText(&window, box, path);
            EXPECT_EQ(child(&window, box)->toolTip(), tooltip) << box;
        }
    }
}

TEST_F(MainWindow, AnErrorInAHandlerReachesTheErrorBoxWithTheFullStopRule) {
    TfrmMain window(context);
    runGuarded(context, &window, [] { throw Error(u"範囲チェックエラー"); });
    runGuarded(context, &window, [] { throw Error(msg::listIndexOutOfBounds(7)); });
    runGuarded(context, &window, [] { throw Error(u"done."); });
    const auto errors = dialogs.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], QStringLiteral("範囲チェックエラー."));
    EXPECT_EQ(errors[1], QStringLiteral("リストのインデックスが範囲を超えています (7)"));
    EXPECT_EQ(errors[2], QStringLiteral("done."));
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(MainWindow, ClosingWithAnUnwritableSettingsFileShowsTheErrorAndStillCloses) {
    std::filesystem::create_directory(settings().file());  // user.ini cannot be written
    {
        TfrmMain window(context);
        window.show();
        EXPECT_TRUE(window.close());
    }
    const auto errors = dialogs.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("user.ini")));
}

TEST_F(MainWindow, ClaimsToolsDoNotStartWhenTheProgramFolderCannotBeWritten) {
    writeBytes(programFolder / "installed", "a file where the folder's parent should be");
    context.programFolder = programFolder / "installed" / "vask";
    TfrmMain window(context);
    setText(&window, "Edit1", qsPath(downloads / "shaho.UKE"));
    click(&window, "Button1");
    click(&window, "Button2");
    const QString warning = QStringLiteral("プログラムフォルダに書き込めません：") + qsPath(context.programFolder);
    EXPECT_EQ(dialogs.texts(Kind::Warning), (std::vector<QString>{warning, warning}));
    EXPECT_TRUE(dialogs.texts(Kind::Error).empty());  // the tool itself never ran
}

}  // namespace
}  // namespace vask::test
