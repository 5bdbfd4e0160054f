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
// a window that keeps request state sees each one. PostRequest(main, sub)
// posts NET_MSG_SEND_REQUEST (0xFFF20003) to the window; when it is
// handled the text is composed and offered to the window's sender.
//
// Requests that act (IsActingRequest: orders, cancellations, the password
// change, the token application, ...) go only through SendAction, which
// the press that passed its checks calls: it arms one send. Any other road
// — a refresh of any cause, a show, a timer, a child's close, a post —
// composes the text, sees that it acts and sends nothing (NotArmed), so a
// builder can never make a refresh repeat an action.
//
// A query the busy worker refuses is not lost: the window keeps the text,
// stays pending (busy line on) and offers it again when the worker says it
// is free (NET_MSG_WORKER_IDLE); the GUI thread never waits for it. A
// request that is not sent — the builder gave nothing, the sealing failed,
// the text was refused, an action was not armed, the worker was busy with
// an action to send or cannot say when it is free — or that the worker
// abandoned later is reported through OnRequestNotSent, so a window that
// disabled a control while waiting can restore it. The reply or the
// failure comes back as NET_MSG_REPLY_READY during the worker's send and
// goes to OnNetData; a failure says whether the request had left, and an
// order that left unanswered says its outcome is unknown (OnNetReply).
//
// What was asked. A send may carry a request kind, the window's own
// number for which of its requests it is (0 when not given). The builder
// reads it (Asking) and may note what it built with; the record is kept
// beside the request's tag and handed back, while the reply or the failure
// of that very request is handled, through Asked. A window that keeps
// several kinds of request reads each reply as what it answers.
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
#include <map>
#include <memory>
#include <string>

struct CMenuNode;
class CNetWorker;

class CNetWnd : public CBaseWnd {
public:
    static constexpr UINT kRefreshTimer = 500;
    // How long a first show waits for its reply before it paints the
    // window without it (milliseconds of real time).
    static constexpr int kFirstReplyWaitMs = 100;

    // Why a request was not sent, or came to nothing.
    enum class NotSent {
        NothingToSend, // the builder returned 0
        SealFailed,    // no session key, or nothing sealable
        Refused,       // the text is not a request to send (bad function number, clear password)
        NotArmed,      // a request that acts, sent by anything but SendAction
        WorkerBusy,    // the worker refused it and will not say when it is free
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

    // What a request asked: its kind and what the builder noted of it.
    struct CAsked {
        static constexpr int kUnknown = -1;
        int kind = kUnknown; // kUnknown: no request this window remembers
        int number = 0;      // a number the builder noted (a period, ...)
        std::string text;    // a text the builder noted (a code, a name, ...)
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
    // The index-th child of that node, or null.
    CMenuNode* GetMenuChild(int index) const;

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
    // True while a request of this window is with a worker or waits for it.
    bool IsRequestPending() const { return m_requestPending; }
    // A request that acts is out: the window stays open until its outcome
    // (a reply, a failure or an abandonment) has reached it.
    bool IsHeldOpen() const override { return m_actionOut; }
    // The last abandonment reported (OnRequestNotSent(Abandoned)) said a
    // byte of the request had left: what it did is unknown.
    bool AbandonedAfterLeaving() const { return m_abandonedLeft; }

    // ---- Sending ----
    // The worker the window sends through (not owned); null: the shared one.
    void SetWorker(CNetWorker* worker) { m_workerSender.SetWorker(worker); }
    // For a request that acts: the window's worker when it is free now (a
    // query it runs is given up at once; the GUI never waits, and a request
    // that acts is never cut off), else a worker of the window's own on the
    // shared server, kept and joined when the window goes. False when
    // neither can be had.
    bool TakeFreeWorker();
    bool HasOwnWorker() const { return m_ownWorker != nullptr; }
    // A sender for this window only (not owned); null: back to the default.
    void SetRequestSender(IRequestSender* sender) { m_sender = sender; }
    // The process-wide sender every window without its own uses (not
    // owned); null: the windows' workers.
    static void SetDefaultSender(IRequestSender* sender);
    static IRequestSender* GetDefaultSender();
    IRequestSender& GetSender();

