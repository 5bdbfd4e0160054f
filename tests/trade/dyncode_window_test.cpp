// The phone-token window and its application road against the simulated
// broker: one page shown at a time, the application sent only by the
// press (never by a picker's close or a refresh), the seed stored and its
// code accepted by the server's login, and the refusals that send nothing.
#include "login_Fixture.h"

#include "framework/net/CNetWorker.h"
#include "framework/net/NetFailure.h"
#include "framework/ui/CMakeChoiceWnd.h"
#include "platform/gdi/CSurface.h"
#include "platform/storage/CRegistry.h"
#include "platform/win/CGuiTask.h"
#include "platform/win/UiMessageLoop.h"
#include "tools/simulator/SimTokenRoutes.h"
#include "trade/dyncode/CMobileDynCodeApplyWnd.h"
#include "trade/dyncode/CMobileDynCodeCtrWnd.h"
#include "trade/dyncode/MobileDynCodeTxtWnd.h"

#include <chrono>
#include <thread>

namespace {

constexpr char16_t kMobile[] = u"13800138000";

class DynCodeWindowTest : public TradeLoginTest {
protected:
    void SetUp() override {
        TradeLoginTest::SetUp();
        sim.AddRoutes(std::make_unique<CSimTokenRoutes>(accounts));
    }
    void SetMobile(std::u16string_view mobile) {
        OnApp([mobile](CAppData& app) {
            return CRegistry(app.MakeDataPath(CRegistry::kFileName).view()).Write(CRegRecord::kKey, u"Focus", mobile);
        });
    }
    // The login form, then its token button.
    void OpenTokenWindow() {
        RunEntry();
        ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd");
        ASSERT_TRUE(CDriverControls::TapControl(driver, COrbTradeLoginWnd::kTokenButtonId));
        ASSERT_EQ(TopWindow(), "CMobileDynCodeCtrWnd");
    }
    int VisibleWindows() {
        int n = 0;
        for (const CWindowInfo& w : driver.OpenWindows())
            n += w.depth == 0 && w.visible;
        return n;
    }
    // From the token window to the application form, as a person goes.
    void WalkToForm() {
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CMobileDynCodeCtrWnd::kBarApply));
        ASSERT_EQ(TopWindow(), "MobileDynCodeTxtWnd");
        EXPECT_NE(driver.ControlVisible(MobileDynCodeTxtWnd::kCheckId), true) << "the risk notice has no box";
        ASSERT_TRUE(ToolbarEnabled()) << "the cached risk text enables 下一步";
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
        ASSERT_EQ(TopWindow(), "MobileDynCodeTxtWnd");
        EXPECT_EQ(VisibleWindows(), 1) << driver.DescribeWindows();
        EXPECT_FALSE(ToolbarEnabled()) << "确定 waits for the box";
        ASSERT_TRUE(CDriverControls::TapControl(driver, MobileDynCodeTxtWnd::kCheckId));
        ASSERT_TRUE(ToolbarEnabled());
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
        ASSERT_EQ(TopWindow(), "CMobileDynCodeApplyWnd");
        EXPECT_EQ(VisibleWindows(), 1) << driver.DescribeWindows();
    }
    // Calls fn on the shown application form (GUI thread).
    template <class F>
    void OnForm(F&& fn) {
        driver.RunOnGui([&fn] {
            for (UiWin* top : UiMessageLoop::Current()->TopLevelWindows())
                if (auto* form = dynamic_cast<CMobileDynCodeApplyWnd*>(top); form && form->IsVisible())
                    fn(*form);
        });
        driver.WaitForRest();
    }
};

