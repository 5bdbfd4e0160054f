// The base of every window that talks to the server. A window keeps the
// texts its opener gave it (menu id, parameter text, preset request),
// builds its request text with BuildRequest and takes the reply in with
// OnNetData; this base does the rest of the road: the function prefix,
// the common tail, the sealing, handing the text to a worker, the busy
// line of the caption bar, the refresh timer and its trading-hours gate.
//
// Sending. Every send of the window's own request — the first show, a
// show with refresh-on-show, the refresh command, the refresh timer, a
// child's close with code 1 — goes through SendRefresh with its cause, so
// a window that keeps request state sees each one (and a window whose
// request acts can refuse all but the press that passed its checks).
// PostRequest(main, sub) posts WND_MSG_SEND (0xFFF20003) to the window;
// when it is handled the text is composed and offered to the window's
// sender. A request that is not sent — the builder gave nothing, the
// sealing failed, the text was refused, the worker was busy — or that the
// worker abandoned later is reported through OnRequestNotSent, so a window
// that disabled a control while waiting can restore it. The reply or the
// failure comes back as NET_MSG_REPLY_READY during the worker's send and
// goes to OnNetData; a failure says whether the request had left, and an
// order that left unanswered says its outcome is unknown (OnNetReply).
//
// Senders. A window sends through its own sender when one is set, else
// through the process-wide default sender when one is set (tests), else
// through its worker (null: the application's shared worker).
#pragma once

#include "core/CAString.h"
#include "core/CDataSet.h"
#include "core/CDataSetList.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/net/NetMessages.h"
#include "framework/ui/CWorkerRequestSender.h"

#include <cstdint>

struct CMenuNode;
class CNetWorker;

class CNetWnd : public CBaseWnd {
public:
    static constexpr UINT kRefreshTimer = 500;
    static constexpr int kFirstShowAbortMs = 1000;

    // Why a request was not sent, or came to nothing.
    enum class NotSent {
        NothingToSend, // the builder returned 0
        SealFailed,    // no session key, or nothing sealable
        Refused,       // the text is not a request to send (bad function number, clear password)
        WorkerBusy,    // the worker refused it (or there is no worker)
        Abandoned,     // the worker took it, then abandoned it; no answer will come
    };
    // What made the window send its request again.
    enum class RefreshCause {
        FirstShow,   // the window's first show
        Show,        // a later show with refresh-on-show
        User,        // the refresh command or button
        Timer,       // the automatic refresh timer
        ChildClosed, // a child closed with code 1
    };

    CNetWnd();
    ~CNetWnd() override;
    const char* GetClassName() const override { return "CNetWnd"; }

    // ---- The window's texts ----
    // Keeps menuId unless it is −1, and copies of the texts that are given
    // and not empty; the request text becomes the preset request.
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    int GetMenuId() const { return m_menuId; }
    const CAString& GetParamText() const { return m_paramText; }
    const CAString& GetRequestText() const { return m_requestText; }
    // The menu node of the menu id in the application's tree, or null.
    CMenuNode* GetMenuNode() const;

    // ---- Flags ----
    void SetSealRequest(bool on) { m_sealRequest = on; }
    bool GetSealRequest() const { return m_sealRequest; }
    void SetResendOnFailure(bool on) { m_resendOnFailure = on; }
    bool GetResendOnFailure() const { return m_resendOnFailure; }
    void SetRefreshOnShow(bool on) { m_refreshOnShow = on; }
    bool GetRefreshOnShow() const { return m_refreshOnShow; }
    // Automatic refresh: on or off, every seconds (0: the "Quote_RefeWait"
    // setting at each show), and whether only in trading hours.
    void SetAutoRefresh(bool on) { m_autoRefresh = on; }
    bool GetAutoRefresh() const { return m_autoRefresh; }
    void SetRefreshInterval(int seconds) { m_refreshSeconds = seconds; }
    void SetRefreshInTradingHoursOnly(bool on) { m_refreshTradingHoursOnly = on; }
    void SetFirstShow(bool on) { m_firstShow = on; }
    // The window kind, a number the feature windows give themselves.
    void SetWindowKind(int kind) { m_windowKind = kind; }
    int GetWindowKind() const { return m_windowKind; }
    // True while a request of this window is with a worker.
    bool IsRequestPending() const { return m_requestPending; }