    // Posts the send message, the request kind with it; false when it
    // could not be posted.
    bool PostRequest(int mainFunc, int subFunc, int kind = 0);
    // Composes the request of that kind now and offers it; true when a
    // worker took it or it waits for the busy worker. A request that acts
    // is refused.
    bool SendRequest(int mainFunc, int subFunc, int kind = 0);
    // The press that passed its checks: composes the window's request that
    // acts now and offers it, once; true when a worker took it. A busy
    // worker's refusal is reported (WorkerBusy), never kept for later.
    bool SendAction(int mainFunc, int subFunc, int kind = 0);
    // While BuildRequest runs: the record of the request being built, its
    // kind as the send gave it; the builder may change the kind and note
    // what it built with.
    CAsked& Asking() { return m_asking; }
    // While OnNetReply, OnNetData or OnRequestNotSent runs: what the
    // request that reply or failure is about asked (kind kUnknown for a
    // reply to no request the window remembers).
    const CAsked& Asked() const { return m_asked; }
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
    // The header hook: a quote window hands it a reply whose first set is
    // tagged "hq.info" and does nothing else with that reply; nothing here.
    virtual void OnInfoSet(const CDataSet& /*set*/) {}
    // The first step of taking a reply in: an "error" reply's text is
    // shown in the information box over this window. True when the reply
    // was an error (the caller then stops); an error set the window reads
    // past (ReadsPastErrorSet) is none.
    bool ShowReplyError(const CDataSetList& reply);
    // True when an "error" set at index of a readable reply leaves the rest
    // of it to be read (a chart's missing points); none by default.
    virtual bool ReadsPastErrorSet(int /*index*/) const { return false; }
    // The first set of a reply, or null when there is none to read: an
    // "error" reply (its text shown) or a reply without a set.
    CDataSet* FirstReplySet(CDataSetList& reply);
    // FirstReplySet, except that a first set tagged "hq.info" is handed to
    // OnInfoSet and null returned.
    CDataSet* FirstDataSet(CDataSetList& reply);
    // True when first is tagged "hq.info" (any case): it was handed to
    // OnInfoSet, and the reply holds nothing else for the window.
    bool TakeInfoSet(CDataSet* first);
    // A request that was not sent; nothing here.
    virtual void OnRequestNotSent(NotSent /*why*/) {}
    // First show: clears the flag, asks the worker to abandon its running
    // request without waiting (a never-twice request that left is kept)
    // and refreshes, holding painting until the reply is in (at most
    // kFirstReplyWaitMs); later shows refresh when refresh-on-show
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
    // NET_MSG_REPLY_READY: the reply, failure or abandonment of a request.
    void OnReplyReady(const CNetReply* reply);
    // NET_MSG_SEND_REQUEST: the posted request is composed and sent.
    void OnSendMessage(WPARAM wParam, LPARAM lParam);
    // Clears the pending mark and stops the busy line, unless a request
    // still waits for the worker.
    void EndPending();
    // The worker is free: offers the request that waits for it again.
    void SendWaiting();
    // Ends the first show's hold on painting, when it holds one.
    void ReleaseFirstPaint();
    // Keeps what the request of tag asked, until its reply or failure.
    void Remember(unsigned tag, CAsked asked);
    // What the request of tag asked, once; kind kUnknown when forgotten.
    CAsked TakeAsked(unsigned tag);
    // OnRequestNotSent with Asked() telling what the request asked.
    void ReportNotSent(NotSent why, CAsked asked);

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
    bool m_armed = false;               // SendAction's one send is under way
    bool m_actionOut = false;           // the request out acts
    bool m_abandonedLeft = false;       // the last abandonment came after the request left
    bool m_waiting = false;             // m_waitingText waits for the busy worker
    std::string m_waitingText;          // composed, sealed, tagged m_pendingTag
    unsigned m_waitingFlags = 0;
    CAsked m_asking;                       // the request being built
    CAsked m_asked;                        // the request being answered
    std::map<unsigned, CAsked> m_askedByTag; // requests sent or waiting
    bool m_refreshedOnShow = false; // the last show refreshed already
    bool m_holdsPaint = false;      // the first show holds painting for its reply
    int m_windowKind = 0;
    IRequestSender* m_sender = nullptr; // not owned
    CWorkerRequestSender m_workerSender;
    std::unique_ptr<CNetWorker> m_ownWorker; // only when the shared one was busy
};
