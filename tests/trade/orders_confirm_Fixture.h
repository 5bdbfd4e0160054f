// What the confirmation page tests share: the simulated broker with its
// exchange, the application state logged on to its service and holding a
// logged-in trade account, a host window the page runs over, and the
// watch-list route recorded instead of stored.
#pragma once

#include "framework/app/AppRequestTail.h"
#include "framework/app/CAppData.h"
#include "framework/app/CAppNetContext.h"
#include "framework/net/CHttpPostClient.h"
#include "framework/net/CServiceLogon.h"
#include "framework/net/RequestText.h"
#include "framework/ui/CBaseWnd.h"
#include "platform/testing/CDriverControls.h"
#include "platform/win/CGuiTask.h"
#include "support/SimAppTest.h"
#include "trade/orders/CTradeConfirmWnd.h"

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The window a person came from: runs what it is told to (a page).
class CConfirmHostWnd : public CBaseWnd {
public:
    enum : UINT { kRun = WM_USER + 70 };
    std::function<void()> run;
    ~CConfirmHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CConfirmHostWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kRun && run) {
            run();
            return 0;
        }
        return CBaseWnd::OnMessage(msg, wParam, lParam);
    }
};

// The page's opener's view: what it ran, and what came back (GUI thread).
struct CConfirmLog {
    std::vector<int> closeCodes;
    std::vector<std::string> watchItems;
};
inline CConfirmLog g_confirm;

// A row of the holder set a trade login hands out.
struct HolderRow {
    const char* market;
    const char* secuid;
    const char16_t* name;
    const char* fundid = "000100012345";
};

class ConfirmPageTest : public SimAppTest {
protected:
    ConfirmPageTest() : SimAppTest("orb_confirm") {}

    // 张伟's holders; his trade login is the server's first session.
    static constexpr char kSzHolder[] = "market=0&secuid=0100012345&fundid=000100012345";
    static constexpr char kShHolder[] = "market=1&secuid=A100012345&fundid=000100012345";
    static constexpr char kSession[] = "custid=000100012345&tradesession=T0001";

    std::unique_ptr<CConfirmHostWnd> host;

    void SetUp() override {
        g_confirm = CConfirmLog();
        SimAppTest::SetUp();
    }
    void ReleaseWindows() override {
        host.reset();
        CAppData::SetWatchListRoute(nullptr);
    }

