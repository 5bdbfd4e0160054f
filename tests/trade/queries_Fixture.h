// What the history, password and warrant window tests share: the simulated
// broker, the application logged on to its service with 张伟 logged in
// through 500/1 (his holders in the four markets), a host window, and the
// window under test run over it as the trade menu runs it.
#pragma once

#include "framework/app/AppRequestTail.h"
#include "framework/app/CAppData.h"
#include "framework/app/CAppNetContext.h"
#include "framework/net/CHttpPostClient.h"
#include "framework/net/CServiceLogon.h"
#include "framework/net/RequestText.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/CBaseWnd.h"
#include "platform/testing/CDriverControls.h"
#include "platform/win/CGuiTask.h"
#include "platform/testing/ShownWindow.h"
#include "platform/win/UiMessageLoop.h"
#include "support/SimAppTest.h"

#include <chrono>
#include <functional>
#include <thread>
#include <memory>
#include <string>
#include <vector>

class CQueryHostWnd : public CBaseWnd {
public:
    enum : UINT { kRun = WM_USER + 71 };
    std::function<void()> run;
    ~CQueryHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CQueryHostWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kRun && run) {
            run();
            return 0;
        }
        return CBaseWnd::OnMessage(msg, wParam, lParam);
    }
};

inline std::vector<int> g_queryCloseCodes;

class TradeQueryTest : public SimAppTest {
protected:
    TradeQueryTest() : SimAppTest("orb_trade_queries") {}

    static constexpr char kSession[] = "custid=000100012345&tradesession=T0001";
    std::unique_ptr<CQueryHostWnd> host;

    void SetUp() override {
        g_queryCloseCodes.clear();
        SimAppTest::SetUp();
        // 4 December 2026, 15:30 in Beijing: the history has its past.
        sim.SetClock(int64_t{1796369400} * 1000);
    }
    void ReleaseWindows() override { host.reset(); }

    // Logs on to the service and 000100012345 in through 500/1, then adds
    // a second account (000100012346, logged in the same way) when second.
    void Start(bool second = false) {
        ASSERT_TRUE(driver.Start([this, second] {
            CAppData* app = CreateAppData();
            ASSERT_NE(app, nullptr);
            const std::string pubkey = std::string(ORB_SOURCE_DIR) + "/resources/pubkey.bin";
            CAppNetContext::Instance().SetPublicKeyPath(pubkey);
            CHttpPostClient client;
            client.SetServer("127.0.0.1", sim.GetPort());
            std::string key, session;
            ASSERT_EQ(CServiceLogon::Run(client, pubkey, MakeAppRequestTail(*app), &key, &session), 0);
            app->SetSessionKey(key);
            app->SetSession(session);
            app->GetSharedConnection()->SetTimeouts(2000, 2000, 600);
            if (second)
                AddLogin(client, *app, key, "000100012346", "135790", "authtype=2&authdata=orb2026");
            AddLogin(client, *app, key, "000100012345", "123456", "authtype=0&authdata=");
            app->SetTradeLoggedIn(true);
            host = std::make_unique<CQueryHostWnd>();
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
    }

    // Logs the account in and adds it with the holders of its login reply.
    static void AddLogin(CHttpPostClient& client, CAppData& app, const std::string& key, const char* fundid,
                         const char* password, const char* auth) {
        std::string text;
        const std::string login = std::string("tc_mfuncno=500&tc_sfuncno=1&inputtype=Z&custorgid=0001&inputid=") +
                                  fundid + "&trdpwd=" + password + "&operway=i&" + auth;
        ASSERT_TRUE(ComposeRequest(-1, 0, login, MakeAppRequestTail(app), true, key, &text));
        const CHttpOutcome out = client.Post(text, key, true);
        CDataSetList reply(out.body.data(), static_cast<int>(out.body.size()));
        ASSERT_EQ(out.transportCode, 0);
        ASSERT_FALSE(reply.IsError());
        CDataSet* set = *reply.GetAt(0);
        ASSERT_TRUE(set && set->MoveFirst());
        const std::u16string session = set->GetFieldText(0).str();
        const std::string loginId = std::string(session.begin(), session.end()) + "&operway=i";
        auto holders = std::make_unique<CDataSet>("holder");
        for (const char* column : {"market", "secuid", "fundid"})
            holders->AddColumn(DataSetType::AnsiText, column);
        holders->AddColumn(DataSetType::WideText, "~market");
        static const struct {
            const char* market;
            const char16_t* name;
            const char* prefix;
        } kMarkets[] = {{"0", u"深A", "01"}, {"1", u"沪A", "A1"}};
        for (const auto& m : kMarkets) {
            holders->AddRow(-1);
            const std::string secuid = std::string(m.prefix) + std::string(fundid).substr(4);
            for (const auto& [column, value] : {std::pair{0, std::string(m.market)}, std::pair{1, secuid},
                                                std::pair{2, std::string(fundid)}})
                holders->SetField(column, value.data(), static_cast<int>(value.size()));
            const std::u16string name = m.name;
            holders->SetField(3, name.data(), static_cast<int>(name.size() * 2));
        }
        app.AddAccount(std::move(holders), fundid, loginId.c_str(), password, u"客户", u"营业部");
    }

    // Runs the window over the host as the trade menu does, and waits until it shows.
    template <class T>
    void Open(int menuId, const char* request) {
        const std::string text = request;
        driver.RunOnGui([this, menuId, text] {
            host->run = [this, menuId, text] {
                g_queryCloseCodes.push_back(
                    CWndManager::Instance().RunWindow(std::make_unique<T>(), menuId, u"交易", "", text.c_str(), host.get())
                        .closeCode);
            };
            host->PostMessage(CQueryHostWnd::kRun);
        });
        ASSERT_TRUE(driver.WaitForRest());
    }
    // GUI thread: the shown window of class T, the topmost first.
    template <class T>
    static T* Shown() {
        return ShownTopWindow<T>();
    }
    void AnswerBoxes(int n = 4) {
        for (int i = 0; i < n; ++i)
            driver.AnswerNext(ModalKind::MessageBox, IDOK);
    }
    std::u16string LastTold() const {
        const std::vector<std::u16string> told = ShownTexts();
        return told.empty() ? std::u16string() : told.back();
    }
    // True once the server has seen a request of (main, sub), within 5 s.
    bool WaitForFunction(int main, int sub) const {
        for (int i = 0; i < 500; ++i) {
            if (sim.CountRequests(main, sub) > 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    // Runs fn on the GUI thread now, without waiting for rest.
    template <class F>
    void Now(F fn) {
        driver.Loop()->PostTask(std::function<void()>(fn))->WaitStartedThenDone(5000);
    }
};
