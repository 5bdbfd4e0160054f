// The request road of a window: composing, sending, replies, refreshes.
#include "framework/ui/CNetWnd.h"

#include "core/StrUtil.h"
#include "framework/app/AppRequestTail.h"
#include "framework/app/CAppData.h"
#include "framework/app/CAppNetContext.h"
#include "framework/app/CMenuTree.h"
#include "framework/net/CHttpPostClient.h"
#include "framework/net/CNetWorker.h"
#include "framework/net/NetMessages.h"
#include "framework/net/RequestText.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "platform/Clock.h"
#include "platform/win/UiMessageLoop.h"

#include <cstdlib>
#include <iterator>
#include <utility>

namespace {
// The road's messages and the window bases' reach the same window
// procedures, so no two may share a number.
constexpr UINT kWindowMessages[] = {
    NET_MSG_REPLY_READY,   NET_MSG_SEND_REQUEST,  NET_MSG_WORKER_IDLE,     WND_MSG_OPEN_MENU_CHILD,
    WND_MSG_CLOSE,         WND_MSG_CHILD_CLOSED,  WND_MSG_ROW_CLICKED,     WND_MSG_PARAMS_CHOSEN,
    WND_MSG_PICKER_RESULT, WND_MSG_TRADE_LOGGED_IN, WND_MSG_FUND_RISK_AGREED, WND_MSG_OPEN_FSCHART, WND_MSG_OPEN_KXCHART,
    WND_MSG_CAPTION_BACK,  WND_MSG_CAPTION_TRADE,
};
constexpr bool AllDistinct() {
    for (size_t i = 0; i < std::size(kWindowMessages); ++i)
        for (size_t j = i + 1; j < std::size(kWindowMessages); ++j)
            if (kWindowMessages[i] == kWindowMessages[j])
                return false;
    return true;
}
static_assert(AllDistinct(), "two window messages share a number");

IRequestSender* g_defaultSender = nullptr; // not owned; tests set it
unsigned g_lastTag = 0;                    // GUI thread; tags tell a window's requests apart

unsigned NextTag() {
    if (++g_lastTag == 0)
        g_lastTag = 1;
    return g_lastTag;
}

// Requests remembered per window; an older one can no longer answer.
constexpr std::size_t kKeptRequests = 16;

// The send message carries the function number in wParam, the sub-function
// and the request kind in the two halves of lParam.
LPARAM PackSubAndKind(int subFunc, int kind) {
    const std::uint64_t packed = (std::uint64_t{static_cast<std::uint32_t>(kind)} << 32) |
                                 std::uint64_t{static_cast<std::uint32_t>(subFunc)};
    return static_cast<LPARAM>(packed);
}
int SubOf(LPARAM lParam) { return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(lParam))); }
int KindOf(LPARAM lParam) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(lParam) >> 32));
}
} // namespace

CNetWnd::CNetWnd() = default;

CNetWnd::~CNetWnd() {
    // An own worker's thread ends before the window it reports to.
    SetWorker(nullptr);
    m_ownWorker.reset();
    Destroy();
}

void CNetWnd::SetDefaultSender(IRequestSender* sender) {
    g_defaultSender = sender;
}

IRequestSender* CNetWnd::GetDefaultSender() {
    return g_defaultSender;
}

IRequestSender& CNetWnd::GetSender() {
    if (m_sender)
        return *m_sender;
    if (g_defaultSender)
        return *g_defaultSender;
    return m_workerSender;
}

void CNetWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    if (menuId != -1)
        m_menuId = menuId;
    if (param && *param)
        m_paramText.Assign(param);
    if (request && *request)
        m_requestText.Assign(request);
}

CMenuNode* CNetWnd::GetMenuNode() const {
    CAppData* app = CAppData::Instance();
    CMenuTree* tree = app ? app->GetMenuTree() : nullptr;
    return tree ? tree->FindById(m_menuId) : nullptr;
}

int CNetWnd::OnInitDialog() {
    return CBaseWnd::OnInitDialog();
}

bool CNetWnd::PostRequest(int mainFunc, int subFunc, int kind) {
    return PostMessage(NET_MSG_SEND_REQUEST, static_cast<WPARAM>(static_cast<LPARAM>(mainFunc)),
                       PackSubAndKind(subFunc, kind));
}

