// What the tables post to another window with an allocated payload: the
// receiver takes what reaches it, and the loop frees what finds the
// receiver gone. A payload dropped instead is a leak of this test, which
// the sanitizer build's leak check reports.
#include "framework/ui/WndMessages.h"
#include "platform/testing/CGTestDriver.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CStockSortParamWnd.h"

#include <gtest/gtest.h>

namespace {

// Stands for the ranking table and the search's owner: frees what reaches it.
class CPayloadOwnerWin : public UiWin {
public:
    ~CPayloadOwnerWin() override { Destroy(); }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WND_MSG_PARAMS_CHOSEN)
            FreeSortChoice(lParam);
        else if (msg == WND_MSG_OPEN_FSCHART)
            FreeChartRequestText(lParam);
        else
            return UiWin::WndProc(msg, wParam, lParam);
        ++taken;
        return 0;
    }
    int taken = 0;
};

TEST(OwnedPosts, TheSortChoiceAndTheChartTextReachTheirOwnerOrAreFreedWhenItIsGone) {
    CGTestDriver driver;
    CPayloadOwnerWin staying, leaving;
    ASSERT_TRUE(driver.Start([&] {
        staying.Create(nullptr, {0, 36, 480, 720}, 1);
        leaving.Create(nullptr, {0, 36, 480, 720}, 2);
    }));
    driver.RunOnGui([&] {
        for (CPayloadOwnerWin* owner : {&staying, &leaving}) {
            CStockSortParamWnd form(u"全部排序", owner);
            form.OnToolbarCommand(0); // 确定
            CEditMyStockWnd search(u"查找个股", owner, CEditMyStockWnd::kModeSearch);
            search.GetList().AddCheckItem(u"华岳银行(600010.02)", "600010.02", false);
            search.OpenMenuChild(0);
        }
        leaving.Destroy(); // before the posts are dispatched
    });
    EXPECT_EQ(driver.RunOnGui([&] { return staying.taken; }), 2);
    EXPECT_EQ(driver.RunOnGui([&] { return leaving.taken; }), 0);
    driver.Stop();
}

} // namespace
