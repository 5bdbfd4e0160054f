// The stock search pop-up and the watch-list editor.
#include "quotes/tables/CEditMyStockWnd.h"

#include "core/CDataSetList.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/tables/MyQuotesStore.h"
#include "quotes/tables/QuoteRequests.h"
#include "quotes/tables/WatchListMerge.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMargin = 40;            // pixels left and right of the controls
constexpr int kListGap = 20;           // pixels between the list and the bottom bar
constexpr int kSearchListTop = 142;    // mode 0
constexpr int kWatchListTop = 122;     // mode 1, watch-list view
constexpr int kAddableListTop = 192;   // mode 1, addable view
constexpr std::u16string_view kPromptSearch = u"请输入股票代码或拼音缩写！";
constexpr std::u16string_view kNoneChosen = u"您未选中任何股票！";
constexpr std::u16string_view kWatchTitle = u"我的股票列表：";
constexpr std::u16string_view kAddableTitle = u"可添加的股票列表：";
// The editor's image bar by kBarOk ... kBarBack.
const std::vector<int> kEditorImages = {121, 130, 134, 141, 131, 116};
constexpr int kSwitchToWatchImage = 133;

std::string Narrow(std::u16string_view text) { return WideToAnsi(text); }

} // namespace

CEditMyStockWnd::CEditMyStockWnd(std::u16string_view caption, UiWin* owner, int mode)
    : m_owner(owner ? owner->GetHandle() : nullptr), m_mode(mode == kModeEditor ? kModeEditor : kModeSearch) {
    SetCaption(caption);
    SetAutoRefresh(false);
    SetRefreshOnShow(false);
    SetFirstShow(false);
    SetWindowKind(kWindowKind);
}

CEditMyStockWnd::~CEditMyStockWnd() {
    Destroy();
}

// ---- The add rule ----

int CEditMyStockWnd::AddToMyStocks(const char* item, UiWin* owner) {
    CAppData* app = CAppData::Instance();
    if (!app || !item)
        return 0;
    const AddStockResult result = AddStockToStore(*app, item);
    std::u16string text;
    switch (result.outcome) {
    case AddStockOutcome::Added:
        text = u"自选股添加成功!";
        break;
    case AddStockOutcome::Duplicate:
        text = u"股票" + AnsiToWide(result.item) + u"已在自选股";
        break;
    case AddStockOutcome::NoMarket:
        text = u"数据错误，无市场代码！";
        break;
    case AddStockOutcome::WriteFailed:
        text = u"自选股添加失败!";
        break;
    }
    app->ShowInfoMessage(text.c_str(), owner);
    return result.outcome == AddStockOutcome::Added ? 1 : 0;
}

// ---- Text rules ----

std::string CEditMyStockWnd::SearchResultKey(std::string_view code, std::string_view market) {
    std::string key(code);
    key += '.';
    if (market.size() == 1)
        key += '0';
    key += market;
    return key;
}

std::u16string CEditMyStockWnd::FormatSearchItem(std::u16string_view name, std::string_view code,
                                                 std::string_view market) {
    std::u16string out(name);
    out += u"(";
    out += AnsiToWide(SearchResultKey(code, market));
    out += u")";
    return out;
}

// ---- Building ----

int CEditMyStockWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    RemoveClientArea();
    const CRect client = GetClientRect();
    if (!m_edit.Create(this, {}, kEditId, true) || !m_button.Create(this, {}, kButtonId, true) ||
        !m_title.Create(this, {}, kTitleId, true) || !m_list.Create(this, {}, kListId, true))
        return 0;
    m_edit.SetTextColor(0);
    m_edit.SetHintText(u"代码或拼音缩写");
    m_edit.SetLimitText(kMaxSearchChars);
    m_edit.SetSipMode(4, client.Width() == 480 ? 65 : -1);
    m_button.SetText(u"查询股票");
    m_button.SetStyle(UI_BTN_ROUND);
    m_button.SetTextColor(0);
    m_title.SetFontSize(22);
    m_title.SetTextColor(0);
    m_title.SetSingleLine(true);
    m_title.SetBold(false);
    m_title.SetText(kWatchTitle);
    m_list.ShowScrollBar(true);
    m_list.SetItemHeight(45);
    m_list.SetTextColor(0);
    m_list.SetSeparators(true, true);
    m_list.SetSingleChoice(m_mode == kModeSearch);
    // The check list posts its chosen command only with notifications on;
    // the editor's multi-choice list reports nothing.
    m_list.SetNotify(m_mode == kModeSearch);
    if (m_mode == kModeSearch) {
        UseTextToolbar(u"确定", u"", u"退出");
    } else {
        SetImageBarButtons(kEditorImages);
        SetRefreshOnShow(true);
    }
    PlaceControls();
    if (m_mode == kModeSearch)
        m_edit.SetFocus();
    return 1;
}

