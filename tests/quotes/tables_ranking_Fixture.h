// What the ranking, sort-form and board-table tests share: the simulated
// broker server, a fresh data directory and application state pointed at it
// with the server's menu tree and option groups stored, the test driver, a
// shown host window that opens menu nodes as a tap on a menu row would, and
// stand-ins for the windows the tables open (they record their texts and
// close at once).
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
#include "quotes/tables/COrbStockTableWnd.h"
#include "quotes/tables/CStockBoardTableWnd.h"
#include "support/SimAppTest.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/CSimMenuTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the opened windows saw (GUI thread writes, tests read through RunOnGui
// or after the driver rests).
struct CRankingLog {
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> opened; // keyword: (param, request)
    std::map<std::string, std::vector<std::u16string>> titles;
    int paramsChosen = 0;              // WND_MSG_PARAMS_CHOSEN messages the ranking table took
    std::vector<int> hostChildCodes;   // close codes the host was told
    COrbStockTableWnd* table = nullptr; // the ranking or board table on screen, if any
};
inline CRankingLog g_ranking;

// A stand-in for a window a table opens: records its texts and closes with
// −1 as soon as it is shown.
class CRecordingStubWnd : public CNetWnd {
public:
    explicit CRecordingStubWnd(std::string keyword) : m_keyword(std::move(keyword)) {}
    ~CRecordingStubWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CRecordingStubWnd"; }
    void SetMenuParams(int menuId, const char* param, const char* request) override {
        g_ranking.opened[m_keyword].emplace_back(param ? param : "", request ? request : "");
        g_ranking.titles[m_keyword].push_back(std::u16string(GetTitle().view()));
        CNetWnd::SetMenuParams(menuId, param, request);
    }
    void OnWindowShown() override { PostMessage(WND_MSG_CLOSE, 0, -1); }

private:
    std::string m_keyword;
};

// The ranking table as registered for the tests: counts the sort choices
// it takes and makes itself findable.
class CCountingRankingWnd : public COrbStockTableWnd {
public:
    CCountingRankingWnd() { g_ranking.table = this; }
    ~CCountingRankingWnd() override {
        if (g_ranking.table == this)
            g_ranking.table = nullptr;
    }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WND_MSG_PARAMS_CHOSEN)
            ++g_ranking.paramsChosen;
        return COrbStockTableWnd::OnMessage(msg, wParam, lParam);
    }
};

class CFindableBoardWnd : public CStockBoardTableWnd {
public:
    CFindableBoardWnd() { g_ranking.table = this; }
    ~CFindableBoardWnd() override {
        if (g_ranking.table == this)
            g_ranking.table = nullptr;
    }
};

// The host: plays the menu window a person came from. kOpenNode (lParam:
// a menu node id) opens that node as a tap on its row would.
class CRankingHostWnd : public CNetWnd {
public:
    enum : UINT { kOpenNode = WM_USER + 70 };
    ~CRankingHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CRankingHostWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kOpenNode) {
            CMenuTree* tree = CAppData::Instance()->GetMenuTree();
            CMenuNode* node = tree ? tree->FindById(static_cast<int>(lParam)) : nullptr;
            if (node)
                GetWndManager().CreateWnd(node->keyword.c_str(), node->id, node->title.c_str(), node->param.c_str(),
                                          node->request.c_str(), 0, this);
            return 0;
        }
        if (msg == WND_MSG_CHILD_CLOSED)
            g_ranking.hostChildCodes.push_back(static_cast<int>(static_cast<LPARAM>(wParam)));
        return CNetWnd::OnMessage(msg, wParam, lParam);
    }
};

class RankingTest : public SimAppTest {
protected:
    RankingTest() : SimAppTest("orb_ranking") {}

    std::unique_ptr<CRankingHostWnd> host;

    // Menu node ids of the simulator's tree.
    static constexpr int kNodeAllRising = 2;      // "沪深排名": market=12&type=A&sort=zf&direct=1
    static constexpr int kNodeShanghaiRising = 31; // "上证A股涨幅": market=2&type=A&sort=zf
    static constexpr int kNodeBoardAi = 54;       // "人工智能": bkph, sector GN02

    void SetUp() override {
        g_ranking = CRankingLog();
        SimAppTest::SetUp();
    }
    void ReleaseWindows() override { host.reset(); }

