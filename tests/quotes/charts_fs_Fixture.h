// What the minute chart tests share: the simulated server with its clock
// fixed on a trading morning, the application state over a fresh data
// directory, the real "fschart" window, stand-ins that record what the
// chart opens (K-line, order form, deal details, trade login), a shown host
// window that opens a chart as a chosen search result does, and readers of
// the chart on screen.
#pragma once

#include "core/CDataSetWriter.h"
#include "framework/app/CAppData.h"
#include "framework/app/CMenuTree.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/QuoteWindows.h"
#include "quotes/charts/CFSChartView.h"
#include "tools/simulator/SimMarketDay.h"
#include "quotes/charts/CFSData.h"
#include "quotes/charts/CFSFrame.h"
#include "support/SimAppTest.h"
#include "tools/simulator/CSimMenuTree.h"
#include "tools/simulator/SimChartRoutes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

// What the stand-ins saw: keyword to request texts, in order.
inline std::map<std::string, std::vector<std::string>> g_chartOpened;

// A stand-in for a window the chart opens: records its request text and
// closes with −1 as soon as it is shown.
class CChartChildStub : public CNetWnd {
public:
    explicit CChartChildStub(std::string keyword) : m_keyword(std::move(keyword)) {}
    ~CChartChildStub() override { Destroy(); }
    const char* GetClassName() const override { return "CChartChildStub"; }
    void SetMenuParams(int menuId, const char* param, const char* request) override {
        g_chartOpened[m_keyword].push_back(request ? request : "");
        CNetWnd::SetMenuParams(menuId, param, request);
    }
    void OnWindowShown() override { PostMessage(WND_MSG_CLOSE, 0, -1); }

private:
    std::string m_keyword;
};

// The host: plays the window a person came from. kOpenNode (lParam: a
// menu node id) opens that node as a tap on its row would.
class CChartHostWnd : public CNetWnd {
public:
    enum : UINT { kOpenNode = WM_USER + 71 };
    ~CChartHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CChartHostWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kOpenNode) {
            CMenuTree* tree = CAppData::Instance()->GetMenuTree();
            CMenuNode* node = tree ? tree->FindById(static_cast<int>(lParam)) : nullptr;
            if (node)
                GetWndManager().CreateWnd(node->keyword.c_str(), node->id, node->title.c_str(), node->param.c_str(),
                                          node->request.c_str(), 0, this);
            return 0;
        }
        return CNetWnd::OnMessage(msg, wParam, lParam);
    }
};

// The ms of a day and minute in China time, the simulator's clock.
inline int64_t ChartLocalMs(int year, int month, int day, int hour, int minute) {
    return SimChinaMs(year, month, day, hour, minute);
}

class ChartTest : public SimAppTest {
protected:
    ChartTest() : SimAppTest("orb_chart") {}

    std::unique_ptr<CChartHostWnd> host;

    void SetUp() override {
        g_chartOpened.clear();
        CSimChartRoutes::FailMinuteSets(0, 0);
        SimAppTest::SetUp();
        sim.SetClock(ChartLocalMs(2026, 12, 7, 10, 15)); // a Monday morning
    }
    void TearDown() override {
        SimAppTest::TearDown();
        CSimChartRoutes::FailMinuteSets(0, 0);
    }
    void ReleaseWindows() override { host.reset(); }