    // ---- Sending ----
    // The worker the window sends through (not owned); null: the shared one.
    void SetWorker(CNetWorker* worker) { m_workerSender.SetWorker(worker); }
    // A sender for this window only (not owned); null: back to the default.
    void SetRequestSender(IRequestSender* sender) { m_sender = sender; }
    // The process-wide sender every window without its own uses (not
    // owned); null: the windows' workers.
    static void SetDefaultSender(IRequestSender* sender);
    static IRequestSender* GetDefaultSender();
    IRequestSender& GetSender();

    // Posts the send message; false when it could not be posted.
    bool PostRequest(int mainFunc, int subFunc);
    // Composes the request now and offers it; true when a worker took it.
    bool SendRequest(int mainFunc, int subFunc);
    // The one road of every send of the window's own request; the default
    // posts PostRequest(−1, 0).
    virtual void SendRefresh(RefreshCause cause);
    // SendRefresh(User).
    void Refresh() { SendRefresh(RefreshCause::User); }
    void OnRefreshCommand() override { Refresh(); }
    // True when the window's worker is idle within ms.
    bool WaitIdle(int ms);

    // ---- Opening other windows ----
    // Opens the window of the index-th child of the window's menu node by
    // its keyword (node id, title, parameter and request texts); returns
    // 1 when a window ran, 0 when none, −1 for no such child.
    virtual int OpenMenuChild(int index);
    // Opens the watch-list editor in its search mode titled "查找个股" over
    // this window; 0 when that window class is not registered.
    int OpenStockSearch();

    // ---- Virtual operations ----
    int OnInitDialog() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Writes the window's parameters into out; returns 1, or 0 when there
    // is nothing to send. The default copies the preset request.
    virtual int BuildRequest(CAString& out);
    // The reply body (owned by the worker: copy what you keep) with the
    // network-failure mark; nothing here.
    virtual void OnNetData(const std::uint8_t* data, int length, bool networkFailure);
    // The whole reply record (what is known of a failure); the default
    // hands body, length and mark to OnNetData.
    virtual void OnNetReply(const CNetReply& reply);
    // The header hook for a first set tagged "hq.info": reads its row
    // count and does nothing else; returns it.
    virtual int FreeReplyList(CDataSet* set);
    // The first step of taking a reply in: an "error" reply's text is
    // shown in the information box over this window. True when the reply
    // was an error (the caller then stops).
    bool ShowReplyError(const CDataSetList& reply);
    // A request that was not sent; nothing here.
    virtual void OnRequestNotSent(NotSent /*why*/) {}
    // First show: clears the flag, has the worker abandon its running
    // request (up to 1000 ms; a never-twice request that left is waited
    // for instead) and refreshes; later shows refresh when refresh-on-show
    // is set; then starts the refresh timer when automatic refresh is on
    // and its interval is 1 second or more.
    void OnWindowShown() override;
    // Stops every timer of the window.
    void OnWindowHidden() override;
    // The refresh timer: refreshes (in trading hours only, unless told
    // otherwise: Monday to Friday with 555 < hour × 60 + minute < 970 on
    // the program clock, else it stops). A tick while the window's last
    // request is still with the worker sends nothing.
    virtual void OnRefreshTimer();
    void OnTimer(UINT id) override;
    void OnChildClosed(int code) override;

    // The trading-hours gate of the refresh timer, for a local time.
    static bool IsRefreshTime(int weekday, int hour, int minute);

private:
    // Clears the pending mark and stops the busy line.
    void EndPending();

    int m_menuId = -1;
    CAString m_paramText;
    CAString m_requestText;       // the preset request
    bool m_sealRequest = false;
    bool m_resendOnFailure = true; // windows that must not resend turn it off
    bool m_refreshOnShow = false;
    bool m_autoRefresh = false;
    int m_refreshSeconds = 0;           // 0: "Quote_RefeWait"
    bool m_refreshTradingHoursOnly = true;
    bool m_requestPending = false;
    unsigned m_pendingTag = 0;          // the tag of the request out
    bool m_refreshedOnShow = false; // the last show refreshed already
    int m_windowKind = 0;
    IRequestSender* m_sender = nullptr; // not owned
    CWorkerRequestSender m_workerSender;
};
