#include <gtest/gtest.h>

#include "../gui/gui_test_support.h"
#include "app/option_window.h"
#include "app/syosai_window.h"
#include "gui/widgets.h"

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

using OptionWindow = GuiTest;

TEST_F(OptionWindow, OpensWithTheFocusOnTheFirstTool) {
    inModal([&] { TfrmOption::DspSet(context, nullptr); },
            [&](QWidget* window) { EXPECT_EQ(window->focusWidget(), child(window, "Button1")); });
}

}  // namespace
}  // namespace vask::test
