// Quick second taps on the order form, its confirmation page and the cancel
// table, queued through the event queue before the first is handled: one
// page opens, one request reaches the server, and the windows come back in
// order after 返回.
#include "double_tap_Support.h"
#include "orders_confirm_Fixture.h"

#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/widgets/CGridCtrl.h"
#include "platform/ui/UiEdit.h"
#include "trade/TradeWindows.h"
#include "trade/orders/CTradeBuySaleWnd.h"
#include "trade/queries/CTradeQueryTableWnd.h"

#include <algorithm>
#include <cstring>

namespace {

using doubletap::DoubleTapBottom;
using doubletap::OpenCount;

class DoubleTapOrderTest : public ConfirmPageTest {
protected:
    void SetUp() override {
        ConfirmPageTest::SetUp();
        RegisterTradeWindows();
    }
    // 张伟 with his Shenzhen and Shanghai A holders.
    void StartWithHolders() { StartWith({{"0", "0100012345", u"深A"}, {"1", "A100012345", u"沪A"}}); }
    // Runs fn over the host, as a screen opens the window fn runs.
    void RunOverHost(std::function<void()> fn) {
        driver.RunOnGui([this, fn] {
            host->run = fn;
            host->PostMessage(CConfirmHostWnd::kRun);
        });
        ASSERT_TRUE(driver.WaitForRest());
    }
    int OpenNow(const char* className) {
        return doubletap::OpenNow(driver, className);
    }
    // The host alone is open and shown, and no modal run is left.
    void ExpectOnlyTheHost() {
        doubletap::ExpectOnlyShown(driver, "CConfirmHostWnd");
    }
    // The order form for 600010, 200 shares.
    void OpenForm() {
        RunOverHost([this] {
            CBaseWnd::GetWndManager().RunWindow(std::make_unique<CTradeBuySaleWnd>(), -1, u"买入", "",
                                                "code=600010.02&MMLB=0", host.get(), ANIM_NONE, ANIM_NONE);
        });
        driver.RunOnGui([] {
            if (auto* edit = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(CTradeBuySaleWnd::kQuantityId)))
                edit->SetText(u"200");
        });
        ASSERT_EQ(OpenNow("CTradeBuySaleWnd"), 1);
    }
    // The cancel table over the host, listing what rests.
    void OpenCancelTable() {
        RunOverHost([this] {
            CWndManager::Instance().CreateWnd(kTradeCancelKeyword, 372, u"撤单", "", "tc_mfuncno=500&tc_sfuncno=14",
                                              0, host.get());
        });
    }
    std::optional<CPoint> RowPoint(int row) {
        const std::optional<CRect> grid = CDriverControls::ControlScreenRect(driver, CTableWnd::kGridId);
        if (!grid)
            return std::nullopt;
        const int h = CTradeQueryTableWnd::kRowHeight;
        return CPoint{grid->left + 60, grid->top + h * (row + 1) + h / 2};
    }
    static CTradeQueryTableWnd* Table() {
        UiWin* grid = CDriverControls::FindShownControl(CTableWnd::kGridId);
        return grid ? dynamic_cast<CTradeQueryTableWnd*>(grid->GetParent()) : nullptr;
    }
    int TableRows() {
        return driver.RunOnGui([] { return Table() ? Table()->GetGrid().GetRowCount() : -1; });
    }
    // An order for 600010 at 8.00 that rests, placed through the page.
    void PlaceRestingOrder() {
        Open(ConfirmMode::Buy, {{u"600010", u"华岳银行", u"8.00", u"100", u"", kShHolder}},
             CPriceTypeItem(u"限价委托", "0B"));
        ASSERT_TRUE(PageShown());
        ASSERT_TRUE(PressOk());
        ASSERT_EQ(Requests(500, 6).size(), 1u);
    }
};

TEST_F(DoubleTapOrderTest, ADoubleTapOnBuyOpensOnePageAndItsDoubleTapOnOkSendsOneOrder) {
    StartWithHolders();
    OpenForm();
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(OpenNow("CTradeConfirmWnd"), 1);
    EXPECT_TRUE(PageShown());
    EXPECT_EQ(TradeRequests(), 0u);

    AnswerBoxes();
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 6).size(), 1u);
    EXPECT_EQ(OpenNow("CTradeConfirmWnd"), 0);
    EXPECT_EQ(driver.RunOnGui([] { return CDriverControls::FindShownControl(CTradeBuySaleWnd::kCodeId) != nullptr; }),
              true)
        << "the form is in front again";

    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));
    EXPECT_EQ(OpenNow("CTradeBuySaleWnd"), 0);
    ExpectOnlyTheHost();
    EXPECT_EQ(Requests(500, 6).size(), 1u);
}

