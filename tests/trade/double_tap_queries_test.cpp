// Quick second taps on the account windows, queued through the event queue
// before the first is handled: 行权 opens one confirmation page, its 确定
// sends one exercise, and the password change leaves once.
#include "double_tap_Support.h"
#include "queries_Fixture.h"

#include "trade/queries/CFundTradeConfirmWnd.h"
#include "trade/queries/CTradePasswordWnd.h"
#include "trade/queries/CWarrantWnd.h"

namespace {

using doubletap::COpenPeak;
using doubletap::DoubleTapBottom;

class DoubleTapQueryTest : public TradeQueryTest {
protected:
    int OpenNow(const char* className) {
        return doubletap::OpenNow(driver, className);
    }
    // The host alone shown, no modal run left.
    void ExpectOnlyTheHost() {
        doubletap::ExpectOnlyShown(driver, "CQueryHostWnd");
    }
};

TEST_F(DoubleTapQueryTest, ExerciseTwiceOpensOnePageAndItsOkTwiceSendsOneExercise) {
    Start();
    Open<CWarrantWnd>(78, "");
    ASSERT_TRUE(CDriverControls::TapControl(driver, CWarrantWnd::kCodeId));
    ASSERT_TRUE(driver.TypeText(u"582010"));
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([] { Shown<CWarrantWnd>()->QuantityField().SetText(u"100"); });
    COpenPeak pages;
    pages.Watch(driver, "CFundTradeConfirmWnd");
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(OpenNow("CFundTradeConfirmWnd"), 1);
    EXPECT_TRUE(driver.ScreenShows(u"权证行权确认"));
    EXPECT_EQ(sim.CountRequests(100, 29), 0);

    AnswerBoxes();
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(sim.CountRequests(100, 29), 1);
    EXPECT_EQ(LastTold().rfind(u"委托已提交，合同序号为", 0), 0u);
    EXPECT_EQ(OpenNow("CFundTradeConfirmWnd"), 0);
    EXPECT_EQ(pages.Peak(driver), 1);
    ASSERT_NE(driver.RunOnGui([] { return Shown<CWarrantWnd>(); }), nullptr) << "the form is in front again";

    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight));
    ExpectOnlyTheHost();
    EXPECT_EQ(sim.CountRequests(100, 29), 1);
}

TEST_F(DoubleTapQueryTest, ThePasswordChangeTappedTwiceLeavesOnce) {
    Start();
    Open<CTradePasswordWnd>(77, "tc_mfuncno=500&tc_sfuncno=13&");
    driver.RunOnGui([] {
        CTradePasswordWnd* form = Shown<CTradePasswordWnd>();
        form->OldField().SetText(u"123456");
        form->NewField().SetText(u"654321");
        form->ConfirmField().SetText(u"654321");
    });
    AnswerBoxes();
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 13).size(), 1u);
    EXPECT_EQ(LastTold(), CTradePasswordWnd::kDone);
    EXPECT_EQ(g_queryCloseCodes, std::vector<int>{1});
    ExpectOnlyTheHost();
}

} // namespace