void CEditMyStockWnd::OnLayout() {
    CNetWnd::OnLayout();
    PlaceControls();
}

void CEditMyStockWnd::PlaceControls() {
    const CRect client = GetClientRect();
    const int w = client.Width();
    const int h = client.Height();
    const int b = GetBottomBarHeight();
    const int W = w - 2 * kMargin;
    const bool searchRow = m_mode == kModeSearch || m_addable;
    m_edit.MoveWindow(CRect::FromSize(kMargin, 62, W / 2, 60));
    m_button.MoveWindow(CRect::FromSize(kMargin + W * 6 / 10, 57, W * 4 / 10, 70));
    m_edit.ShowWindow(searchRow);
    m_button.ShowWindow(searchRow);
    int listTop = kSearchListTop;
    if (m_mode == kModeEditor) {
        listTop = m_addable ? kAddableListTop : kWatchListTop;
        m_title.MoveWindow(CRect::FromSize(kMargin, m_addable ? 132 : 62, 200, 60));
        m_title.SetText(m_addable ? kAddableTitle : kWatchTitle);
    }
    m_title.ShowWindow(m_mode == kModeEditor);
    const CRect list = CRect::FromSize(kMargin, listTop, W, h - listTop - b - kListGap);
    m_list.MoveWindow(list);
    m_frame = {list.left - 3, list.top, list.right + 3, list.bottom};
    Invalidate();
}

void CEditMyStockWnd::OnPaint(CDC& dc) {
    CNetWnd::OnPaint(dc);
    UpdateControls(dc);
}

void CEditMyStockWnd::UpdateControls(CDC& dc) {
    constexpr int kCorner = 20; // the ellipse of a radius-10 corner
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, 0xD2D2D2});
    dc.SelectBrush(CBrush::Solid(0xD2D2D2));
    dc.RoundRect({m_frame.left + 2, m_frame.top + 2, m_frame.right + 5, m_frame.bottom + 5}, kCorner, kCorner);
    dc.SelectPen({PS_SOLID, 1, 0x646464});
    dc.SelectBrush(CBrush::Solid(0xF3F3F3));
    dc.RoundRect(m_frame, kCorner, kCorner);
}

void CEditMyStockWnd::OnLButtonDown(UINT flags, CPoint pt) {
    if (m_edit.HasFocus() && !m_edit.GetRect().Contains(pt))
        SetFocus();
    CNetWnd::OnLButtonDown(flags, pt);
}

// ---- Messages and commands ----

LRESULT CEditMyStockWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgRefetchWatchList) {
        if (IsWatchListView() && WaitIdle(1000))
            Refresh();
        return 0;
    }
    if (msg == UIM_EDIT_NOTIFY && CNotifyEdit::NotifyEditId(wParam) == kEditId) {
        // Notifications are posted: several may arrive after the text reached
        // six characters, and the text is searched once.
        const int how = CNotifyEdit::NotifyEditCode(lParam);
        if (m_edit.GetLength() != kMaxSearchChars) {
            m_autoSearched.clear();
        } else if ((how == UI_EDIT_CHANGE_TYPED || how == UI_EDIT_CHANGE_DELETED) && m_edit.IsEnabled() &&
                   m_edit.GetText() != m_autoSearched) {
            m_autoSearched = m_edit.GetText();
            StartSearch(false);
        }
    }
    return CNetWnd::OnMessage(msg, wParam, lParam);
}

