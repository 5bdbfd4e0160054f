// The stock ranking table: its ranking choice, paging, request, reply and
// commands.
#include "quotes/tables/COrbStockTableWnd.h"

#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/app/CMenuTree.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "platform/ui/CUiMessageBox.h"
#include "quotes/tables/CEditMyStockWnd.h"
#include "quotes/tables/CStockSortParamWnd.h"
#include "quotes/tables/QuoteRequests.h"
#include "quotes/tables/QuoteRowFill.h"
#include "quotes/tables/QuoteTableOptions.h"

#include <cstdlib>
#include <memory>
#include <string>

COrbStockTableWnd::COrbStockTableWnd() {
    m_pageSize = kPageSize;
    m_pageIndex = 0;
    SetRefreshOnShow(true);
    SetAutoRefresh(IsAutoRefreshSetting());
    // The first entry of each group is the ranking shown until one is chosen.
    struct Slot {
        const char* group;
        CAString* code;
        CWString* label;
    };
    const Slot slots[] = {{"market", &m_market, &m_marketLabel},
                          {"type", &m_category, &m_categoryLabel},
                          {"sort", &m_field, &m_fieldLabel}};
    // The three groups at once: this runs on every tap that opens a table.
    const std::vector<CNameValueList> groups = LoadQuoteOptionGroups({slots[0].group, slots[1].group, slots[2].group});
    for (size_t i = 0; i < std::size(slots); ++i) {
        const CNameValueList& group = groups[i];
        if (group.GetCount() > 0) {
            slots[i].code->AssignWide(group.GetName(0));
            slots[i].label->Assign(group.GetValue(0));
        }
    }
}

COrbStockTableWnd::~COrbStockTableWnd() = default;

namespace {
// Takes value as the new code of a group when it differs ignoring case and
// may travel in a request; the label follows from the group. True when it
// changed.
bool TakeCode(const char* group, const char* value, CAString& code, CWString& label) {
    if (!value || !IsRequestValue(value) || code.EqualsNoCaseStr(value))
        return false;
    code.Assign(value);
    const CNameValueList list = LoadQuoteOptionGroup(group);
    const CWString wide = CWString::CWStringFromAnsi(value);
    const char16_t* found = list.FindValue(wide.c_str());
    label.Assign(found ? found : u"");
    return true;
}
} // namespace

void COrbStockTableWnd::ParseParams(const char* param) {
    if (!param || !*param)
        return;
    bool changed = false;
    // Each key names its option group.
    const struct {
        const char* key;
        CAString* code;
        CWString* label;
    } keys[] = {{"market", &m_market, &m_marketLabel},
                {"type", &m_category, &m_categoryLabel},
                {"sort", &m_field, &m_fieldLabel}};
    for (const auto& k : keys) {
        bool present = false;
        const std::string value = GetUrlParamText(param, k.key, &present);
        changed |= TakeCode(k.key, present ? value.c_str() : nullptr, *k.code, *k.label);
    }
    {
        bool present = false;
        const std::string value = GetUrlParamText(param, "direct", &present);
        if (present) {
            const int direction = std::atoi(value.c_str());
            if (direction != m_direction) {
                m_direction = direction;
                changed = true;
            }
        }
    }
    if (changed)
        SetFirstShow(true);
}

void COrbStockTableWnd::ApplySortChoice(const CSortChoice& choice) {
    bool changed = false;
    // An empty code keeps the current one; so does one too long to be a code.
    auto usable = [](const std::string& s) { return !s.empty() && s.size() <= CSortChoice::kMaxCodeLength; };
    if (usable(choice.market))
        changed |= TakeCode("market", choice.market.c_str(), m_market, m_marketLabel);
    if (usable(choice.category))
        changed |= TakeCode("type", choice.category.c_str(), m_category, m_categoryLabel);
    if (usable(choice.field))
        changed |= TakeCode("sort", choice.field.c_str(), m_field, m_fieldLabel);
    if (choice.direction != m_direction) {
        m_direction = choice.direction;
        changed = true;
    }
    if (changed)
        SetFirstShow(true);
}

CWString COrbStockTableWnd::MakeCaption() const {
    CWString caption(m_marketLabel.view());
    caption.Append(m_categoryLabel.view());
    caption.Append(m_fieldLabel.view());
    return caption;
}

LRESULT COrbStockTableWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WND_MSG_PARAMS_CHOSEN) {
        std::unique_ptr<CSortChoice> choice(reinterpret_cast<CSortChoice*>(lParam));
        if (!choice)
            return 0;
        ApplySortChoice(*choice);
        m_pageIndex = 0;
        GetHeaderList().SetDirection(m_direction == 0 ? 1 : 0);
        // Coming back from the sort form, the window is shown again right
        // after this message and that show sends the one request; only a
        // window on screen re-shows itself here.
        if (IsVisible())
            OnWindowShown();
        return 0;
    }
    return CNetWnd::OnMessage(msg, wParam, lParam);
}

int COrbStockTableWnd::OnInitDialog() {
    if (!COrbTableWnd::OnInitDialog())
        return 0;
    SetImageBarButtons({std::begin(kBarImages), std::end(kBarImages)});
    return 1;
}

void COrbStockTableWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    if (param && *param)
        ParseParams(param);
    CNetWnd::SetMenuParams(menuId, param, request);
}

void COrbStockTableWnd::OnWindowShown() {
    if (IsFirstShow()) {
        SetCaption(MakeCaption().view());
        GetHeaderList().SetDirection(m_direction == 0 ? 1 : 0);
        Invalidate();
    }
    CNetWnd::OnWindowShown();
}