    // Starts the program over the simulator with its menu tree and the
    // option groups (config, when given, writes other groups instead).
    void Start(std::function<void(CDataSetWriter&)> config = CSimMenuTree::WriteConfig) {
        ASSERT_TRUE(driver.Start([this, config] {
            CAppData* app = CreateAppData();
            ASSERT_NE(app, nullptr);
            CDataSetWriter menus;
            CSimMenuTree::WriteMenus(menus);
            const std::vector<uint8_t> menuBody = menus.Serialize();
            ASSERT_TRUE(app->WriteDatFile("Menus", menuBody.data(), menuBody.size()));
            CDataSetWriter groups;
            config(groups);
            const std::vector<uint8_t> configBody = groups.Serialize();
            ASSERT_TRUE(app->WriteDatFile("config", configBody.data(), configBody.size()));

            RegisterQuoteWindows();
            CWndManager& wm = CWndManager::Instance();
            wm.RegisterWindow("pxhq", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CCountingRankingWnd());
            });
            wm.RegisterWindow("bkph", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CFindableBoardWnd());
            });
            for (const char* keyword : {"fschart", "buysale", "xxhq", "CSalesDeptSetWnd", "COrbTradeLoginWnd"}) {
                wm.RegisterWindow(keyword, [keyword](const CWndCreateInfo&) {
                    return std::unique_ptr<CBaseWnd>(new CRecordingStubWnd(keyword));
                });
            }
            host = std::make_unique<CRankingHostWnd>();
            host->SetCaption(u"行情");
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
    }

    // Opens a menu node from the host and waits until its first reply is in.
    void OpenNode(int id) {
        driver.RunOnGui([this, id] { host->PostMessage(CRankingHostWnd::kOpenNode, 0, id); });
        driver.WaitForRest();
    }

    // The simulator's ranking of the first n stocks (in list order), paged
    // by the request's offset and count: for pages that end short.
    void ServeRankingOf(int n) {
        sim.SetRoute(31000, 3, [n](const SimRequest& r, CSimMarket& market) {
            const std::vector<int> fields = CSimMarket::ParseFieldList(r.Get("field"));
            const int offset = r.GetInt("offset", 0);
            const int count = r.GetInt("count", 20);
            CDataSetWriter w;
            w.AddSet("hq");
            CSimMarket::AddFieldColumns(w, fields);
            int index = 0;
            for (const SimStock& s : market.Stocks()) {
                if (s.secType != 1 || index >= n)
                    continue;
                if (index >= offset && index < offset + count)
                    CSimMarket::WriteFieldRow(w, fields, s);
                ++index;
            }
            return SimReply::Ok(w);
        });
    }

    std::vector<SimRequest> Rankings() const { return Requests(31000, 3); }

    bool MessageShown(std::u16string_view text) const {
        for (const std::u16string& t : ShownTexts())
            if (t == text)
                return true;
        return false;
    }

    // Reads the table on screen on the GUI thread.
    template <class F>
    auto OnTable(F&& fn) {
        return driver.RunOnGui([&fn] { return fn(*g_ranking.table); });
    }
    int RowCount() {
        return driver.RunOnGui([] { return g_ranking.table ? g_ranking.table->GetRowCount() : -1; });
    }
    // The texts of a column of the rows, in row order.
    std::vector<std::u16string> Column(int cell) {
        return driver.RunOnGui([cell] {
            std::vector<std::u16string> out;
            if (COrbStockTableWnd* t = g_ranking.table)
                for (int i = 0; i < t->GetRowCount(); ++i)
                    out.emplace_back(t->GetRowData(i)->GetText(cell).view());
            return out;
        });
    }
    std::u16string Caption() {
        return driver.RunOnGui([] {
            return g_ranking.table ? std::u16string(g_ranking.table->GetTitle().view()) : std::u16string();
        });
    }
    // Taps the header at a share of its width (0..1) from its left edge.
    bool TapHeaderAt(double share) {
        const std::optional<CRect> r = CDriverControls::ControlScreenRect(driver, COrbTableWnd::kHeaderListId);
        if (!r)
            return false;
        return driver.Tap(r->left + static_cast<int>(r->Width() * share), (r->top + r->bottom) / 2);
    }
    // Chooses an option-menu command (the menu takes the scripted answer).
    bool ChooseMenu(int id) {
        driver.AnswerNext(ModalKind::PopupMenu, id);
        return CDriverControls::PressBottomButton(driver, 0);
    }
    // The stored watch list up to its NUL.
    std::string StoreText() const {
        const std::string text = temp.ReadText("MyQuotes.dat").value_or("");
        return text.substr(0, text.find('\0'));
    }
};