bool CEditMyStockWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    const int code = HighWord(wParam);
    if (id == UI_BOTTOM_BAR_ID || id == kListId || id == kButtonId) {
        if (m_mode == kModeSearch)
            OnSearchCommand(id, code, lParam);
        else
            OnEditorCommand(id, code, lParam);
        return true;
    }
    return CNetWnd::OnCommand(wParam, lParam);
}

void CEditMyStockWnd::OnSearchCommand(int id, int code, LPARAM value) {
    if (id == kButtonId) {
        StartSearch(true);
    } else if (id == kListId) {
        if (code == CHECKLIST_CHOSEN)
            CloseAndOpen(static_cast<int>(value));
    } else if (id == UI_BOTTOM_BAR_ID) {
        const int index = BarButtonIndex(0, value);
        if (index == kToolbarLeft) {
            const int sel = m_list.GetCurSel();
            if (sel >= 0)
                CloseAndOpen(sel);
            else
                Tell(kNoneChosen);
        } else if (index == kToolbarRight) {
            EndWindow(1);
        }
    }
}

void CEditMyStockWnd::OnEditorCommand(int id, int /*code*/, LPARAM value) {
    if (id == kButtonId) {
        StartSearch(true);
        return;
    }
    if (id != UI_BOTTOM_BAR_ID)
        return;
    switch (BarButtonIndex(0, value)) {
    case kBarOk:
        if (m_addable) {
            const int count = m_list.CountChecked();
            if (count == 0) {
                Tell(kNoneChosen);
                return;
            }
            if (Ask(u"确定添加这" + AnsiToWide(std::to_string(count)) + u"只股票？") != IDYES)
                return;
            AddCheckedStocks();
            EndWindow(1);
        } else {
            if (m_changed && !SaveListToStore())
                return;
            EndWindow(1);
        }
        break;
    case kBarSwitchView:
        SwitchView();
        break;
    case kBarUp:
        if (!m_addable)
            MoveChecked(true);
        break;
    case kBarDown:
        if (!m_addable)
            MoveChecked(false);
        break;
    case kBarDelete:
        DeleteChecked();
        break;
    case kBarBack:
        if (!m_addable && m_changed && Ask(u"放弃修改并返回？") != IDYES)
            return;
        EndWindow(1);
        break;
    default:
        break;
    }
}

int CEditMyStockWnd::Ask(std::u16string_view text) {
    return UiMessageBox(this, text, u"提示", MB_YESNO);
}

void CEditMyStockWnd::Tell(std::u16string_view text) {
    UiMessageBox(this, text, u"提示", MB_OK);
}

// ---- Searching ----

void CEditMyStockWnd::StartSearch(bool fromButton) {
    const std::u16string typed = m_edit.GetText();
    if (typed.empty() || !IsSearchableText(typed)) {
        // Only letters and digits travel: nothing else can reach the request.
        if (fromButton || !typed.empty()) {
            Tell(kPromptSearch);
            m_edit.SetFocus();
        }
        return;
    }
    PostSearch(IsPinyinText(typed));
}

void CEditMyStockWnd::PostSearch(bool pinyin) {
    m_pinyin = pinyin;
    const bool posted = pinyin ? PostRequest(kPinyinSearchMain, kPinyinSearchSub) : PostRequest(-1, 0);
    if (posted)
        m_edit.EnableWindow(false);
}

void CEditMyStockWnd::OnRequestNotSent(NotSent /*why*/) {
    // A refused send leaves nothing to wait for: the box is usable again.
    m_pinyin = false;
    if (!m_edit.IsEnabled())
        m_edit.EnableWindow(true);
}

