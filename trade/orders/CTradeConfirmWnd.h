// The page on which an order, a cancellation or a batch of orders is shown
// once more and, on the user's OK, sent: one request per entry (one for a
// whole batch), the server's answer (the contract number) in a message,
// a bought stock added to the watch list, and the page closed with code 1
// so that the window below refreshes.
//
// Never twice. The request leaves only from the OK press that passed the
// entry's checks (CActionSend); the page sends nothing on a show, a refresh
// or a child's close. From the press until the page has told the outcome it
// ignores a second press, the back swipe, the caption bar's buttons and a
// close message, so the answer always reaches the page and the user. A
// request that never left says "委托未能发出，请稍后再试" and the entry may
// be sent again; one that left without a readable answer (an empty body
// included) says "请求异常，请通过当日委托核实" and the page goes on: the
// user checks the same-day orders, never resends.
//
// Ownership: whoever makes the page runs it and deletes it after the run
// (Run does both). A worker the page makes for itself, when the shared
// one is busy, is the page's and ends with it.
#pragma once

#include "framework/ui/CActionSend.h"
#include "framework/ui/CLayoutBaseWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/ui/UiStatic.h"
#include "trade/orders/CPriceTypeItem.h"
#include "trade/orders/OrderRequests.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>


class CTradeConfirmWnd : public CLayoutBaseWnd {
public:
    static constexpr int kLabelId = 302;
    static constexpr int kTitleFontSize = 26; // pixels
    static constexpr int kLineFontSize = 25;  // pixels
    // Posted to itself once a reply was taken: tell it, then go on; or
    // tell that nothing left, and let the press be made again.
    enum : UINT {
        kMsgTellOutcome = WND_MSG_CONFIRM_TELL_OUTCOME,
        kMsgTellNotSent = WND_MSG_CONFIRM_TELL_NOT_SENT,
    };

    CTradeConfirmWnd();
    ~CTradeConfirmWnd() override;
    const char* GetClassName() const override { return "CTradeConfirmWnd"; }

    // Makes a page titled title over parent with the entries (and the
    // price type of an order), runs it and deletes it; the close code, or
    // −1 when no page ran (no entry was taken, or it could not be made).
    static int Run(UiWin* parent, std::u16string_view title, ConfirmMode mode, const std::vector<ConfirmEntry>& entries,
                   const CPriceTypeItem* priceType = nullptr);

    // Adds an entry: with a price type the page keeps a copy of it (the
    // last one given), then BuildConfirmText. False when not taken.
    bool SetOrder(ConfirmMode mode, const ConfirmEntry& entry, const CPriceTypeItem* priceType);
    // Adds an entry and its lines. The first entry sets the page's mode; it
    // is not taken without code, name, price, quantity and holder (and a
    // serial for a cancel); an entry of another mode is never taken.
    bool BuildConfirmText(ConfirmMode mode, const ConfirmEntry& entry);

    ConfirmMode GetMode() const { return m_mode; }
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    const std::vector<std::u16string>& GetLines() const { return m_lines; }
    const CPriceTypeItem* GetPriceType() const { return m_priceType ? &*m_priceType : nullptr; }
    // From the press until the outcome was told.
    bool IsBusy() const { return m_action.IsBusy(); }

    // ---- Virtual operations ----
    void BuildForm() override;
    // The OK press: disables the toolbar and submits the current entry.
    void OnOk() override;
    // Submits the current entry: entries that fail their checks are told
    // and skipped; when none is left the page closes with 1. True when a
    // request went out.
    bool SubmitCurrent();
    int BuildRequest(CAString& out) override;
    void OnNetReply(const CNetReply& reply) override;
    void OnRequestNotSent(NotSent why) override;
    // The page's only request is its press's.
    void SendRefresh(RefreshCause) override {}
    bool IgnoresBackSwipe() const override;
    void OnToolbarCommand(int index) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnLayout() override;

private:
    struct Message {
        std::u16string text;
        std::u16string caption;
    };

    void PlaceLabels();
    // Everything was sent or skipped: the page ends with 1.
    void Finish();
    // The reply's messages, and the watch-list item of a bought stock.
    void ReadReply(const CNetReply& reply);
    // Tells m_outcome after the worker's send has returned, then goes on.
    void TellLater();

    ConfirmMode m_mode = ConfirmMode::None;
    int m_current = 0;                        // the entry to send next
    std::vector<ConfirmEntry> m_entries;
    std::optional<CPriceTypeItem> m_priceType; // the order's, owned copy
    std::vector<std::u16string> m_lines;
    UiStatic m_title;
    std::vector<std::unique_ptr<UiStatic>> m_lineLabels;
    CActionSend m_action{*this, u"委托未能发出，请稍后再试"};
    std::vector<Message> m_outcome;           // what the last reply tells
    std::string m_watchItem;                  // "code.market" of a bought stock, or empty
};
