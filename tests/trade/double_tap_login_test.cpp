// Quick second taps on the trade login road, queued through the event
// queue before the first is handled: the caption's 交易 opens one login
// form, 登录 sends one login, a caption press while the login is out opens
// nothing, and the token application leaves once.
#include "double_tap_Support.h"
#include "login_Fixture.h"

#include "platform/storage/CRegistry.h"
#include "tools/simulator/SimTokenRoutes.h"
#include "trade/dyncode/CMobileDynCodeApplyWnd.h"
#include "trade/dyncode/CMobileDynCodeCtrWnd.h"
#include "trade/dyncode/MobileDynCodeTxtWnd.h"

namespace {

using doubletap::CaptionTradePoint;
using doubletap::COpenPeak;
using doubletap::DoubleTapBottom;

class DoubleTapLoginTest : public TradeLoginTest {
protected:
    COpenPeak logins;

    int OpenNow(const char* className) {
        return doubletap::OpenNow(driver, className);
    }
    // The host alone shown, no modal run left.
    void ExpectOnlyTheHost() {
        EXPECT_EQ(TopWindow(), "CTradeHostWnd");
        int shown = 0;
        for (const CWindowInfo& w : driver.OpenWindows())
            shown += w.depth == 0 && w.visible;
        EXPECT_EQ(shown, 1) << driver.DescribeWindows();
        EXPECT_EQ(driver.RunOnGui([] { return UiMessageLoop::Current()->ModalDepth(); }), 0);
    }
};

TEST_F(DoubleTapLoginTest, TheCaptionsTradeTwiceOpensOneLoginFormAndLoginTwiceSendsOneLogin) {
    Start();
    logins.Watch(driver, "COrbTradeLoginWnd");
    const std::optional<CPoint> trade = CaptionTradePoint(driver);
    ASSERT_TRUE(trade);
    ASSERT_TRUE(driver.TapAll({*trade, *trade}));
    ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd");
    EXPECT_EQ(logins.Peak(driver), 1);

    TypeInto(COrbTradeLoginWnd::kAccountId, u"12345");
    TypeInto(COrbTradeLoginWnd::kPasswordId, u"123456");
    for (int i = 0; i < 3; ++i)
        driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 1).size(), 1u);
    EXPECT_TRUE(Shown(u"您已经成功登陆交易系统！"));
    EXPECT_EQ(logins.Peak(driver), 1);
    EXPECT_EQ(OpenNow("COrbTradeLoginWnd"), 0);
    ExpectOnlyTheHost();
}

TEST_F(DoubleTapLoginTest, ACaptionPressWhileTheLoginIsOutOpensNoSecondForm) {
    Start();
    RunEntry();
    ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd");
    logins.Watch(driver, "COrbTradeLoginWnd");
    TypeInto(COrbTradeLoginWnd::kAccountId, u"12345");
    TypeInto(COrbTradeLoginWnd::kPasswordId, u"123456");
    for (int i = 0; i < 3; ++i)
        driver.AnswerNext(ModalKind::MessageBox, IDOK);
    const std::optional<CPoint> login = CDriverControls::BottomButtonPoint(driver, CBaseWnd::kToolbarMiddle);
    const std::optional<CPoint> trade = CaptionTradePoint(driver);
    ASSERT_TRUE(login && trade);
    ASSERT_TRUE(driver.TapAll({*login, *trade}));
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 1).size(), 1u);
    EXPECT_EQ(logins.Peak(driver), 1) << "the login form opened over itself";
    EXPECT_EQ(g_tradeHost.closeCodes, std::vector<int>{1});
    ExpectOnlyTheHost();
}

TEST_F(DoubleTapLoginTest, TheTokenApplicationTappedTwiceLeavesOnce) {
    sim.AddRoutes(std::make_unique<CSimTokenRoutes>(accounts));
    Start("0003");
    OnApp([](CAppData& app) {
        return CRegistry(app.MakeDataPath(CRegistry::kFileName).view()).Write(CRegRecord::kKey, u"Focus",
                                                                               u"13800138000");
    });
    RunEntry();
    ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd");
    ASSERT_TRUE(CDriverControls::TapControl(driver, COrbTradeLoginWnd::kTokenButtonId));
    ASSERT_EQ(TopWindow(), "CMobileDynCodeCtrWnd");
    // 申请 twice: one risk notice.
    COpenPeak notices;
    notices.Watch(driver, "MobileDynCodeTxtWnd");
    const std::optional<CPoint> apply = CDriverControls::BottomButtonPoint(driver, CMobileDynCodeCtrWnd::kBarApply);
    ASSERT_TRUE(apply);
    ASSERT_TRUE(driver.TapAll({*apply, *apply}));
    ASSERT_EQ(TopWindow(), "MobileDynCodeTxtWnd");
    EXPECT_EQ(notices.Peak(driver), 1);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(CDriverControls::TapControl(driver, MobileDynCodeTxtWnd::kCheckId));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_EQ(TopWindow(), "CMobileDynCodeApplyWnd");
    TypeInto(CMobileDynCodeApplyWnd::kAccountId, u"56789");
    TypeInto(CMobileDynCodeApplyWnd::kPasswordId, u"246810");

    for (int i = 0; i < 3; ++i)
        driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(DoubleTapBottom(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 69).size(), 1u);
    EXPECT_TRUE(Shown(u"手机令牌申请成功"));
    EXPECT_EQ(TopWindow(), "CMobileDynCodeCtrWnd");
}

} // namespace