TEST_F(DynCodeWindowTest, TheRoadAppliesOnceStoresTheSeedAndItsFirstCodeLogsOn) {
    Start("0003");
    SetMobile(kMobile);
    OpenTokenWindow();
    EXPECT_EQ(Requests(100, 5).size(), 1u);
    EXPECT_TRUE(driver.ScreenShows(u"您尚未在本手机申请手机令牌"));
    WalkToForm();
    EXPECT_EQ(Requests(100, 5).size(), 1u) << "the cached texts are not asked for again";
    EXPECT_EQ(driver.ControlText(CMobileDynCodeApplyWnd::kAccountId), u"");
    TypeInto(CMobileDynCodeApplyWnd::kAccountId, u"56789");
    TypeInto(CMobileDynCodeApplyWnd::kPasswordId, u"246810");
    // A swipe back from the department picker, a refresh, a child's close.
    ASSERT_TRUE(CDriverControls::TapControl(driver, CMobileDynCodeApplyWnd::kDeptPickerId));
    ASSERT_EQ(TopWindow(), "CMakeChoiceWnd");
    // Swiped away: the picker closes with code 1.
    driver.RunOnGui([] {
        for (UiWin* top : UiMessageLoop::Current()->TopLevelWindows())
            if (auto* picker = dynamic_cast<CMakeChoiceWnd*>(top))
                picker->PostMessage(WND_MSG_CLOSE, 0, 1);
    });
    driver.WaitForRest();
    ASSERT_EQ(TopWindow(), "CMobileDynCodeApplyWnd");
    OnForm([](CMobileDynCodeApplyWnd& form) {
        form.OnChildClosed(1);
        form.Refresh();
        form.PostRequest(-1, 0);
    });
    EXPECT_TRUE(Requests(500, 69).empty()) << "only the press sends the application";

    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    driver.WaitForRest();
    const auto sent = Requests(500, 69);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].rawBody.find("trdpwd"), std::string::npos) << "sealed";
    for (const auto& [name, value] : {std::pair<const char*, const char*>{"inputtype", "Z"}, {"custorgid", "0003"},
                                      {"inputid", kTokenFund}, {"trdpwd", "246810"}, {"mobileno", "13800138000"}})
        EXPECT_EQ(sent[0].Get(name), value) << name;
    EXPECT_TRUE(Shown(u"手机令牌申请成功"));
    ASSERT_EQ(TopWindow(), "CMobileDynCodeCtrWnd");
    EXPECT_EQ(driver.RunOnGui([] {
        for (UiWin* top : UiMessageLoop::Current()->TopLevelWindows())
            if (auto* w = dynamic_cast<CMobileDynCodeCtrWnd*>(top); w && w->IsVisible())
                return w->GetList().GetCount() == 1 && w->GetList().GetItemText(0) == u"000300056789" &&
                       w->GetList().GetCurSel() == 0;
        return false;
    }),
              true);
    // The holders share the fund account's seed; the first code is the
    // server's, and the login form, back on top, logs on with it.
    const std::string code = OnApp([](CAppData& app) {
        std::string c;
        GetDynCodeForAccount(app, "C300056789", c, false);
        return c;
    });
    EXPECT_EQ(code, CSimTradeAccounts::Hotp(CSimTokenRoutes::SeedFor(kTokenFund, 1), 1));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CMobileDynCodeCtrWnd::kBarBack));
    driver.WaitForRest();
    ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd");
    SetBox(COrbTradeLoginWnd::kAccountId, u"");
    TypeInto(COrbTradeLoginWnd::kAccountId, u"56789");
    Login(u"", u"246810");
    const auto login = Requests(500, 1);
    ASSERT_EQ(login.size(), 1u);
    EXPECT_EQ(login[0].Get("authtype"), "5");
    EXPECT_EQ(login[0].Get("authdata"), code);
    EXPECT_TRUE(Shown(u"您已经成功登陆交易系统！"));
}

TEST_F(DynCodeWindowTest, WithoutARegisteredNumberOrWithAFaultyReplyNothingIsStoredAndTheUserIsTold) {
    Start("0003");
    OpenTokenWindow();
    WalkToForm();
    TypeInto(CMobileDynCodeApplyWnd::kAccountId, u"56789");
    TypeInto(CMobileDynCodeApplyWnd::kPasswordId, u"246810");
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    driver.WaitForRest();
    EXPECT_TRUE(Requests(500, 69).empty());
    EXPECT_TRUE(Shown(u"本机未登记手机号码，无法申请手机令牌！"));

    SetMobile(kMobile);
    sim.SetRoute(500, 69, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("token");
        w.AddColumn(DataSetType::AnsiText, "seed");
        w.AddColumn(DataSetType::AnsiText, "fundidlist");
        w.AddColumn(DataSetType::AnsiText, "secuidlist");
        w.AddRow();
        w.SetAnsiText(0, "ABC");
        w.SetAnsiText(1, "000300056789");
        w.SetAnsiText(2, "");
        return SimReply::Ok(w);
    });
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    driver.WaitForRest();
    EXPECT_EQ(Requests(500, 69).size(), 1u);
    EXPECT_TRUE(Shown(u"令牌种子格式错误，手机令牌未保存"));
    EXPECT_EQ(StoredCode(kTokenFund), "");
    EXPECT_EQ(TopWindow(), "CMobileDynCodeApplyWnd");
    EXPECT_TRUE(ToolbarEnabled());

    // A lost reply is told, never resent.
    sim.InjectFaultFor(500, 69, SimFault(SimFaultKind::CloseAfterRequest));
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    driver.WaitForRest();
    EXPECT_EQ(Requests(500, 69).size(), 2u);
    EXPECT_TRUE(Shown(kOutcomeUnknownText));
    EXPECT_EQ(StoredCode(kTokenFund), "");
}

