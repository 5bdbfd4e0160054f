// What the watch-list, editor and search tests share: the simulated broker
// server, a fresh data directory and application state pointed at it, the
// test driver, a shown host window that opens the screens under test, and
// chart stand-ins that record the request text they were opened with.
#pragma once

#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/MyQuotesStore.h"
#include "quotes/tables/WatchListWindows.h"
#include "support/SimAppTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The charts the screens open, as the tests see them (GUI thread writes).
struct CChartLog {
    std::vector<std::string> fschart; // request texts, in order
    std::vector<std::string> kxchart;
};
inline CChartLog g_charts;

// A chart stand-in: keeps its request text and closes at once, showing its
// opener again.
class CChartStubWnd : public CNetWnd {
public:
    explicit CChartStubWnd(std::vector<std::string>* log) : m_log(log) {}
    ~CChartStubWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CChartStubWnd"; }
    void SetMenuParams(int menuId, const char* param, const char* request) override {
        m_log->push_back(request ? request : "");
        CNetWnd::SetMenuParams(menuId, param, request);
    }
    void OnWindowShown() override { PostMessage(WND_MSG_CLOSE, 0, -1); }

private:
    std::vector<std::string>* m_log;
};

// The host: plays the window a person came from. It opens a keyword, the
// stock search or the watch-list editor when told, as a tap would.
class CWatchHostWnd : public CNetWnd {
public:
    enum : UINT { kOpenKeyword = WM_USER + 60, kOpenSearch, kOpenEditor };
    ~CWatchHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CWatchHostWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case kOpenKeyword:
            GetWndManager().CreateWnd(reinterpret_cast<const char*>(lParam), 1, u"自选股", "",
                                      "tc_mfuncno=31000&tc_sfuncno=4", 0, this);
            return 0;
        case kOpenSearch:
            OpenStockSearch();
            return 0;
        case kOpenEditor: {
            auto editor = std::make_unique<CEditMyStockWnd>(u"编辑自选", this, CEditMyStockWnd::kModeEditor);
            GetWndManager().RunWindow(std::move(editor), -1, u"编辑自选", nullptr, nullptr, this);
            return 0;
        }
        default:
            return CNetWnd::OnMessage(msg, wParam, lParam);
        }
    }
};

class WatchListTest : public SimAppTest {
protected:
    WatchListTest() : SimAppTest("orb_watch") {}

    std::unique_ptr<CWatchHostWnd> host;

    void SetUp() override {
        g_charts = CChartLog();
        SimAppTest::SetUp();
    }
    void ReleaseWindows() override { host.reset(); }

    // Starts the program over the simulator with the store holding stored
    // (no store file for nullopt) and a shown host window.
    void Start(std::optional<std::string> stored) {
        if (stored)
            WriteStoreFile(*stored);
        ASSERT_TRUE(driver.Start([this] {
            ASSERT_NE(CreateAppData(), nullptr);
            RegisterWatchListWindows();
            CWndManager& wm = CWndManager::Instance();
            wm.RegisterWindow("fschart", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CChartStubWnd(&g_charts.fschart));
            });
            wm.RegisterWindow("kxchart", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CChartStubWnd(&g_charts.kxchart));
            });
            host = std::make_unique<CWatchHostWnd>();
            host->SetCaption(u"行情");
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
    }

    // Tells the host to open something and waits until the screen rests.
    void HostDoes(UINT what, const char* keyword = nullptr) {
        driver.RunOnGui([this, what, keyword] { host->PostMessage(what, 0, reinterpret_cast<LPARAM>(keyword)); });
        driver.WaitForRest();
    }

    // The store file's bytes as a text (NUL kept); nullopt when missing.
    std::optional<std::string> StoreFile() const { return temp.ReadText("MyQuotes.dat"); }
    // The stored text up to its NUL.
    std::string Stored() const {
        std::string text = StoreFile().value_or("");
        return text.substr(0, text.find('\0'));
    }
    void WriteStoreFile(const std::string& text) const { temp.WriteBytes("MyQuotes.dat", text + '\0'); }

    std::vector<std::u16string> ListTexts(int id) {
        return CDriverControls::ListItems(driver, id).value_or(std::vector<std::u16string>());
    }
    // The top window's class name.
    std::string TopWindow() {
        std::string top;
        for (const CWindowInfo& w : driver.OpenWindows())
            if (w.depth == 0 && w.visible)
                top = w.className;
        return top;
    }
};