TEST_F(DoubleTapOrderTest, ASecondTapQueuedAsThePageOpensNeverReachesItsOk) {
    // The page's 确定 lies where the form's 买入 was: a tap made before the
    // page showed is dropped, not taken as a press on it.
    StartWithHolders();
    OpenForm();
    const std::optional<CPoint> buy = CDriverControls::BottomButtonPoint(driver, CBaseWnd::kToolbarMiddle);
    ASSERT_TRUE(buy);
    AnswerBoxes();
    driver.RunOnGui([p = *buy] {
        UiMessageLoop* loop = UiMessageLoop::Current();
        loop->InjectMouse(WM_LBUTTONDOWN, p);
        loop->InjectMouse(WM_LBUTTONUP, p);
        // Once the first tap is released (its command queued), the second
        // follows the command.
        const std::uint64_t serial = loop->GetPress().serial;
        loop->SetAfterDispatchHook([loop, p, serial, sent = false]() mutable {
            const CPressInfo press = loop->GetPress();
            if (sent || press.serial == serial || press.down)
                return;
            sent = true;
            loop->InjectMouse(WM_LBUTTONDOWN, p);
            loop->InjectMouse(WM_LBUTTONUP, p);
        });
    });
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] { UiMessageLoop::Current()->SetAfterDispatchHook(nullptr); });
    EXPECT_TRUE(PageShown());
    EXPECT_EQ(TradeRequests(), 0u) << "the order left unread";
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));
    ExpectOnlyTheHost();
    EXPECT_EQ(TradeRequests(), 0u);
}

TEST_F(DoubleTapOrderTest, ADoubleTapOnACancelRowOrOnCancelOpensOnePageAndSendsOneCancellation) {
    StartWithHolders();
    PlaceRestingOrder();
    OpenCancelTable();
    ASSERT_EQ(TableRows(), 1);
    const std::optional<CPoint> row = RowPoint(0);
    ASSERT_TRUE(row);
    ASSERT_TRUE(driver.TapAll({*row, *row}));
    EXPECT_EQ(OpenNow("CTradeConfirmWnd"), 1);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));
    EXPECT_EQ(OpenNow("CTradeConfirmWnd"), 0);

    // The row still selected: 撤单 twice.
    driver.RunOnGui([] { Table()->GetGrid().SetSelectedRow(0); });
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(OpenNow("CTradeConfirmWnd"), 1);
    AnswerBoxes();
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 7).size(), 1u);
    EXPECT_EQ(OpenNow("CTradeConfirmWnd"), 0);
    EXPECT_EQ(TableRows(), 0);

    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));
    ExpectOnlyTheHost();
    EXPECT_EQ(Requests(500, 7).size(), 1u);
}

TEST_F(DoubleTapOrderTest, ATapOnTheCancelledRowAsThePageReturnsOpensNoSecondPage) {
    StartWithHolders();
    PlaceRestingOrder();
    OpenCancelTable();
    const std::optional<CPoint> row = RowPoint(0);
    ASSERT_TRUE(row);
    ASSERT_TRUE(driver.Tap(row->x, row->y));
    ASSERT_TRUE(PageShown());
    // The tap is queued in the very turn the page's run returns, before
    // the table's re-query leaves.
    const size_t queriesBefore = Requests(500, 14).size();
    driver.RunOnGui([p = *row] {
        UiMessageLoop* loop = UiMessageLoop::Current();
        loop->SetAfterDispatchHook([loop, p, sent = false]() mutable {
            if (sent || OpenCount("CTradeConfirmWnd") != 0)
                return;
            sent = true;
            loop->InjectMouse(WM_LBUTTONDOWN, p);
            loop->InjectMouse(WM_LBUTTONUP, p);
        });
    });
    AnswerBoxes();
    ASSERT_TRUE(PressOk());
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] { UiMessageLoop::Current()->SetAfterDispatchHook(nullptr); });
    EXPECT_EQ(Requests(500, 7).size(), 1u);
    EXPECT_EQ(Requests(500, 14).size(), queriesBefore + 1);
    EXPECT_EQ(OpenNow("CTradeConfirmWnd"), 0) << "no second confirmation";
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));
    ExpectOnlyTheHost();
}

} // namespace
