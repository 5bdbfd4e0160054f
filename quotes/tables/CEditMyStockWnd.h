// One window class in two modes over the watch list "MyQuotes":
//   mode 0, the stock search pop-up: the user types a code or the pinyin
//     initials of a name, picks a found stock, and the window that opened
//     the pop-up shows that stock's minute chart;
//   mode 1, the watch-list editor: the watch list's stocks are reordered and
//     deleted ("我的股票列表："), or found by a search and added
//     ("可添加的股票列表：").
// It also holds AddToMyStocks, the one way other windows add a stock to the
// watch list, so that every caller shows the same three outcomes.
//
// Requests (QuoteRequests.h): a code search is 31000/4 "count=1&code=<text>",
// a pinyin search 31000/10 "type=2&pattern=<TEXT>", the editor's watch list
// 31000/4 with the stored items that may travel. The search box is disabled
// while a search is out and enabled again by the reply or by the refusal of
// the send.
#pragma once

#include "core/CAString.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/WindowKeywords.h"
#include "framework/ui/WndMessages.h"
#include "framework/ui/widgets/CCheckList.h"
#include "framework/ui/widgets/CNotifyEdit.h"
#include "framework/ui/widgets/CTextCtrl.h"
#include "platform/ui/UiButton.h"

#include <string>
#include <string_view>

class CDataSet;

class CEditMyStockWnd : public CNetWnd {
public:
    enum : int { kModeSearch = 0, kModeEditor = 1 };
    // Control ids.
    enum : int { kEditId = 176, kButtonId = 177, kTitleId = 160, kListId = 170 };
    // The editor's image bar, in order (search mode has the text toolbar).
    enum : int { kBarOk = 0, kBarSwitchView = 1, kBarUp = 2, kBarDown = 3, kBarDelete = 4, kBarBack = 5 };
    static constexpr int kMaxSearchChars = 6;
    static constexpr int kWindowKind = 13; // a back swipe never closes it

    // owner: the window whose minute chart a chosen stock opens (mode 0) and
    // over which messages show; not owned.
    CEditMyStockWnd(std::u16string_view caption, UiWin* owner, int mode);
    ~CEditMyStockWnd() override;
    const char* GetClassName() const override { return kStockEditorClass; }

    // Adds item (a code, a point and a market; "600000.1" is widened to
    // "600000.01") to the end of the watch list and tells the user over
    // owner: "自选股添加成功!", "股票%s已在自选股" or "数据错误，无市场代码！"
    // (an item without a market is never stored), or "自选股添加失败!" when
    // the store cannot be written. Returns 1 when the item was added.
    static int AddToMyStocks(const char* item, UiWin* owner);

    // A pinyin search result's stock key: "code.market", a one-character
    // market widened with a leading "0" as the code search gives it, a
    // longer one as it stands ("600010", "2" → "600010.02"; "830001", "12"
    // → "830001.12").
    static std::string SearchResultKey(std::string_view code, std::string_view market);
    // "%s(%s)" of the name and SearchResultKey: a pinyin search result's text.
    static std::u16string FormatSearchItem(std::u16string_view name, std::string_view code,
                                           std::string_view market);

    int GetMode() const { return m_mode; }
    bool IsChanged() const { return m_changed; }
    bool IsAddableView() const { return m_addable; }
    CCheckList& GetList() { return m_list; }
    CNotifyEdit& GetEdit() { return m_edit; }

    // ---- Virtual operations ----
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnPaint(CDC& dc) override; // UpdateControls: the frame behind the list
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void OnLayout() override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    void OnRequestNotSent(NotSent why) override;
    // Posts the owner WND_MSG_OPEN_FSCHART with a new "date=&code=<key>" of
    // item index (freed by the loop when the owner is gone before it
    // arrives); −1 for a negative index, no such item or an owner gone
    // already, else 1.
    int OpenMenuChild(int index) override;

private:
    // Draws the rounded frame behind the list (shadow, then the frame).
    void UpdateControls(CDC& dc);
    void PlaceControls();
    void OnSearchCommand(int id, int code, LPARAM value);
    void OnEditorCommand(int id, int code, LPARAM value);
    // Starts a search of the edit's text: from the button (an empty box is
    // told to type) or from six typed characters.
    void StartSearch(bool fromButton);
    // Sends the search request; the box is disabled while it is out.
    void PostSearch(bool pinyin);
    void CloseAndOpen(int index);
    void SwitchView();
    void MoveChecked(bool up);
    void DeleteChecked();
    // Writes the list's keys in list order; false when the write fails.
    bool SaveListToStore();
    void AddCheckedStocks();
    // Posted to itself when the watch list must be asked for again once the
    // worker is done delivering a reply.
    static constexpr UINT kMsgRefetchWatchList = WND_MSG_REFETCH_WATCH_LIST;
    // The kind of request the current mode and view send.
    bool IsWatchListView() const { return m_mode == kModeEditor && !m_addable; }
    // store: the store text a watch-list request was built from; null for a search.
    void FillQuoteResults(CDataSet& set, const std::string* store);
    void FillSearchResults(CDataSet& set);
    int Ask(std::u16string_view text);
    void Tell(std::u16string_view text);

    CNotifyEdit m_edit;
    UiButton m_button;
    CTextCtrl m_title;
    CCheckList m_list;
    CRect m_frame;           // the list's rectangle widened by 3 pixels each side
    HWND m_owner = nullptr;  // the owner's handle: gone owners get nothing
    int m_mode = kModeSearch;
    bool m_changed = false;  // the edited list differs from the store
    bool m_addable = false;  // mode 1: the search view is shown
    bool m_pinyin = false;   // the search being started is by pinyin initials
    // The request kinds, so that a reply is read as what its request asked
    // (the view may have switched while it was out); a watch-list request
    // notes the store text it was built from.
    enum class Sent { None, Code, Pinyin, WatchList };
    std::u16string m_autoSearched; // the six-character text searched as typed
};
