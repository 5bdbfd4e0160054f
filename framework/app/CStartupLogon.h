// The start-up's exchange with the server, run without a logon screen: the
// service logon (100/1) with a fresh session key, then the version and
// configuration fetch (100/2), whose "menus" and "config" sets are stored
// as the data files "Menus" and "config". The end is posted to the loop as a
// task, so the handler may delete this object.
//
// It is a hidden window because replies reach windows: each request goes to
// the shared worker with this window as its target, and the reply arrives
// as NET_MSG_REPLY_READY on the GUI thread while the loop keeps running (so
// the desktop window stays alive and the test driver sees the request as
// work in flight). The next step is posted to the window, so nothing runs
// inside the worker's delivery, and the worker is waited for until idle
// before the next request is offered.
//
// GUI thread only.
#pragma once

#include "platform/win/UiWin.h"

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>

class CNetWorker;

class CStartupLogon : public UiWin {
public:
    // How the exchange ended: ok, or the text to show the user.
    struct Outcome {
        bool ok = false;
        std::u16string message; // "错误(%d)：%s", or the server's error text
    };
    using DoneHandler = std::function<void(const Outcome&)>;

    static constexpr int kIdleWaitMs = 2000;   // for the worker between steps
    static constexpr int kLogonLimitMs = 80000; // the whole exchange, from Begin

    // A logon's session key and the key enciphered for the server (hex);
    // key empty when none could be made, cipherHex empty when the public key
    // is missing or unusable.
    struct LogonKey {
        std::string key;
        std::string cipherHex;
    };
    // Makes a logon key ahead, on a thread of its own: the process's first
    // random numbers and first RSA take OpenSSL a millisecond or two of
    // set-up that needs nothing of the start-up. The key file is read here,
    // on the calling thread, which keeps file work on one thread while a
    // test may swap the file-operations table.
    static std::future<LogonKey> PrepareKey(const std::string& publicKeyPath);

    CStartupLogon() = default;
    ~CStartupLogon() override;
    const char* GetClassName() const override { return "CStartupLogon"; }

    // Creates the hidden window and sends the logon on worker (not owned;
    // it must outlive this object or the exchange). done runs once, posted,
    // on the GUI thread. False (done never runs) when the window cannot be
    // made; every later failure reaches done. With a prepared key (made for
    // the same public key) the logon waits for it and uses it instead of
    // making one.
    bool Begin(CNetWorker* worker, const std::string& publicKeyPath, DoneHandler done,
               std::future<LogonKey> prepared = {});
    bool IsRunning() const { return m_step != Step::Idle && m_step != Step::Finished; }
    // Abandons the exchange and its request in flight; done never runs.
    void Cancel();

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The limit: the exchange gives up (the request abandoned) with
    // "错误(4)：接收数据失败，请重试".
    void OnTimer(UINT id) override;

    // The bodies of the "menus" and "config" sets of a 100/2 reply, each
    // group re-serialised as one body (tags compared ignoring case); empty
    // for a group without a set. False for an unreadable body or one with
    // an "error" set.
    static bool SplitConfigReply(const std::uint8_t* body, int length, std::string* menus, std::string* config);
    // The text to show for a reply that is not what was asked for: its
    // "error" set's text, else "错误(6)：数据接收不全或格式错误".
    static std::u16string FailureText(const std::uint8_t* body, int length);

private:
    enum class Step { Idle, Logon, Fetch, Finished };
    // wParam: the step to run. WndMessages.h, above this layer, keeps the
    // number from every other window message.
    static constexpr UINT kMsgNextStep = 0xFFF20012;
    static constexpr UINT kLimitTimer = 1;

    void SendLogon();
    void SendFetch();
    void OnReply(const std::uint8_t* body, int length);
    // Posts the end to the loop as a task; the first end counts.
    void Finish(bool ok, std::u16string message);

    CNetWorker* m_worker = nullptr; // not owned
    std::string m_publicKeyPath;
    std::string m_key;              // the session key of this logon
    std::future<LogonKey> m_prepared; // taken by the logon; invalid without one
    DoneHandler m_done;
    Step m_step = Step::Idle;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true); // tasks check that this object lives
};
