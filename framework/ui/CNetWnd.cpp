// A network window's texts, replies read, shows, refreshes and the windows
// it opens; the send road is in CNetWndRequest.cpp.
#include "framework/ui/CNetWnd.h"

#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/app/CMenuTree.h"
#include "framework/net/CNetWorker.h"
#include "framework/net/NetMessages.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "platform/Clock.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiMessageLoop.h"

#include <cstdlib>
#include <iterator>
#include <utility>

namespace {
// The road's messages, the window bases', the controls' and those a window
// posts to itself reach the same window procedures, so no two may share a
// number.
constexpr UINT kWindowMessages[] = {
    NET_MSG_REPLY_READY,   NET_MSG_SEND_REQUEST,  NET_MSG_WORKER_IDLE,     WND_MSG_OPEN_MENU_CHILD,
    WND_MSG_CLOSE,         WND_MSG_CHILD_CLOSED,  WND_MSG_ROW_CLICKED,     WND_MSG_PARAMS_CHOSEN,
    WND_MSG_PICKER_RESULT, WND_MSG_TRADE_LOGGED_IN, WND_MSG_FUND_RISK_AGREED, WND_MSG_OPEN_FSCHART, WND_MSG_OPEN_KXCHART,
    WND_MSG_CAPTION_BACK,  WND_MSG_CAPTION_TRADE,
    WM_GESTURE_NOTIFY,     UIM_EDIT_NOTIFY,       WND_MSG_STARTUP_NEXT_STEP, WND_MSG_REFETCH_WATCH_LIST,
    WND_MSG_INFO_MARKS_CHOSEN, WND_MSG_OPEN_DYNCODE, WND_MSG_LEVEL_HELD,   WND_MSG_ORDER_SEND_QUERY,
    WND_MSG_ORDER_TELL,    WND_MSG_CONFIRM_TELL_OUTCOME, WND_MSG_CONFIRM_TELL_NOT_SENT,
};
constexpr bool AllDistinct() {
    for (size_t i = 0; i < std::size(kWindowMessages); ++i)
        for (size_t j = i + 1; j < std::size(kWindowMessages); ++j)
            if (kWindowMessages[i] == kWindowMessages[j])
                return false;
    return true;
}
static_assert(AllDistinct(), "two window messages share a number");
} // namespace

CNetWnd::CNetWnd() = default;

CNetWnd::~CNetWnd() {
    // An own worker's thread ends before the window it reports to.
    SetWorker(nullptr);
    m_ownWorker.reset();
    Destroy();
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
        OnReplyReady(NetReplyFromLParam(lParam));
        return 0;
    }
    case NET_MSG_SEND_REQUEST:
        OnSendMessage(wParam, lParam);
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
