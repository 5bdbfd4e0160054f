// What the detail quote and deal page tests share: the simulated server, a
// fresh data directory and application state pointed at it, the test
// driver, a host window that opens a keyword with given texts as the tables
// and the charts do, the pages as registered (findable), and stand-ins that
// record what the pages open and close at once.
#pragma once

#include "core/CDataSetWriter.h"
#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "quotes/QuoteWindows.h"
#include "quotes/info/CStockDealDetailWnd.h"
#include "quotes/info/CStockDetaiPriceWnd.h"
#include "support/SimAppTest.h"
#include "tools/simulator/CSimMarket.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// GUI thread writes; tests read through RunOnGui or after the driver rests.
struct CInfoLog {
    std::map<std::string, std::vector<std::string>> opened; // keyword: request texts
    CStockDetaiPriceWnd* detail = nullptr;
    CStockDealDetailWnd* deals = nullptr;
};
inline CInfoLog g_info;

class CInfoStubWnd : public CNetWnd {
public:
    explicit CInfoStubWnd(std::string keyword) : m_keyword(std::move(keyword)) {}
    ~CInfoStubWnd() override { Destroy(); }
    void SetMenuParams(int menuId, const char* param, const char* request) override {
        g_info.opened[m_keyword].push_back(request ? request : "");
        CNetWnd::SetMenuParams(menuId, param, request);
    }
    void OnWindowShown() override { PostMessage(WND_MSG_CLOSE, 0, -1); }

private:
    std::string m_keyword;
};

// A page that tells the tests where it is while it lives.
template <class Page, Page* CInfoLog::*slot>
class CFindable : public Page {
public:
    CFindable() { g_info.*slot = this; }
    ~CFindable() override {
        if (g_info.*slot == this)
            g_info.*slot = nullptr;
    }
};

class CInfoHostWnd : public CNetWnd {
public:
    enum : UINT { kOpen = WM_USER + 80 };
    ~CInfoHostWnd() override { Destroy(); }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kOpen)
            return CNetWnd::OnMessage(msg, wParam, lParam);
        const std::vector<std::string> open = opens.at(static_cast<size_t>(lParam)); // keyword, param, request
        GetWndManager().CreateWnd(open[0].c_str(), -1, u"", open[1].c_str(), open[2].c_str(), 0, this);
        return 0;
    }
    std::vector<std::vector<std::string>> opens;
};

struct CInfoGrid {
    std::vector<std::vector<std::u16string>> texts;
    std::vector<std::vector<COLORREF>> colors;
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
            ASSERT_NE(CreateAppData(), nullptr);
            RegisterQuoteWindows();
            CWndManager& wm = CWndManager::Instance();
            wm.RegisterWindow(kDetailQuoteKeyword, [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CFindable<CStockDetaiPriceWnd, &CInfoLog::detail>());
            });
            wm.RegisterWindow(kDealDetailClass, [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CFindable<CStockDealDetailWnd, &CInfoLog::deals>());
            });
            for (const char* keyword : {"fschart", "kxchart", "buysale", "CSalesDeptSetWnd", "COrbTradeLoginWnd"})
                wm.RegisterWindow(keyword, [keyword](const CWndCreateInfo&) {
                    return std::unique_ptr<CBaseWnd>(new CInfoStubWnd(keyword));
                });
            host = std::make_unique<CInfoHostWnd>();
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
    }
    void ReleaseWindows() override { host.reset(); }

    // Opens keyword from the host and waits until the screen rests.
    void Open(const std::string& keyword, const std::string& param, const std::string& request) {
        driver.RunOnGui([&] {
            host->opens.push_back({keyword, param, request});
            host->PostMessage(CInfoHostWnd::kOpen, 0, static_cast<LPARAM>(host->opens.size() - 1));
        });
        driver.WaitForRest();
    }
    // The detail page as a quote table opens it; the deal page as the minute chart does.
    void OpenDetail(const std::string& key) { Open(kDetailQuoteKeyword, "code=" + key, "tc_mfuncno=31000&tc_sfuncno=4"); }
    void OpenDeals(const std::string& request) { Open(kDealDetailClass, "", request); }

    CInfoGrid GridOf(bool deals) {
        return driver.RunOnGui([deals] {
            CInfoGrid g;
            CTableWnd* w = deals ? static_cast<CTableWnd*>(g_info.deals) : g_info.detail;
            for (int r = 0; w && r < w->GetGrid().GetRowCount(); ++r) {
                g.texts.emplace_back();
                g.colors.emplace_back();
                for (int c = 0; c < 4; ++c) {
                    const CGridCell* cell = w->GetGrid().GetCell(r, c);
                    g.texts.back().emplace_back(cell->text.view());
                    g.colors.back().push_back(cell->color);
                }
            }
            if (w)
                g.caption = w->GetTitle().str();
            return g;
        });
    }
    // Chooses an option-menu command of the page on top.
    bool ChooseMenu(int id) {
        driver.AnswerNext(ModalKind::PopupMenu, id);
        return CDriverControls::PressBottomButton(driver, 0);
    }
};