void CNetWnd::Remember(unsigned tag, CAsked asked) {
    m_askedByTag[tag] = std::move(asked);
    // Tags grow, so the first ones are the oldest (but for a wrap).
    while (m_askedByTag.size() > kKeptRequests)
        m_askedByTag.erase(m_askedByTag.begin());
}

CNetWnd::CAsked CNetWnd::TakeAsked(unsigned tag) {
    const auto it = m_askedByTag.find(tag);
    if (it == m_askedByTag.end())
        return {};
    CAsked asked = std::move(it->second);
    m_askedByTag.erase(it);
    return asked;
}

void CNetWnd::ReportNotSent(NotSent why, CAsked asked) {
    // A handler may send again; what it was told stays for its own call.
    CAsked outer = std::exchange(m_asked, std::move(asked));
    OnRequestNotSent(why);
    m_asked = std::move(outer);
}

bool CNetWnd::SendRequest(int mainFunc, int subFunc, int kind) {
    // The arming holds for this one send, whatever becomes of it.
    const bool armed = std::exchange(m_armed, false);
    m_asking = CAsked{};
    m_asking.kind = kind;
    CAString windowText;
    const int built = BuildRequest(windowText);
    CAsked asked = std::move(m_asking);
    m_asking = CAsked{};
    if (built == 0) {
        ReportNotSent(NotSent::NothingToSend, std::move(asked));
        return false;
    }
    CAppData* app = CAppData::Instance();
    std::string text;
    if (app) {
        const CCommonTail tail = MakeAppRequestTail(*app);
        if (!ComposeRequest(mainFunc, subFunc, windowText.view(), tail, m_sealRequest, app->GetSessionKey().str(),
                            &text)) {
            ReportNotSent(NotSent::SealFailed, std::move(asked));
            return false;
        }
    } else {
        // Without an application state there is no tail and no session key.
        if (m_sealRequest) {
            ReportNotSent(NotSent::SealFailed, std::move(asked));
            return false;
        }
        text = BuildRequestText(mainFunc, subFunc, windowText.view());
    }
    if (CheckRequestText(text) != RequestRefusal::None) {
        ReportNotSent(NotSent::Refused, std::move(asked));
        return false;
    }
    // The function numbers stay in clear when the rest is sealed, so the
    // finished text tells whether it acts.
    const bool acts = IsActingRequest(text);
    if (acts && !armed) {
        ReportNotSent(NotSent::NotArmed, std::move(asked));
        return false;
    }
    unsigned flags = m_resendOnFailure ? unsigned(CNetWorker::kResendOnNetFailure) : 0u;
    if (acts)
        flags |= CNetWorker::kNeverResend;
    const unsigned tag = NextTag();
    IRequestSender& sender = GetSender();
    const bool replaces = m_waiting;
    const unsigned replaced = m_pendingTag;
    // Kept before the send: a sender may answer at once.
    Remember(tag, std::move(asked));
    if (sender.Send(GetHandle(), text, flags, tag)) {
        m_waiting = false;
        m_waitingText.clear();
    } else if (!acts && sender.NotifyWhenIdle(GetHandle())) {
        // A newer query replaces one that still waits: only one is owed.
        m_waiting = true;
        m_waitingText = std::move(text);
        m_waitingFlags = flags;
    } else {
        // An action is the user's to send again; it never goes by itself.
        ReportNotSent(NotSent::WorkerBusy, TakeAsked(tag));
        return false;
    }
    // A query that waited for the worker is replaced: only one is owed.
    if (replaces)
        TakeAsked(replaced);
    m_requestPending = true;
    m_actionOut = acts;
    m_pendingTag = tag;
    if (GetCaptionBar().IsCreated())
        GetCaptionBar().SetBusy(true);
    return true;
}

bool CNetWnd::TakeFreeWorker() {
    if (m_ownWorker)
        return true;
    if (GetSender().AbortAndWait(0) == 0)
        return true;
    CAppData* app = CAppData::Instance();
    if (!app)
        return false;
    std::unique_ptr<CNetWorker> worker = CNetWorker::Create();
    if (!worker)
        return false;
    const CHttpPostClient* shared = app->GetSharedConnection();
    const std::string host = shared ? shared->GetHost() : app->GetSetting("Server_Host").str();
    worker->GetConnection().SetServer(host, std::atoi(app->GetSetting("Server_Port").c_str()));
    worker->SetContext(&CAppNetContext::Instance());
    m_ownWorker = std::move(worker);
    SetWorker(m_ownWorker.get());
    return true;
}

