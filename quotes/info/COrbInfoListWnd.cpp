// The news list: titles from the reply, a pick opens the article.
#include "quotes/info/COrbInfoListWnd.h"

#include "framework/ui/IWindowOpener.h"
#include "framework/app/CMenuNode.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "quotes/info/InfoRequests.h"

COrbInfoListWnd::COrbInfoListWnd() = default;

COrbInfoListWnd::~COrbInfoListWnd() {
    Destroy();
}

int COrbInfoListWnd::OnInitDialog() {
    if (!CListWnd::OnInitDialog())
        return 0;
    RemoveClientArea();
    m_list.SetItemHeight(kItemHeight);
    m_list.SetNotify(true);
    m_list.ShowScrollBar(true);
    if (!m_list.Create(this, GetBodyRect(), kListId, true))
        return 0;
    FillFromMenuNode();
    return 1;
}

void COrbInfoListWnd::OnLayout() {
    CListWnd::OnLayout();
    if (m_list.IsCreated())
        m_list.MoveWindow(GetBodyRect());
}

void COrbInfoListWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    CListWnd::SetMenuParams(menuId, param, request);
    FillFromMenuNode();
}

void COrbInfoListWnd::FillFromMenuNode() {
    if (!m_list.IsCreated())
        return;
    m_list.RemoveAll();
    CMenuNode* node = GetMenuNode();
    for (CMenuNode* child = node ? node->firstChild : nullptr; child; child = child->nextSibling)
        m_list.AddRow(child->title, CWString());
    if (m_list.GetCount() > 0)
        m_list.SetCurSel(0);
    m_list.Invalidate();
}

void COrbInfoListWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    auto reply = std::make_unique<CDataSetList>(data, length);
    // An error keeps the titles shown and the reply they came from.
    CDataSet* first = FirstReplySet(*reply);
    if (!first)
        return;
    m_reply = std::move(reply);
    m_list.RemoveAll();
    for (bool more = first->MoveFirst(); more; more = first->MoveNext())
        m_list.AddRow(first->GetFieldText(1), CWString());
    if (m_list.GetCount() > 0)
        m_list.SetCurSel(0);
    Invalidate();
    UpdateWindow();
}

void COrbInfoListWnd::OnItemChosen(int index) {
    PostMessage(WND_MSG_OPEN_MENU_CHILD, kOpenArticle, index);
}

bool COrbInfoListWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kListId && HighWord(wParam) == MENULIST_CHOSEN) {
        OnItemChosen(static_cast<int>(lParam));
        return true;
    }
    return CListWnd::OnCommand(wParam, lParam);
}

LRESULT COrbInfoListWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The worker's idle note shares this message number with wParam 0; it
    // goes on to the base.
    if (msg == WND_MSG_OPEN_MENU_CHILD && wParam == kOpenArticle) {
        OpenMenuChild(static_cast<int>(lParam));
        return 0;
    }
    return CListWnd::OnMessage(msg, wParam, lParam);
}

int COrbInfoListWnd::OpenMenuChild(int index) {
    CDataSet* first = m_reply && m_reply->GetCount() > 0 ? *m_reply->GetAt(0) : nullptr;
    if (!first || index < 0 || index >= first->GetRowCount() || !first->MoveFirst() || !first->Move(index))
        return -1;
    const std::string request = ArticleRequest(GetRequestText().view(), first->GetFieldInt(0));
    if (request.empty())
        return -1;
    const CWString title = first->GetFieldText(1);
    return GetWndManager().CreateWnd(kArticleKeyword, -1, title.c_str(), "", request.c_str(), 0, this) ? 1 : 0;
}
