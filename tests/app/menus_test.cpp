#include <gtest/gtest.h>

#include <QLabel>

#include "../gui/gui_test_support.h"
#include "app/option_window.h"
#include "app/syosai_window.h"
#include "core/messages.h"
#include "core/pseudonym_key.h"
#include "gui/widgets.h"
#include "platform/paths.h"

namespace vask::test {
namespace {

class DetailSettings : public GuiTest {
protected:
    // Opens the window, runs `steps` inside it, closes it.
    template <typename F>
    void withWindow(F steps) {
        inModal([&] { TfrmSyosai::DspSet(context, nullptr); },
                [&](QWidget* window) { steps(window, child<RadioGroup>(window, "RadioGroup1")); });
    }
};

TEST_F(DetailSettings, TheStoredSpecChoiceIsPreselectedAndNotRewritten) {
    struct Case {
        const char16_t* stored;  // nullptr: no user.ini
        int selected;
    };
    const Case cases[] = {{nullptr, 0}, {u"1", 0}, {u" 2 ", 1}, {u"02", 0}, {u"", 0}, {u"x", 0}};
    for (const auto& c : cases) {
        std::filesystem::remove(settings().file());
        if (c.stored) settings().write(u"Spec", c.stored);
        withWindow([&](QWidget* window, RadioGroup* group) {
            EXPECT_EQ(window->windowTitle(), QStringLiteral("詳細設定"));
            EXPECT_EQ(group->title(), QStringLiteral("仕様選択"));
            EXPECT_EQ(group->itemIndex(), c.selected);
        });
        EXPECT_EQ(std::filesystem::exists(settings().file()), c.stored != nullptr);
    }
}

TEST_F(DetailSettings, OpensWithTheFocusOnSaveDestination) {
    withWindow([&](QWidget* window, RadioGroup*) { EXPECT_EQ(window->focusWidget(), child(window, "Button4")); });
}

TEST_F(DetailSettings, AChangeIsStoredAtOnce) {
    withWindow([&](QWidget*, RadioGroup* group) {
        EXPECT_EQ(group->item(1)->text(), QStringLiteral("モバカル仕様"));
        group->item(1)->click();
        EXPECT_EQ(settings().read(u"Spec"), u"2");
        group->item(0)->click();
        EXPECT_EQ(settings().read(u"Spec"), u"1");
    });
}

TEST_F(DetailSettings, SaveDestinationOpensFromItsButton) {
    QString opened;
    withWindow([&](QWidget* window, RadioGroup*) {
        inModal([&] { click(window, "Button4"); }, [&](QWidget* savePath) { opened = savePath->windowTitle(); });
    });
    EXPECT_EQ(opened, QStringLiteral("保存先選択"));
}

// 匿名化の方式: shown from ANONPROFILE as it is stored ("1" the pseudonymisation profile,
// anything else the written one), stored only when the user changes it.
TEST_F(DetailSettings, TheProfileChoiceShowsAndStoresAnonProfile) {
    struct Case {
        const char16_t* stored;  // nullptr: no user.ini
        int selected;
    };
    const Case cases[] = {{nullptr, 0}, {u"0", 0}, {u" 1 ", 1}, {u"2", 0}, {u"", 0}};
    for (const auto& c : cases) {
        std::filesystem::remove(settings().file());
        if (c.stored) settings().write(u"ANONPROFILE", c.stored);
        withWindow([&](QWidget* window, RadioGroup*) {
            auto* group = child<RadioGroup>(window, "RadioGroup2");
            EXPECT_EQ(group->title(), QStringLiteral("匿名化の方式"));
            EXPECT_EQ(group->itemIndex(), c.selected);
        });
        EXPECT_EQ(std::filesystem::exists(settings().file()), c.stored != nullptr);
    }
    withWindow([&](QWidget* window, RadioGroup*) {
        auto* group = child<RadioGroup>(window, "RadioGroup2");
        EXPECT_EQ(group->item(1)->text(), QStringLiteral("仮名加工（研究用）"));
        group->item(1)->click();
        EXPECT_EQ(settings().read(u"ANONPROFILE"), u"1");
        group->item(0)->click();
        EXPECT_EQ(settings().read(u"ANONPROFILE"), u"0");
    });
}

// The key window, opened from 仮名化の鍵…: the fingerprint of the key made on first use in
// the user's folder; its export; a new key and an import, each only after a question that
// Enter answers No; a file without a key and a system without a user folder in the error
// box, changing nothing.
class KeyWindow : public DetailSettings {
protected:
    std::filesystem::path keyFile() const { return pseudonymKeyFile(context.keyFolder); }
    QString fingerprintLine(const std::string& key) const {
        return QStringLiteral("鍵の指紋：") + qs(keyFingerprint(key));
    }
    template <typename F>
    void withKeyWindow(F steps) {
        withWindow([&](QWidget* window, RadioGroup*) {
            inModal([&] { click(window, "Button5"); },
                    [&](QWidget* keys) { steps(keys, child<QLabel>(keys, "Label1")); });
        });
    }
    std::vector<DefaultAnswer> presets() const {
        std::vector<DefaultAnswer> found;
        for (const auto& shown : dialogs.shown) {
            if (shown.kind == ScriptedDialogs::Kind::Confirm) found.push_back(shown.preset);
        }
        return found;
    }
};

TEST_F(KeyWindow, ShowsExportsRenewsAndImportsTheUsersKey) {
    withKeyWindow([&](QWidget* keys, QLabel* fingerprint) {
        EXPECT_EQ(keys->windowTitle(), QStringLiteral("仮名化の鍵"));
        const std::string first = readKeyFrom(keyFile());
        EXPECT_EQ(fingerprint->text(), fingerprintLine(first));
        EXPECT_EQ(keys->focusWidget(), child(keys, "Button1"));

        dialogs.saveAnswers.push_back(qsPath(userFolder / "export.txt"));
        click(keys, "Button1");
        EXPECT_EQ(dialogs.lastStartFile,
                  QStringLiteral("仮名化の鍵_") + qs(keyFingerprint(first)) + QStringLiteral(".txt"));
        EXPECT_EQ(readKeyFrom(userFolder / "export.txt"), first);

        click(keys, "Button3");  // answered No
        EXPECT_EQ(readKeyFrom(keyFile()), first);
        dialogs.confirmAnswers.push_back(true);
        click(keys, "Button3");
        const std::string renewed = readKeyFrom(keyFile());
        EXPECT_NE(renewed, first);
        EXPECT_EQ(fingerprint->text(), fingerprintLine(renewed));

        writeBytes(userFolder / "bad.txt", "no key");
        for (const char* file : {"bad.txt", "export.txt"}) {  // export.txt answered No
            dialogs.fileAnswers.push_back(qsPath(userFolder / file));
            click(keys, "Button2");
            EXPECT_EQ(readKeyFrom(keyFile()), renewed) << file;
        }
        dialogs.fileAnswers.push_back(qsPath(userFolder / "export.txt"));
        dialogs.confirmAnswers.push_back(true);
        click(keys, "Button2");
        EXPECT_EQ(readKeyFrom(keyFile()), first);
        EXPECT_EQ(fingerprint->text(), fingerprintLine(first));
    });
    const std::vector<QString> questions = dialogs.texts(ScriptedDialogs::Kind::Confirm);
    ASSERT_EQ(questions.size(), 4u);
    EXPECT_EQ(questions[0],
              QStringLiteral("新しい鍵を作ると、これまでに作った仮名とは一致しなくなります。作りますか？"));
    EXPECT_TRUE(questions[2].contains(QStringLiteral("一致しなくなります"))) << questions[2].toStdString();
    EXPECT_EQ(presets(), std::vector<DefaultAnswer>(4, DefaultAnswer::No));
    const std::vector<QString> errors = dialogs.texts(ScriptedDialogs::Kind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("bad.txt"))) << errors[0].toStdString();
}

// A key file that holds no key is left as it is until the user makes a new key (or imports
// one); without a user folder every action says so.
TEST_F(KeyWindow, AKeyFileWithoutAKeyOrNoUserFolderIsShownInTheErrorBox) {
    std::filesystem::create_directories(context.keyFolder);
    writeBytes(keyFile(), "no key");
    withKeyWindow([&](QWidget* keys, QLabel* fingerprint) {
        EXPECT_EQ(fingerprint->text(), QStringLiteral("鍵の指紋：（鍵を読めません）"));
        dialogs.saveAnswers.push_back(qsPath(userFolder / "export.txt"));
        click(keys, "Button1");
        EXPECT_EQ(readBytes(keyFile()), "no key");
        dialogs.confirmAnswers.push_back(true);
        click(keys, "Button3");
        EXPECT_EQ(fingerprint->text(), fingerprintLine(readKeyFrom(keyFile())));
    });
    EXPECT_FALSE(std::filesystem::exists(userFolder / "export.txt"));
    const std::vector<QString> errors = dialogs.texts(ScriptedDialogs::Kind::Error);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("64桁の16進数"))) << errors[0].toStdString();
    EXPECT_EQ(errors[1], errors[0]);

    dialogs.shown.clear();
    context.keyFolder.clear();
    withKeyWindow([&](QWidget* keys, QLabel*) {
        for (const char* button : {"Button1", "Button2", "Button3"}) click(keys, button);
    });
    EXPECT_EQ(dialogs.texts(ScriptedDialogs::Kind::Error),
              std::vector<QString>(4, qs(msg::errorBoxText(msg::kNoUserSettingsFolder))));
}

using OptionWindow = GuiTest;

TEST_F(OptionWindow, OpensWithTheFocusOnTheFirstTool) {
    inModal([&] { TfrmOption::DspSet(context, nullptr); },
            [&](QWidget* window) { EXPECT_EQ(window->focusWidget(), child(window, "Button1")); });
}

}  // namespace
}  // namespace vask::test