bool CNetWnd::SendAction(int mainFunc, int subFunc, int kind) {
    m_armed = true;
    return SendRequest(mainFunc, subFunc, kind);
}

void CNetWnd::SendWaiting() {
    if (!m_waiting)
        return;
    IRequestSender& sender = GetSender();
    if (sender.Send(GetHandle(), m_waitingText, m_waitingFlags, m_pendingTag)) {
        m_waiting = false;
        m_waitingText.clear();
        return;
    }
    // Another window took the worker first: wait for its end in turn.
    if (sender.NotifyWhenIdle(GetHandle()))
        return;
    m_waiting = false;
    m_waitingText.clear();
    EndPending();
    ReportNotSent(NotSent::WorkerBusy, TakeAsked(m_pendingTag));
}

void CNetWnd::SendRefresh(RefreshCause) {
    PostRequest(-1, 0);
}

bool CNetWnd::WaitIdle(int ms) {
    return GetSender().WaitIdle(ms);
}

int CNetWnd::BuildRequest(CAString& out) {
    if (m_requestText.IsEmpty())
        return 0;
    out.Assign(m_requestText.view());
    return 1;
}

void CNetWnd::OnNetData(const std::uint8_t*, int, bool) {}

void CNetWnd::OnNetReply(const CNetReply& reply) {
    OnNetData(reply.body, reply.length, reply.networkFailure != 0);
}

void CNetWnd::EndPending() {
    if (m_waiting)
        return; // an older request's end: the newer one is still owed
    m_requestPending = false;
    m_actionOut = false;
    if (GetCaptionBar().IsCreated())
        GetCaptionBar().SetBusy(false);
}

bool CNetWnd::ShowReplyError(const CDataSetList& reply) {
    if (!reply.IsError())
        return false;
    if (const int index = reply.GetErrorIndex(); index >= 0 && ReadsPastErrorSet(index))
        return false;
    if (CAppData* app = CAppData::Instance())
        app->ShowInfoMessage(reply.GetErrorText().c_str(), this);
    return true;
}

CDataSet* CNetWnd::FirstReplySet(CDataSetList& reply) {
    if (ShowReplyError(reply))
        return nullptr;
    return reply.GetCount() > 0 ? *reply.GetAt(0) : nullptr;
}

bool CNetWnd::TakeInfoSet(CDataSet* first) {
    if (!first || StrEqualNoCase(first->GetTag(), "hq.info") != 0)
        return false;
    OnInfoSet(*first);
    return true;
}

CDataSet* CNetWnd::FirstDataSet(CDataSetList& reply) {
    CDataSet* first = FirstReplySet(reply);
    return TakeInfoSet(first) ? nullptr : first;
}

LRESULT CNetWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case NET_MSG_REPLY_READY: {
        // Painting is free again before the reply is handled, so a message
        // box it raises is painted at once.
        ReleaseFirstPaint();
        const CNetReply* reply = NetReplyFromLParam(lParam);
        if (reply && reply->abandoned) {
            // Only the request still out is restored; a late word about an
            // older one changes nothing.
            CAsked asked = TakeAsked(reply->tag);
            if (!m_requestPending || reply->tag != m_pendingTag)
                return 0;
            EndPending();
            m_abandonedLeft = reply->requestLeft != 0;
            ReportNotSent(NotSent::Abandoned, std::move(asked));
            m_abandonedLeft = false;
            return 0;
        }
        EndPending();
        if (reply) {
            CAsked outer = std::exchange(m_asked, TakeAsked(reply->tag));
            OnNetReply(*reply);
            m_asked = std::move(outer);
        }
        return 0;
    }
    case NET_MSG_SEND_REQUEST:
        SendRequest(static_cast<int>(static_cast<LPARAM>(wParam)), SubOf(lParam), KindOf(lParam));
        return 0;
    case NET_MSG_WORKER_IDLE:
        SendWaiting();
        return 0;
    case WND_MSG_OPEN_FSCHART:
    case WND_MSG_OPEN_KXCHART: {
        char* text = reinterpret_cast<char*>(lParam);
        const bool fs = msg == WND_MSG_OPEN_FSCHART;
        GetWndManager().CreateWnd(fs ? kMinuteChartKeyword : kKLineChartKeyword, -1, fs ? u"分时走势" : u"K线分析", "",
                                  text, 0, this);
        std::free(text);
        return 0;
    }
    default:
        return CBaseWnd::OnMessage(msg, wParam, lParam);
    }
}

