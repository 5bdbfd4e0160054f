// What the detail quote and deal page tests share: the simulated broker
// server, a fresh data directory and application state pointed at it with
// the server's menu tree, the test driver, a shown host window that opens a
// keyword with given texts as the tables and the charts do, the pages as
// registered (findable), and stand-ins for the windows they open, which
// record their texts and close at once.
#pragma once

#include "core/CDataSetWriter.h"
#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "quotes/QuoteWindows.h"
#include "quotes/info/CStockDealDetailWnd.h"
#include "quotes/info/CStockDetaiPriceWnd.h"
#include "support/SimAppTest.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/CSimMenuTree.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// What the pages opened and where they are (GUI thread writes; tests read
// through RunOnGui or after the driver rests).
struct CInfoLog {
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> opened; // keyword: (param, request)
    std::map<std::string, std::vector<std::u16string>> titles;
    CStockDetaiPriceWnd* detail = nullptr;
    CStockDealDetailWnd* deals = nullptr;
};
inline CInfoLog g_info;

class CInfoStubWnd : public CNetWnd {
public:
    explicit CInfoStubWnd(std::string keyword) : m_keyword(std::move(keyword)) {}
    ~CInfoStubWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CInfoStubWnd"; }
    void SetMenuParams(int menuId, const char* param, const char* request) override {
        g_info.opened[m_keyword].emplace_back(param ? param : "", request ? request : "");
        g_info.titles[m_keyword].push_back(std::u16string(GetTitle().view()));
        CNetWnd::SetMenuParams(menuId, param, request);
    }
    void OnWindowShown() override { PostMessage(WND_MSG_CLOSE, 0, -1); }

private:
    std::string m_keyword;
};

class CFindableDetailWnd : public CStockDetaiPriceWnd {
public:
    CFindableDetailWnd() { g_info.detail = this; }
    ~CFindableDetailWnd() override {
        if (g_info.detail == this)
            g_info.detail = nullptr;
    }
};

class CFindableDealsWnd : public CStockDealDetailWnd {
public:
    CFindableDealsWnd() { g_info.deals = this; }
    ~CFindableDealsWnd() override {
        if (g_info.deals == this)
            g_info.deals = nullptr;
    }
};

// The host: opens the keyword it is told with the texts it is given.
class CInfoHostWnd : public CNetWnd {
public:
    enum : UINT { kOpen = WM_USER + 80 };
    struct Open {
        std::string keyword, param, request;
        std::u16string title;
    };
    ~CInfoHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CInfoHostWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kOpen) {
            const Open open = opens.at(static_cast<size_t>(lParam));
            GetWndManager().CreateWnd(open.keyword.c_str(), -1, open.title.c_str(), open.param.c_str(),
                                      open.request.c_str(), 0, this);
            return 0;
        }
        return CNetWnd::OnMessage(msg, wParam, lParam);
    }
    std::vector<Open> opens;
};

// The grid of a page on screen: texts and colours by row.
struct CInfoGrid {
    std::vector<std::vector<std::u16string>> texts;
    std::vector<std::vector<COLORREF>> colors;
    int selected = -1;
    std::u16string caption;
};

class InfoTest : public SimAppTest {
protected:
    InfoTest() : SimAppTest("orb_info") {}

    std::unique_ptr<CInfoHostWnd> host;

    void SetUp() override {
        g_info = CInfoLog();
        SimAppTest::SetUp();
        ASSERT_TRUE(driver.Start([this] {
            CAppData* app = CreateAppData();
            ASSERT_NE(app, nullptr);
            CDataSetWriter menus;
            CSimMenuTree::WriteMenus(menus);
            const std::vector<uint8_t> body = menus.Serialize();
            ASSERT_TRUE(app->WriteDatFile("Menus", body.data(), body.size()));
            RegisterQuoteWindows();
            CWndManager& wm = CWndManager::Instance();
            wm.RegisterWindow("xxhq", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CFindableDetailWnd());
            });
            wm.RegisterWindow("cjmx", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CFindableDealsWnd());
            });
            for (const char* keyword :
                 {"fschart", "kxchart", "buysale", "F10", "CSalesDeptSetWnd", "COrbTradeLoginWnd"}) {
                wm.RegisterWindow(keyword, [keyword](const CWndCreateInfo&) {
                    return std::unique_ptr<CBaseWnd>(new CInfoStubWnd(keyword));
                });
            }
            host = std::make_unique<CInfoHostWnd>();
            host->SetCaption(u"行情");
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
    }
    void ReleaseWindows() override { host.reset(); }

    // Opens keyword from the host and waits until the screen rests.
    void Open(const std::string& keyword, const std::string& param, const std::string& request,
              std::u16string title) {
        driver.RunOnGui([&] {
            host->opens.push_back({keyword, param, request, std::move(title)});
            host->PostMessage(CInfoHostWnd::kOpen, 0, static_cast<LPARAM>(host->opens.size() - 1));
        });
        driver.WaitForRest();
    }
    // The detail page of key, as a quote table opens it.
    void OpenDetail(const std::string& key) {
        Open("xxhq", "code=" + key, "tc_mfuncno=31000&tc_sfuncno=4", u"详细报价");
    }
    // The deal page, as the minute chart opens it.
    void OpenDeals(const std::string& request) { Open("cjmx", "", request, u"成交明细"); }

    using Grid = CInfoGrid;
    Grid GridOf(CTableWnd* (*page)()) {
        return driver.RunOnGui([page] {
            Grid g;
            CTableWnd* w = page();
            if (!w)
                return g;
            CGridCtrl& grid = w->GetGrid();
            for (int r = 0; r < grid.GetRowCount(); ++r) {
                g.texts.emplace_back();
                g.colors.emplace_back();
                for (int c = 0; c < grid.GetColumnCount(); ++c) {
                    const CGridCell* cell = grid.GetCell(r, c);
                    g.texts.back().emplace_back(cell ? cell->text.view() : u"");
                    g.colors.back().push_back(cell ? cell->color : 0);
                }
            }
            g.selected = grid.GetSelectedRow();
            g.caption = w->GetTitle().str();
            return g;
        });
    }
    Grid DetailGrid() {
        return GridOf([]() -> CTableWnd* { return g_info.detail; });
    }
    Grid DealGrid() {
        return GridOf([]() -> CTableWnd* { return g_info.deals; });
    }
    // Chooses an option-menu command of the page on top.
    bool ChooseMenu(int id) {
        driver.AnswerNext(ModalKind::PopupMenu, id);
        return CDriverControls::PressBottomButton(driver, 0);
    }
};