int CEditMyStockWnd::BuildRequest(CAString& out) {
    CNetWnd::SetMenuParams(-1, nullptr, std::string(kQuoteRequest).c_str());
    Sent kind = Sent::WatchList;
    std::string text;
    if (!IsWatchListView()) {
        const std::u16string typed = m_edit.GetText();
        if (!IsSearchableText(typed))
            return 0;
        text = m_pinyin ? PinyinSearchRequest(typed) : std::string();
        kind = Sent::Pinyin;
        if (text.empty()) {
            m_pinyin = false;
            kind = Sent::Code;
            text = CodeSearchRequest(typed);
        }
    } else {
        m_pinyin = false;
        CAppData* app = CAppData::Instance();
        const std::vector<std::string> items = ParseMyQuotes(app ? ReadMyQuotes(*app).value_or("") : "");
        text = WatchListQuoteRequest(QuotableItems(items), kEditorFields);
        if (text.empty())
            return 0;
        // Every stored item is listed, an unsent one under its key, so that
        // saving never drops what the user did not delete.
        Asking().text = JoinMyQuotes(items);
    }
    out.Assign(text);
    Asking().kind = static_cast<int>(kind);
    return 1;
}

void CEditMyStockWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!m_edit.IsEnabled())
        m_edit.EnableWindow(true);
    const int asked = Asked().kind;
    const Sent sent = asked > 0 && asked <= static_cast<int>(Sent::WatchList) ? static_cast<Sent>(asked) : Sent::None;
    m_pinyin = false;
    if (!data || length <= 0)
        return;
    if ((sent == Sent::WatchList) != IsWatchListView()) {
        // The view switched while the reply was out: it belongs to the other
        // list. The watch list asks again for what the late reply kept from
        // it, once the worker that is delivering this reply is free.
        if (IsWatchListView())
            PostMessage(kMsgRefetchWatchList, 0, 0);
        return;
    }
    CDataSetList reply(data, length);
    if (reply.IsError()) {
        ShowReplyError(reply);
        if (m_list.GetCount() > 0) {
            m_list.RemoveAll();
            m_list.Invalidate();
        }
        return;
    }
    CDataSet* first = *reply.GetAt(0);
    if (!first || first->GetRowCount() == 0)
        return;
    m_list.RemoveAll();
    if (sent == Sent::Pinyin)
        FillSearchResults(*first);
    else
        FillQuoteResults(*first, sent == Sent::WatchList ? &Asked().text : nullptr);
    if (m_mode == kModeSearch && m_list.GetCount() == 1) {
        CloseAndOpen(0);
        return;
    }
    if (m_list.GetCount() > 0 && m_edit.HasFocus())
        SetFocus();
    Invalidate();
}

void CEditMyStockWnd::FillQuoteResults(CDataSet& set, const std::string* store) {
    // Columns of "field=4|3|1": name, code, market.
    std::vector<std::u16string> texts;
    std::vector<WatchReplyKey> keys;
    set.MoveFirst();
    do {
        const std::string code = Narrow(set.GetFieldText(1).view());
        const int market = set.GetFieldInt(2);
        texts.push_back(set.GetFieldText(0).str() + u" (" + AnsiToWide(code) + u"." +
                        set.GetFieldText(2).str() + u")");
        keys.push_back({code, market});
    } while (set.MoveNext());

    if (store) {
        // The watch list in the store's order; a stored item the reply does
        // not know stays in the list under its key, so that saving never
        // drops what the user did not delete.
        for (const std::string& item : ParseMyQuotes(*store)) {
            const std::vector<int> rows = MatchWatchItem(item, keys);
            if (rows.empty())
                m_list.AddCheckItem(AnsiToWide(item), item.c_str(), false);
            for (int r : rows)
                m_list.AddCheckItem(texts[r], keys[r].StoreKey().c_str(), false);
        }
        return;
    }
    for (size_t i = 0; i < keys.size(); ++i)
        m_list.AddCheckItem(texts[i], keys[i].StoreKey().c_str(), false);
}

void CEditMyStockWnd::FillSearchResults(CDataSet& set) {
    // Columns of the pinyin search: market, type, code, name.
    set.MoveFirst();
    do {
        const std::string market = Narrow(set.GetFieldText(0).view());
        const std::string code = Narrow(set.GetFieldText(2).view());
        const std::string key = SearchResultKey(code, market);
        m_list.AddCheckItem(FormatSearchItem(set.GetFieldText(3).view(), code, market), key.c_str(), false);
    } while (set.MoveNext());
}