void CNetWnd::OnWindowShown() {
    m_refreshedOnShow = false;
    if (m_firstShow) {
        m_firstShow = false;
        // The previous window's query is of no use now; the GUI does not
        // wait for its end: a refused first request waits for the worker.
        GetSender().AbortAndWait(0);
        SendRefresh(RefreshCause::FirstShow);
        m_refreshedOnShow = true;
        // The window is first painted with its first reply, unless that
        // takes longer than kFirstReplyWaitMs.
        if (UiMessageLoop* loop = UiMessageLoop::Current()) {
            loop->HoldPaint(kFirstReplyWaitMs);
            m_holdsPaint = true;
        }
    } else if (m_refreshOnShow) {
        SendRefresh(RefreshCause::Show);
        m_refreshedOnShow = true;
    }
    if (!m_autoRefresh)
        return;
    int seconds = m_refreshSeconds;
    if (seconds <= 0) {
        CAppData* app = CAppData::Instance();
        seconds = app ? std::atoi(app->GetSetting("Quote_RefeWait").c_str()) : 0;
    }
    if (seconds >= 1)
        SetTimer(kRefreshTimer, static_cast<UINT>(seconds) * 1000u);
}

void CNetWnd::ReleaseFirstPaint() {
    if (!std::exchange(m_holdsPaint, false))
        return;
    if (UiMessageLoop* loop = UiMessageLoop::Current())
        loop->ReleasePaint();
}

void CNetWnd::OnWindowHidden() {
    ReleaseFirstPaint();
    KillAllTimers();
}

bool CNetWnd::IsRefreshTime(int weekday, int hour, int minute) {
    const int at = hour * 60 + minute;
    return weekday >= 1 && weekday <= 5 && at > 555 && at < 970;
}

void CNetWnd::OnRefreshTimer() {
    const CLocalTime now = CClock::Instance().LocalNow();
    if (m_refreshTradingHoursOnly && !IsRefreshTime(now.weekday, now.hour, now.minute)) {
        KillTimer(kRefreshTimer);
        return;
    }
    // A tick while the last request is still out skips: the busy worker
    // would refuse it, and the refusal would tell the window to give up
    // waiting for the reply that is still coming.
    if (!m_requestPending)
        SendRefresh(RefreshCause::Timer);
}

void CNetWnd::OnTimer(UINT id) {
    if (id == kRefreshTimer) {
        OnRefreshTimer();
        return;
    }
    CBaseWnd::OnTimer(id);
}

void CNetWnd::OnChildClosed(int code) {
    // Coming back shows the window again, which may refresh already; code 1
    // then needs no second request.
    if (code == 1) {
        m_refreshedOnShow = false;
        CBaseWnd::OnChildClosed(-1);
        if (!m_refreshedOnShow)
            SendRefresh(RefreshCause::ChildClosed);
        return;
    }
    CBaseWnd::OnChildClosed(code);
}

CMenuNode* CNetWnd::GetMenuChild(int index) const {
    CMenuNode* node = GetMenuNode();
    if (!node || index < 0)
        return nullptr;
    CMenuNode* child = node->firstChild;
    for (int i = 0; child && i < index; ++i)
        child = child->nextSibling;
    return child;
}

int CNetWnd::OpenMenuChild(int index) {
    CMenuNode* child = GetMenuChild(index);
    if (!child)
        return -1;
    const COpenResult r = GetWndManager().CreateWnd(child->keyword.c_str(), child->id, child->title.c_str(),
                                                    child->param.c_str(), child->request.c_str(), 0, this);
    return r ? 1 : 0;
}

int CNetWnd::OpenStockSearch() {
    CWndCreateInfo info;
    info.flag = IWindowOpener::kFlagSearchMode;
    info.owner = this;
    std::unique_ptr<CBaseWnd> wnd = GetWndManager().MakeWindow(kStockEditorClass, info);
    if (!wnd)
        return 0;
    const COpenResult r = GetWndManager().RunWindow(std::move(wnd), -1, u"查找个股", nullptr, nullptr, this,
                                                    ANIM_SLIDE_UP, ANIM_SLIDE_DOWN);
    return r ? 1 : 0;
}
