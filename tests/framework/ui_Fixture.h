// What the window-base tests share: a fresh data directory and application
// state, the test driver, a fake request sender, and test windows that
// record what happens to them (shows, refreshes, close codes, deletion).
#pragma once

#include "framework/app/CAppData.h"
#include "framework/net/NetMessages.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/Clock.h"
#include "platform/win/UiMessageLoop.h"
#include "support/AppWindowTest.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Takes or refuses requests and keeps what it was given (GUI thread).
class CFakeSender : public IRequestSender {
public:
    struct Sent {
        HWND window = nullptr;
        std::string text;
        unsigned flags = 0;
        unsigned tag = 0;
    };
    bool accept = true;
    std::vector<Sent> sent;
    int aborts = 0;

    bool Send(HWND window, const std::string& text, unsigned flags, unsigned tag) override {
        if (accept)
            sent.push_back({window, text, flags, tag});
        return accept;
    }
    bool WaitIdle(int) override { return true; }
    int AbortAndWait(int) override {
        ++aborts;
        return 0;
    }
};

// What the test windows report, by window label (GUI thread writes, the
// test reads through RunOnGui).
struct CWindowLog {
    std::map<std::string, int> deleted;       // destructor runs
    std::map<std::string, int> refreshes;     // sends for a reason other than a show
    std::map<std::string, int> screenApplies; // ApplyScreenSettings runs
    std::map<std::string, int> leftSwipes;
    std::map<std::string, std::vector<int>> childCodes;
    std::map<std::string, std::vector<CNetWnd::NotSent>> notSent;
    std::map<std::string, class CTestNetWnd*> live;
    void Clear() { *this = CWindowLog(); }
};
inline CWindowLog g_log;

// A network window that records its life in g_log and opens a keyword when
// it receives kOpenKeyword (lParam: a const char* keyword kept by the test).
class CTestNetWnd : public CNetWnd {
public:
    static constexpr UINT kOpenKeyword = WM_USER + 50;
    static constexpr UINT kOpenChild = WM_USER + 51; // lParam: the menu child index

    explicit CTestNetWnd(std::string label, const char* className = "CTestNetWnd")
        : m_label(std::move(label)), m_className(className) {
        g_log.live[m_label] = this;
    }
    ~CTestNetWnd() override {
        Destroy();
        ++g_log.deleted[m_label];
        if (g_log.live[m_label] == this)
            g_log.live.erase(m_label);
    }
    const char* GetClassName() const override { return m_className; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kOpenKeyword) {
            lastOpen = GetWndManager().CreateWnd(reinterpret_cast<const char*>(lParam), -1, u"子窗口", "", "", 0,
                                                 this);
            return 0;
        }
        if (msg == kOpenChild) {
            OpenMenuChild(static_cast<int>(lParam));
            return 0;
        }
        if (msg == WND_MSG_CHILD_CLOSED)
            g_log.childCodes[m_label].push_back(static_cast<int>(static_cast<LPARAM>(wParam)));
        return CNetWnd::OnMessage(msg, wParam, lParam);
    }
    void SendRefresh(RefreshCause cause) override {
        if (cause != RefreshCause::FirstShow && cause != RefreshCause::Show)
            ++g_log.refreshes[m_label];
        CNetWnd::SendRefresh(cause);
    }
    void ApplyScreenSettings() override {
        ++g_log.screenApplies[m_label];
        CNetWnd::ApplyScreenSettings();
    }
    void OnLeftSwipe() override { ++g_log.leftSwipes[m_label]; }
    void OnRequestNotSent(NotSent why) override { g_log.notSent[m_label].push_back(why); }
    int BuildRequest(CAString& out) override {
        builtKinds.push_back(Asking().kind);
        return CNetWnd::BuildRequest(out);
    }
    void OnNetData(const std::uint8_t* data, int length, bool failure) override {
        replies.emplace_back(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
        lastFailure = failure;
        answeredKinds.push_back(Asked().kind);
    }

    std::vector<std::string> replies;
    std::vector<int> builtKinds;    // the request kind each build saw
    std::vector<int> answeredKinds; // the request kind each reply answered
    bool lastFailure = false;
    COpenResult lastOpen;

private:
    std::string m_label;
    const char* m_className;
};

class UiWindowTest : public AppWindowTest {
protected:
    UiWindowTest() : AppWindowTest("orb_ui") {}

    CFakeSender sender;
    std::unique_ptr<CTestNetWnd> mainWnd; // plays the main frame: shown, not modal

    void SetUp() override {
        g_log.Clear();
        AppWindowTest::SetUp();
        CNetWnd::SetDefaultSender(&sender);
    }
    void ReleaseWindows() override {
        mainWnd.reset();
        CNetWnd::SetDefaultSender(nullptr);
    }

    // Starts the program with the application state and a shown main window.
    void StartWithMain(std::function<void()> more = {}) {
        ASSERT_TRUE(driver.Start([this, more] {
            CAppData::Create(dir.string());
            mainWnd = std::make_unique<CTestNetWnd>("main", "COrbAppFrame");
            mainWnd->SetCaption(u"主窗口");
            ASSERT_TRUE(mainWnd->CreateOver(nullptr));
            mainWnd->ShowWindow(true);
            if (more)
                more();
        }));
    }
    // Stops the program and forgets its windows and state, for a test that
    // starts it again.
    void StopAndForget() {
        driver.Stop();
        ReleaseWindows();
        CWndManager::Instance().Reset();
        CAppData::Destroy();
        g_log.Clear();
        CNetWnd::SetDefaultSender(&sender);
        sender.sent.clear();
    }

    // Registers a keyword whose window is a CTestNetWnd labelled label.
    static void RegisterTestWindow(const std::string& keyword, const std::string& label,
                                   const char* className = "CTestNetWnd") {
        CWndManager::Instance().RegisterWindow(keyword, [label, className](const CWndCreateInfo&) {
            return std::unique_ptr<CBaseWnd>(new CTestNetWnd(label, className));
        });
    }

    // Makes window (by label) open keyword from its own message handler, as
    // a tap would, and waits until the opened window rests on the screen.
    void OpenFrom(const std::string& label, const char* keyword) {
        driver.RunOnGui([label, keyword] {
            g_log.live.at(label)->PostMessage(CTestNetWnd::kOpenKeyword, 0, reinterpret_cast<LPARAM>(keyword));
        });
    }
    int Depth() {
        return driver.RunOnGui([] { return UiMessageLoop::Current()->ModalDepth(); });
    }
};