    // The program logged on to the simulator's service, with the account
    // 000100012345 logged in through 500/1 (its login id the session text,
    // then extra, then "&operway=i"), and the host shown.
    void Start(const std::string& extra = "") {
        ASSERT_TRUE(driver.Start([this, extra] {
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
            const std::string loginId = TradeLogin(client, *app, key) + extra + "&operway=i";
            ASSERT_EQ(loginId.rfind(kSession, 0), 0u) << loginId;
            // Short bounds, so the slow and dripping faults end the exchange.
            app->GetSharedConnection()->SetTimeouts(2000, 2000, 600);
            auto holders = std::make_unique<CDataSet>("holder");
            for (const char* column : {"market", "secuid", "fundid"})
                holders->AddColumn(DataSetType::AnsiText, column);
            holders->AddColumn(DataSetType::WideText, "~market");
            app->AddAccount(std::move(holders), "000100012345", loginId.c_str(), "123456", u"张伟", u"营业部");
            app->SetTradeLoggedIn(true);
            CAppData::SetWatchListRoute([](const char* item, UiWin*) {
                g_confirm.watchItems.push_back(item);
                return 1;
            });
            host = std::make_unique<CConfirmHostWnd>();
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
    }

    // The session text the simulator's trade login hands 000100012345; empty
    // when the login failed.
    static std::string TradeLogin(CHttpPostClient& client, CAppData& app, const std::string& key) {
        std::string text;
        const std::string login = "tc_mfuncno=500&tc_sfuncno=1&inputtype=Z&custorgid=0001&inputid=000100012345"
                                  "&trdpwd=123456&operway=i&authtype=0&authdata=";
        if (!ComposeRequest(-1, 0, login, MakeAppRequestTail(app), true, key, &text))
            return {};
        const CHttpOutcome out = client.Post(text, key, true);
        CDataSetList reply(out.body.data(), static_cast<int>(out.body.size()));
        CDataSet* set = *reply.GetAt(0);
        if (out.transportCode != 0 || reply.IsError() || !set || !set->MoveFirst())
            return {};
        const std::u16string session = set->GetFieldText(0).str();
        return std::string(session.begin(), session.end());
    }

    // Opens the page over the host with the entries and waits until it shows.
    void Open(ConfirmMode mode, std::vector<ConfirmEntry> entries, std::optional<CPriceTypeItem> type = std::nullopt,
              std::u16string title = u"交易确认") {
        driver.RunOnGui([this, mode, entries, type, title] {
            host->run = [this, mode, entries, type, title] {
                g_confirm.closeCodes.push_back(
                    CTradeConfirmWnd::Run(host.get(), title, mode, entries, type ? &*type : nullptr));
            };
            host->PostMessage(CConfirmHostWnd::kRun);
        });
    }
    // The OK press, as a finger gives it, with every message box it brings
    // answered OK; waits for the whole exchange.
    bool PressOk() {
        AnswerBoxes();
        return CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle);
    }
    void AnswerBoxes() {
        for (int i = 0; i < 4; ++i)
            driver.AnswerNext(ModalKind::MessageBox, IDOK);
    }
    // The last message box's text; empty when none showed.
    std::u16string LastTold() const {
        const std::vector<std::u16string> told = ShownTexts();
        return told.empty() ? std::u16string() : told.back();
    }

    // GUI thread: the page on the screen, or null.
    static CTradeConfirmWnd* Page() {
        UiWin* label = CDriverControls::FindShownControl(CTradeConfirmWnd::kLabelId);
        for (UiWin* w = label; w; w = w->GetParent())
            if (auto* page = dynamic_cast<CTradeConfirmWnd*>(w))
                return page;
        return nullptr;
    }
    bool PageShown() {
        return driver.RunOnGui([] { return Page() != nullptr; });
    }
    // The requests of the trade functions the server has seen.
    size_t TradeRequests() const {
        return Requests(500, 6).size() + Requests(500, 7).size() + Requests(100, 20).size();
    }
    // Today's orders of the logged-in account as the server lists them
    // (500/10 under the program's current service logon), one text per
    // order with every field; a failed query gives one "failed" text.
    std::vector<std::string> TodaysOrders() {
        struct Asking {
            std::string text, key;
        };
        const Asking asking = driver.RunOnGui([] {
            CAppData& app = *CAppData::Instance();
            const std::string key = app.GetSessionKey().str();
            std::string text;
            ComposeRequest(-1, 0, std::string("tc_mfuncno=500&tc_sfuncno=10&") + app.GetLoginId() +
                                      "&fundid=000100012345",
                           MakeAppRequestTail(app), true, key, &text);
            return Asking{text, key};
        });
        CHttpPostClient client;
        client.SetServer("127.0.0.1", sim.GetPort());
        const CHttpOutcome out = client.Post(asking.text, asking.key, true);
        CDataSetList reply(out.body.data(), static_cast<int>(out.body.size()));
        CDataSet* set = reply.IsError() ? nullptr : *reply.GetAt(0);
        if (asking.text.empty() || out.transportCode != 0 || !set)
            return {"failed"};
        std::vector<std::string> orders;
        for (bool on = set->MoveFirst(); on; on = set->MoveNext()) {
            std::u16string row;
            for (int c = 0; c < set->GetColumnCount(); ++c)
                row += set->GetFieldText(c).str() + u"|";
            orders.push_back(CWString(row).ToAnsi());
        }
        return orders;
    }

    // Start, then 张伟's account again with these holder rows (and their
    // "~market" names) in place of the empty set.
    void StartWith(const std::vector<HolderRow>& rows) {
        Start();
        driver.RunOnGui([rows] {
            CAppData* app = CAppData::Instance();
            auto holders = std::make_unique<CDataSet>("holder");
            for (const char* column : {"market", "secuid", "fundid"})
                holders->AddColumn(DataSetType::AnsiText, column);
            holders->AddColumn(DataSetType::WideText, "~market");
            for (const HolderRow& r : rows) {
                holders->AddRow(-1);
                holders->SetField(0, r.market, 1);
                holders->SetField(1, r.secuid, static_cast<int>(std::strlen(r.secuid)));
                holders->SetField(2, r.fundid, static_cast<int>(std::strlen(r.fundid)));
                holders->SetField(3, r.name, static_cast<int>(std::char_traits<char16_t>::length(r.name) * 2));
            }
            const std::string login = app->GetLoginId();
            app->RemoveAccount(0);
            app->AddAccount(std::move(holders), "000100012345", login.c_str(), "123456", u"张伟", u"营业部");
            app->SetTradeLoggedIn(true);
        });
    }

    // Runs fn on the GUI thread now, without waiting for rest (a request in
    // flight holds rest off).
    template <class F>
    void Now(F fn) {
        driver.Loop()->PostTask(std::function<void()>(fn))->WaitStartedThenDone(5000);
    }

    // The request as the server opened it: its parameters joined again,
    // the common tail left out.
    static std::string OpenedText(const SimRequest& r) {
        std::string text;
        for (const auto& [name, value] : r.params) {
            if (name == "tc_service" || name == "tc_isunicode")
                continue;
            if (name == "imei")
                break;
            text += (text.empty() ? "" : "&") + name + "=" + value;
        }
        return text;
    }
};
