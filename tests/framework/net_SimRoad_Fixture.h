// What the request-road tests share: a real CNetWorker talking over
// loopback to a CBrokerSimulator (or to a test peer a test points it at), a
// window on the test driver's GUI thread that records every word it is
// told, and a session context that keeps the key of a logon made again.
#pragma once

#include "framework/net/CNetWorker.h"
#include "framework/net/INetContext.h"
#include "framework/net/NetMessages.h"

#include "core/CDataSetList.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/win/UiWin.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct CTold {
    std::u16string text; // the error text, empty for an answer without one
    int rows = -1;       // rows of the first set of an answer; -1 for an error
    CNetReply marks;     // body pointers cleared
};

class CToldWin : public UiWin {
public:
    ~CToldWin() override { Destroy(); }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != NET_MSG_REPLY_READY)
            return UiWin::WndProc(msg, wParam, lParam);
        const CNetReply* reply = NetReplyFromLParam(lParam);
        CTold told;
        told.marks = *reply;
        told.marks.body = nullptr;
        CDataSetList list(reply->body, reply->length);
        if (list.IsError())
            told.text = list.GetErrorText().str();
        else if (list.GetCount() > 0)
            told.rows = (*list.GetAt(0))->GetRowCount();
        told_.push_back(told);
        if (onReply)
            onReply();
        return 1;
    }
    std::vector<CTold> told_;
    std::function<void()> onReply; // runs inside the reply's send
};

class CSimContext : public INetContext {
public:
    std::string GetSessionKey() override {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_key;
    }
    void OnSessionRenewed(const std::string& key, const std::string&) override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_key = key;
    }
    int GetConnectType() override { return 0; }
    void AddTraffic(std::uint64_t, std::uint64_t) override {}
    std::string GetPublicKeyPath() override { return std::string(ORB_SOURCE_DIR) + "/resources/pubkey.bin"; }

private:
    std::mutex m_lock;
    std::string m_key;
};

class SimRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(sim.Start(0), 0);
        ASSERT_TRUE(driver.Start([this] {
            window = std::make_unique<CToldWin>();
            window->Create(nullptr, {0, 0, 10, 10});
            hwnd = window->GetHandle();
        }));
        worker = CNetWorker::Create();
        ASSERT_TRUE(worker);
        worker->SetContext(&context);
        worker->GetConnection().SetServer("127.0.0.1", sim.GetPort());
        // A short overall deadline, so the slow and dripping faults end
        // the exchange, while each read alone would still wait.
        worker->GetConnection().SetTimeouts(2000, 2000, kTotalMs);
    }
    void TearDown() override {
        worker.reset();
        driver.RunOnGui([this] { window.reset(); });
        driver.Stop();
        sim.Stop();
    }

    // Posts a request and waits until the worker is idle and its word, if
    // any, was handled. False when the worker did not take it.
    bool Post(const std::string& text, unsigned flags) {
        const bool taken = driver.RunOnGui([&] { return worker->PostRequest(hwnd, text, flags); });
        worker->WaitIdle(10000);
        driver.WaitForRest();
        return taken;
    }
    std::vector<CTold> Told() {
        return driver.RunOnGui([this] { return window->told_; });
    }
    void ForgetTold() {
        driver.RunOnGui([this] { window->told_.clear(); });
    }

    static constexpr int kTotalMs = 400;

    CBrokerSimulator sim;
    CGTestDriver driver;
    CSimContext context;
    std::unique_ptr<CToldWin> window;
    HWND hwnd = nullptr;
    std::unique_ptr<CNetWorker> worker;
};