int COrbStockTableWnd::BuildRequest(CAString& out) {
    const std::string text = RankingPageRequest(
        GetRequestText().view(),
        {m_market.view(), m_category.view(), m_field.view(), m_direction, GetPageOffset(), m_pageSize});
    if (text.empty())
        return 0;
    out.Assign(std::string_view(text));
    m_sentPageBefore = m_sentPage;
    m_sentPage = m_pageIndex;
    return 1;
}

void COrbStockTableWnd::OnRequestNotSent(NotSent why) {
    COrbTableWnd::OnRequestNotSent(why);
    if (why != NotSent::Abandoned && why != NotSent::NothingToSend)
        m_sentPage = m_sentPageBefore; // built, never left
    if (!m_pageChanged)
        return;
    if (why != NotSent::Abandoned && IsRequestPending())
        m_pageIndex = m_sentPage; // a press while the last page move is out: that one still comes
    else
        KeepShownPage();
}

void COrbStockTableWnd::KeepShownPage() {
    if (!m_pageChanged)
        return;
    m_pageIndex = m_shownPage;
    m_pageChanged = false;
}

void COrbStockTableWnd::OnReplyWithoutRows() {
    // An error reply (a network failure comes as one too) shows no rows.
    KeepShownPage();
}

void COrbStockTableWnd::TakeReplyRows(CDataSet* first) {
    m_shownPage = m_sentPage;
    const int selected = GetSelectedRow();
    RemoveAllRows();
    FillRows(first);
    SetCaption(MakeCaption().view());
    CQuoteRowList& rows = GetRowList();
    // The remembered row is selected again only when the page still has it.
    rows.SetCurSel(selected < rows.GetCount() ? selected : -1);
    if (m_pageChanged) {
        m_pageChanged = false;
        rows.ScrollToTop();
        rows.SetCurSel(rows.GetCount() > 0 ? 0 : -1);
    }
    Invalidate();
}

void COrbStockTableWnd::FillRows(CDataSet* set) {
    if (!set || set->GetRowCount() <= 0) {
        Tell(u"当前页无数据显示，请返回上一页！");
        return;
    }
    if (!set->MoveFirst())
        return;
    do {
        AddRow(MakeQuoteRow(*set, false));
    } while (set->MoveNext());
}

void COrbStockTableWnd::OpenBoardQuotes() {
    CAppData* app = CAppData::Instance();
    CMenuTree* tree = app ? app->GetMenuTree() : nullptr;
    CMenuNode* root = tree ? tree->GetRoot() : nullptr;
    for (CMenuNode* node = root ? root->firstChild : nullptr; node; node = node->nextSibling) {
        if (node->keyword.EqualsNoCaseStr(kBoardsKeyword)) {
            GetWndManager().CreateWnd(node->keyword.c_str(), node->id, u"板块行情", "", node->param.c_str(), 0,
                                      this);
            return;
        }
    }
}

bool COrbStockTableWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) != kHeaderListId)
        return COrbTableWnd::OnCommand(wParam, lParam);
    // The direction title: the first page in the other direction.
    m_direction = lParam == 0 ? 1 : 0;
    m_pageIndex = 0;
    PostRequest(-1, 0);
    return true;
}

void COrbStockTableWnd::OnOwnBarButton(int index) {
    switch (index) {
    case kBarPreviousPage:
        if (m_pageIndex == 0) {
            Tell(u"已是第一页，向前无更多数据显示！");
            break;
        }
        --m_pageIndex;
        m_pageChanged = true;
        Refresh();
        break;
    case kBarNextPage:
        if (m_pageSize == 0) {
            UiMessageBox(this, u"ERR:m_nPageSize == 0!", u"", MB_OK);
            break;
        }
        if (GetRowCount() < m_pageSize) {
            Tell(u"已是最后一页，向后无更多数据显示！");
            break;
        }
        ++m_pageIndex;
        m_pageChanged = true;
        Refresh();
        break;
    case kBarBoards:
        OpenBoardQuotes();
        break;
    default:
        break;
    }
}

std::vector<COrbTableWnd::MenuEntry> COrbStockTableWnd::OwnMenuEntries() const {
    return {{u"加入自选", kMenuAddToMyStocks}, {u"排序参数", kMenuSortParams}};
}

void COrbStockTableWnd::OnNoRowChosen() {
    Tell(u"未选中任何股票！");
}

void COrbStockTableWnd::OnOwnMenuCommand(int id, int row) {
    switch (id) {
    case kMenuAddToMyStocks:
        if (const CQuoteRowData* data = GetRowData(row))
            CEditMyStockWnd::AddToMyStocks(data->GetStockKey().c_str(), this);
        else
            OnNoRowChosen();
        break;
    case kMenuSortParams:
        OpenSortParams();
        break;
    default:
        break;
    }
}

void COrbStockTableWnd::OpenSortParams() {
    auto form = std::make_unique<CStockSortParamWnd>(u"全部排序", this);
    form->SetParams(m_market.c_str(), m_category.c_str(), m_field.c_str(), m_direction);
    if (!form->CreateOver(this, GetWndManager().GetWorkRect()))
        return;
    form->ShowModal(-1, nullptr, nullptr, ANIM_SLIDE_UP);
}

void COrbStockTableWnd::Tell(const char16_t* text) {
    UiMessageBox(this, text, u"提示", MB_OK);
}
