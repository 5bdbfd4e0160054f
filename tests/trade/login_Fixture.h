// What the trade login and account-list tests share: the simulated broker
// with its trade accounts (shared, so a test sets token seeds), a fresh
// data directory with a logged-on application state and two departments
// of the user's list, the trade windows registered, and a host window that
// plays a trade entry point: it runs CAppData::CheckTradeLogin and records
// the close code and the login notices it is posted.
#pragma once

#include "core/CDataSetWriter.h"
#include "framework/app/AppRequestTail.h"
#include "framework/app/CAppData.h"
#include "framework/net/CServiceLogon.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "support/SimAppTest.h"
#include "tools/simulator/SimTradeLoginRoutes.h"
#include "trade/TradeWindows.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/login/COrbTradeLoginWnd.h"
#include "trade/login/CTradeLoginAccountWnd.h"
#include "trade/login/SalesDeptStore.h"
#include "trade/login/TradeAccountHistory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct CTradeHostLog {
    std::vector<int> closeCodes;  // what CheckTradeLogin returned
    std::vector<int> notices;     // WND_MSG_TRADE_LOGGED_IN lParams
};
inline CTradeHostLog g_tradeHost;

class CTradeHostWnd : public CNetWnd {
public:
    enum : UINT { kRunEntry = WM_USER + 80 }; // wParam: new-login flag
    static constexpr int kNotifyValue = 7;
    ~CTradeHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CTradeHostWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kRunEntry) {
            g_tradeHost.closeCodes.push_back(
                CAppData::Instance()->CheckTradeLogin(this, kNotifyValue, wParam != 0));
            return 0;
        }
        if (msg == WND_MSG_TRADE_LOGGED_IN)
            g_tradeHost.notices.push_back(static_cast<int>(lParam));
        return CNetWnd::OnMessage(msg, wParam, lParam);
    }
};

class TradeLoginTest : public SimAppTest {
protected:
    TradeLoginTest() : SimAppTest("orb_tradelogin") {}

    std::shared_ptr<CSimTradeAccounts> accounts = std::make_shared<CSimTradeAccounts>();
    std::unique_ptr<CTradeHostWnd> host;

    static constexpr char kFund[] = "000100012345";  // 张伟, password 123456, the simple way
    static constexpr char kTokenFund[] = "000300056789"; // 王芳, password 246810, a phone token

    void SetUp() override {
        g_tradeHost = CTradeHostLog();
        SimAppTest::SetUp();
        sim.AddRoutes(std::make_unique<CSimTradeLoginRoutes>(accounts));
    }
    void ReleaseWindows() override { host.reset(); }

    // Starts the program logged on to the simulator with departments
    // "0001" and "0003" and the department setting deptCode.
    void Start(const char* deptCode = "0001") {
        ASSERT_TRUE(driver.Start([this, deptCode] {
            CAppData* app = CreateAppData();
            ASSERT_NE(app, nullptr);
            std::string key, session;
            ASSERT_EQ(CServiceLogon::Run(*app->GetSharedConnection(), ORB_SOURCE_DIR "/resources/pubkey.bin",
                                         MakeAppRequestTail(*app), &key, &session),
                      0);
            app->SetSessionKey(key);
            app->SetSession(session);
            ASSERT_TRUE(SaveSalesDepts(*app, {{"0001", u"深圳深南中路证券营业部"}, {"0003", u"上海浦东南路证券营业部"}}));
            app->SetSetting("Trade_SCCode", deptCode, false);
            RegisterTradeWindows();
            host = std::make_unique<CTradeHostWnd>();
            host->SetCaption(u"行情");
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
        sim.ClearRequestLog();
    }

    template <class F>
    auto OnApp(F&& fn) {
        return driver.RunOnGui([&fn] { return fn(*CAppData::Instance()); });
    }

    // 王芳's phone token kept with the simulator's default seed, its
    // counter at 0.
    void KeepTokenSeed() {
        driver.RunOnGui([] {
            ASSERT_TRUE(
                StoreDynCodeSeed(*CAppData::Instance(), kTokenFund, CSimTradeAccounts::kDefaultSeed, u"", true, 0));
        });
    }
    // The trade entry point as a buy command runs it.
    void RunEntry(bool newLogin = false) {
        driver.RunOnGui([this, newLogin] { host->PostMessage(CTradeHostWnd::kRunEntry, newLogin ? 1 : 0); });
        driver.WaitForRest();
    }
    std::string TopWindow() {
        std::string top;
        for (const CWindowInfo& w : driver.OpenWindows())
            if (w.depth == 0 && w.visible)
                top = w.className;
        return top;
    }
    // Types into a box of the form (a tap gives it the focus).
    void TypeInto(int id, std::u16string_view text) {
        ASSERT_TRUE(CDriverControls::TapControl(driver, id));
        driver.TypeText(text);
    }
    // Replaces a box's text as the program would.
    void SetBox(int id, std::u16string_view text) {
        driver.RunOnGui([id, text] {
            if (auto* box = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(id)))
                box->SetText(text);
        });
    }
    // Fills the form and presses "登录"; answers the next message box with OK.
    void Login(std::u16string_view account, std::u16string_view password) {
        if (!account.empty())
            TypeInto(COrbTradeLoginWnd::kAccountId, account);
        TypeInto(COrbTradeLoginWnd::kPasswordId, password);
        driver.AnswerNext(ModalKind::MessageBox, IDOK);
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
        driver.WaitForRest();
    }
    // Puts password in its box and presses "登录" with the form as it is;
    // answers the next message box with OK.
    void PressLogin(std::u16string_view password) {
        SetBox(COrbTradeLoginWnd::kPasswordId, password);
        driver.AnswerNext(ModalKind::MessageBox, IDOK);
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
        driver.WaitForRest();
    }
    bool Shown(std::u16string_view text) const {
        for (const std::u16string& t : ShownTexts())
            if (t == text)
                return true;
        return false;
    }
    // Whether the top window's "登录" (or other middle button) can be pressed.
    bool ToolbarEnabled() {
        return driver.RunOnGui([] {
            auto* bar = dynamic_cast<UiButtonBar*>(CDriverControls::FindShownControl(UI_BOTTOM_BAR_ID));
            return bar && bar->IsButtonEnabled(CBaseWnd::kToolbarMiddle);
        });
    }
    std::vector<CHisAccountRecord> History() {
        return OnApp([](CAppData& app) { return ReadHistoryAccounts(app); });
    }
    // The phone token's code of account without moving its counter; empty
    // when the store has no row.
    std::string StoredCode(const char* account) {
        return OnApp([account](CAppData& app) {
            std::string code;
            GetDynCodeForAccount(app, account, code, false);
            return code;
        });
    }
};