TEST_F(DynCodeWindowTest, AnEmptyTextKeepsTheRoadClosed) {
    Start("0003");
    sim.SetRoute(100, 5, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("dyncode");
        for (const char* name : {"usage", "risk", "tip"})
            w.AddColumn(DataSetType::WideText, name);
        return SimReply::Ok(w);
    });
    OpenTokenWindow();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CMobileDynCodeCtrWnd::kBarApply));
    ASSERT_EQ(TopWindow(), "MobileDynCodeTxtWnd");
    EXPECT_TRUE(driver.ScreenShows(MobileDynCodeTxtWnd::kNoInfoText));
    EXPECT_FALSE(ToolbarEnabled());
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(TopWindow(), "MobileDynCodeTxtWnd") << "a disabled 下一步 leads nowhere";
}
} // namespace

TEST_F(DynCodeWindowTest, ABusySharedWorkerLeavesTheApplicationToAWorkerOfTheFormsOwnAndTheGuiNeverWaits) {
    Start("0003");
    SetMobile(kMobile);
    OpenTokenWindow();
    WalkToForm();
    TypeInto(CMobileDynCodeApplyWnd::kAccountId, u"56789");
    TypeInto(CMobileDynCodeApplyWnd::kPasswordId, u"246810");
    SimFault refused(SimFaultKind::ErrorSet);
    refused.errorText = u"账号或交易密码错误";
    sim.InjectFaultFor(500, 69, refused);
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 1500;
    sim.InjectFaultFor(500, 1, slow);
    // Another window's trade login holds the shared worker: it has left,
    // so it is never cut off. The press comes while it is out.
    const auto onGui = [this](std::function<void()> fn) {
        driver.Loop()->PostTask(std::move(fn))->WaitStartedThenDone(5000);
    };
    auto taken = std::make_shared<bool>(false);
    onGui([taken] {
        *taken = CAppData::Instance()->GetNetWorker()->PostRequest(nullptr, "TC_MFUNCNO=500&TC_SFUNCNO=1&x=1",
                                                                   CNetWorker::kNeverResend);
    });
    ASSERT_TRUE(*taken);
    for (int i = 0; i < 100 && Requests(500, 1).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(Requests(500, 1).size(), 1u);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    onGui([] {
        for (UiWin* top : UiMessageLoop::Current()->TopLevelWindows())
            if (auto* form = dynamic_cast<CMobileDynCodeApplyWnd*>(top); form && form->IsVisible())
                form->OnOk();
    });
    // The application is answered while the other request is still out.
    for (int i = 0; i < 100 && !Shown(u"账号或交易密码错误"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(Shown(u"账号或交易密码错误"));
    EXPECT_EQ(Requests(500, 69).size(), 1u);
    driver.WaitForRest();
    bool own = false;
    OnForm([&own](CMobileDynCodeApplyWnd& form) { own = form.HasOwnWorker() && !form.IsSending(); });
    EXPECT_TRUE(own) << "sent through a worker of its own, not after waiting for the shared one";
    EXPECT_TRUE(ToolbarEnabled());
    EXPECT_EQ(Requests(500, 1).size(), 1u);
}

TEST_F(DynCodeWindowTest, TheUsageHintSitsClearOfItsPanelsFrameOnOneLineAndReads) {
    Start("0003");
    SetMobile(kMobile);
    OpenTokenWindow();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CMobileDynCodeCtrWnd::kBarApply));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(driver.ControlVisible(MobileDynCodeTxtWnd::kCheckId));
    std::optional<CDrawnText> hint;
    for (const CDrawnText& t : driver.ScreenTexts())
        if (t.text.find(u"请务必认真阅读使用说明") != std::u16string::npos)
            hint = t;
    ASSERT_TRUE(hint);
    EXPECT_NE(hint->text.find(u"97413。"), std::u16string::npos) << "one line, whole";
    EXPECT_GE(ContrastRatio(hint->color, 0xFFFFFF), 4.5);
    driver.RunOnGui([&] {
        const CSurface& screen = UiMessageLoop::Current()->Screen();
        const CRect r = hint->rect;
        EXPECT_GE(r.left, 16);
        EXPECT_LE(r.right, screen.Width() - 16);
        // The panel's frame is the first grey line above the text.
        int frame = r.top - 1;
        while (frame > 0 && screen.GetPixel(r.left + 40, frame) != 0xA0A0A0)
            --frame;
        EXPECT_GE(r.top - frame, 6) << "frame at " << frame << ", text at " << r.top;
        EXPECT_LE(r.top - frame, 20);
    });
}