    // Starts the program with the charts registered; loggedIn adds a trade
    // account so that orders open the order form.
    void Start(bool loggedIn = false) {
        ASSERT_TRUE(driver.Start([this, loggedIn] {
            CAppData* app = CreateAppData();
            ASSERT_NE(app, nullptr);
            CDataSetWriter menus;
            CSimMenuTree::WriteMenus(menus);
            const std::vector<uint8_t> body = menus.Serialize();
            ASSERT_TRUE(app->WriteDatFile("Menus", body.data(), body.size()));
            app->SetSetting("Quote_IsRefresh", "1", false);
            app->SetSetting("Quote_RefeWait", "5", false);
            if (loggedIn)
                LogInAccount(*app);
            RegisterQuoteWindows();
            CWndManager& wm = CWndManager::Instance();
            for (const char* keyword :
                 {"kxchart", "buysale", "CStockDealDetailWnd", "CSalesDeptSetWnd", "COrbTradeLoginWnd", "F10"}) {
                wm.RegisterWindow(keyword, [keyword](const CWndCreateInfo&) {
                    return std::unique_ptr<CBaseWnd>(new CChartChildStub(keyword));
                });
            }
            host = std::make_unique<CChartHostWnd>();
            host->SetCaption(u"行情");
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
    }

    static void LogInAccount(CAppData& app) {
        CDataSetWriter w;
        w.AddSet("holder");
        const int fund = w.AddColumn(DataSetType::AnsiText, "fundid");
        w.AddRow();
        w.SetAnsiText(fund, "10001");
        const auto body = w.Serialize();
        CDataSetList list(body.data(), static_cast<int>(body.size()));
        app.AddAccount(list.Detach(0), "10001", "L1", "pw", u"李四", u"");
    }

    // Opens the chart of request ("date=&code=...") over the host, as a
    // chosen search result does, and waits for its first reply.
    void OpenChart(const std::string& request) {
        driver.RunOnGui([this, request] {
            char* copy = static_cast<char*>(std::malloc(request.size() + 1));
            std::memcpy(copy, request.c_str(), request.size() + 1);
            UiMessageLoop::Current()->PostOwned(host->GetHandle(), WND_MSG_OPEN_FSCHART, 0,
                                                reinterpret_cast<LPARAM>(copy), &FreeChartRequestText);
        });
        driver.WaitForRest();
    }

    HWND ChartHandle() {
        for (const CWindowInfo& w : driver.OpenWindows())
            if (w.className == "CFSFrame")
                return w.handle;
        return nullptr;
    }
    // Runs fn with the chart on the GUI thread (fn is not run without one).
    template <class F>
    auto OnChart(F&& fn) {
        const HWND handle = ChartHandle();
        return driver.RunOnGui([&fn, handle] {
            CFSFrame* frame = dynamic_cast<CFSFrame*>(UiWin::FromHandle(handle));
            using R = decltype(fn(*frame));
            return frame ? fn(*frame) : R{};
        });
    }
    std::string TopWindow() {
        std::string top;
        for (const CWindowInfo& w : driver.OpenWindows())
            if (w.depth == 0 && w.visible)
                top = w.className;
        return top;
    }
    // The times of the held points, in order.
    std::vector<int> HeldTimes() {
        return OnChart([](CFSFrame& f) {
            std::vector<int> times;
            for (int i = 0; i < f.GetData()->GetCount(); ++i)
                times.push_back(f.GetData()->GetInt(CFSData::kColTime, i));
            return times;
        });
    }
    std::vector<SimRequest> Minutes() const { return Requests(31000, 1); }

    // A point of the view (picture coordinates) on the screen.
    CPoint Screen(int x, int y) {
        return OnChart([x, y](CFSFrame& f) {
            const CRect screen = f.GetScreenRect();
            const CRect picture = f.GetPictureRect();
            return CPoint{screen.left + picture.left + x, screen.top + picture.top + y};
        });
    }
    CFSLayout Layout() {
        return OnChart([](CFSFrame& f) { return f.GetView() ? f.GetView()->GetFSLayout() : CFSLayout{}; });
    }
    // The chart menu's entries, dismissed.
    std::vector<std::u16string> ChartMenu() {
        const size_t before = driver.Shown().size();
        driver.AnswerNext(ModalKind::PopupMenu, CFSFrame::kMenuCancel);
        CDriverControls::PressBottomButton(driver, 0);
        const std::vector<CShownModal> shown = driver.Shown();
        return shown.size() > before ? shown.back().items : std::vector<std::u16string>{};
    }
    bool ChooseMenu(int id) {
        driver.AnswerNext(ModalKind::PopupMenu, id);
        return CDriverControls::PressBottomButton(driver, 0);
    }
};