// ---- Choosing ----

int CEditMyStockWnd::OpenMenuChild(int index) {
    const CCheckItem* item = index >= 0 ? m_list.GetCheckItem(index) : nullptr;
    if (!item)
        return -1;
    const std::string text = MinuteChartRequest(item->GetValue().str());
    if (text.empty())
        return -1;
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy)
        return -1;
    std::memcpy(copy, text.c_str(), text.size() + 1);
    // The loop takes the text over: the owner frees it, or the loop does
    // when the owner is gone before the message reaches it.
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop) {
        std::free(copy);
        return -1;
    }
    return loop->PostOwned(m_owner, WND_MSG_OPEN_FSCHART, 0, reinterpret_cast<LPARAM>(copy), &FreeChartRequestText)
               ? 1
               : -1;
}

void CEditMyStockWnd::CloseAndOpen(int index) {
    // Closing first lets the owner show again before its chart opens over it.
    EndWindow(-1);
    OpenMenuChild(index);
}

// ---- Editing ----

void CEditMyStockWnd::SwitchView() {
    if (!m_addable) {
        if (m_changed && Ask(u"添加前是否应用当前编辑？") == IDYES && !SaveListToStore())
            return;
        // The list is emptied: what was not saved is gone with it.
        m_changed = false;
        m_list.RemoveAll();
        m_addable = true;
        SetRefreshOnShow(false);
        PlaceControls();
        m_edit.SetFocus();
        std::vector<int> images = kEditorImages;
        images[kBarSwitchView] = kSwitchToWatchImage;
        SetImageBarButtons(images);
    } else {
        m_addable = false;
        m_pinyin = false;
        if (m_edit.HasFocus())
            SetFocus();
        PlaceControls();
        Refresh();
        SetRefreshOnShow(true);
        SetImageBarButtons(kEditorImages);
    }
    Invalidate();
}

void CEditMyStockWnd::MoveChecked(bool up) {
    std::vector<bool> checked;
    for (int i = 0; i < m_list.GetCount(); ++i)
        checked.push_back(m_list.IsChecked(i));
    int movedTo = -1;
    const std::optional<std::vector<int>> order = MoveCheckedItems(checked, up, &movedTo);
    if (!order)
        return;
    // Texts and records move together; the records change hands, not owners.
    const std::vector<UiListItem> old = m_list.Items();
    for (int i = 0; i < static_cast<int>(order->size()); ++i) {
        m_list.SetItemText(i, old[(*order)[i]].text);
        m_list.SetItemData(i, old[(*order)[i]].data);
    }
    m_changed = true;
    m_list.SetCurSel(movedTo);
    Invalidate();
}

void CEditMyStockWnd::DeleteChecked() {
    if (m_list.CountChecked() == 0 || Ask(u"确定删除所选股票？") != IDYES)
        return;
    for (int i = m_list.GetCount() - 1; i >= 0; --i)
        if (m_list.IsChecked(i))
            m_list.RemoveItem(i);
    m_list.SetCurSel(-1);
    m_changed = true;
    Invalidate();
}

bool CEditMyStockWnd::SaveListToStore() {
    std::vector<std::string> keys;
    for (int i = 0; i < m_list.GetCount(); ++i)
        if (const CCheckItem* item = m_list.GetCheckItem(i))
            keys.push_back(item->GetValue().str());
    CAppData* app = CAppData::Instance();
    if (app && WriteMyQuotes(*app, JoinMyQuotes(keys))) {
        m_changed = false;
        return true;
    }
    Tell(u"自选股保存失败!");
    return false;
}

void CEditMyStockWnd::AddCheckedStocks() {
    for (int i = 0; i < m_list.GetCount(); ++i)
        if (const CCheckItem* item = m_list.GetCheckItem(i); item && item->IsChecked())
            AddToMyStocks(item->GetValue().c_str(), this);
}
