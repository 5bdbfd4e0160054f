// The pop-up option menu: scripted answers with the items recorded, its
// height rule, and a real run answered by a finger.
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "widgets_Fixture.h"

#include <climits>

namespace {

class PopMenuTest : public WidgetTest {
protected:
    std::unique_ptr<CPopMenuWnd> menu;

    // The row-action menu of the query tables.
    void MakeMenu() {
        menu = std::make_unique<CPopMenuWnd>();
        menu->AddItem(u"取消", UI_BTN_PUSH, 121);
        menu->AddItem(u"返回首页", UI_BTN_PUSH, 120);
        menu->AddItem(u"买入", UI_BTN_PUSH, 123);
        menu->AddItem(u"卖出", UI_BTN_PUSH, 122);
    }
    // Runs the menu from the form's window procedure, as a screen does,
    // and returns once it is open (or already answered).
    void Open() {
        driver.RunOnGui([this] {
            form->modalAction = [this] { return menu->TrackMenu(form.get()); };
            form->modalResult = INT_MIN;
            form->PostMessage(CTestForm::kRunModal);
        });
    }
    int Result() {
        return driver.RunOnGui([this] { return form->modalResult; });
    }
    void TearDown() override {
        driver.Stop();
        menu.reset();
        WidgetTest::TearDown();
    }
};

} // namespace

TEST_F(PopMenuTest, AScriptedMenuReturnsTheScriptedIdRecordsItsItemsAndShowsNothing) {
    MakeMenu();
    EXPECT_EQ(menu->GetItemCommand(4), 0);
    EXPECT_EQ(menu->GetItemCommand(-1), 0);
    EXPECT_TRUE(menu->GetItemText(9).IsEmpty());
    driver.AnswerNext(ModalKind::PopupMenu, 123);
    Open();
    EXPECT_EQ(Result(), 123);
    const auto shown = driver.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ModalKind::PopupMenu);
    EXPECT_EQ(shown[0].items, (std::vector<std::u16string>{u"取消", u"返回首页", u"买入", u"卖出"}));
    EXPECT_EQ(driver.RunOnGui([] { return UiMessageLoop::Current()->ModalDepth(); }), 0);
}

TEST_F(PopMenuTest, AMenuTallerThanTheWorkAreaIsCappedToIt) {
    MakeMenu();
    driver.RunOnGui([this] {
        for (int i = 0; i < 4; ++i)
            menu->AddItem(u"更多", UI_BTN_PUSH, 130 + i);
        EXPECT_EQ(menu->GetHeight(), UiMessageLoop::Current()->GetWorkRect().Height());
    });
}

TEST_F(PopMenuTest, ATapOnAButtonReturnsItsCommandAndTheMenuSlidesInAndOut) {
    MakeMenu();
    Open();
    EXPECT_EQ(Result(), INT_MIN) << "the menu is open";
    const CRect panel = driver.RunOnGui([this] { return menu->GetPanelRect(); });
    const CRect work = driver.RunOnGui([] { return UiMessageLoop::Current()->GetWorkRect(); });
    EXPECT_EQ(panel.Height(), 408);
    EXPECT_EQ(panel.Width(), work.Width());
    EXPECT_EQ(panel.bottom, work.Height()) << "anchored to the bottom of the work area";
    ASSERT_TRUE(CDriverControls::TapControl(driver, CPopMenuWnd::kFirstButtonId + 2)); // "买入"
    EXPECT_EQ(Result(), 123);
    driver.RunOnGui([this] {
        EXPECT_EQ(menu->GetLastShowAnimation(), ANIM_SLIDE_UP);
        EXPECT_EQ(menu->GetLastHideAnimation(), ANIM_SLIDE_DOWN);
        EXPECT_FALSE(menu->IsCreated());
    });
    ASSERT_EQ(driver.Shown().size(), 1u);
    EXPECT_EQ(driver.Shown()[0].answer, 123);
}

TEST_F(PopMenuTest, EscapeOrATapAboveThePanelDismissesTheMenuWhichRunsAgainAfterwards) {
    MakeMenu();
    Open();
    ASSERT_TRUE(TapForm(240, 40));
    EXPECT_EQ(Result(), 0);
    EXPECT_TRUE(Reports().empty()) << "the form below heard nothing";
    Open();
    ASSERT_TRUE(driver.PressKey(VK_ESCAPE));
    EXPECT_EQ(Result(), 0);
    Open();
    ASSERT_TRUE(CDriverControls::TapControl(driver, CPopMenuWnd::kFirstButtonId));
    EXPECT_EQ(Result(), 121);
    driver.RunOnGui([this] { menu = std::make_unique<CPopMenuWnd>(); }); // empty: 0 without showing
    Open();
    EXPECT_EQ(Result(), 0);
}
