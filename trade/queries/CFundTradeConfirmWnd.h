// The shared trade confirmation page of the fund and warrant screens: the
// title "请确认您的操作:" above one label per line of the confirmation text,
// and "确定" sending the kept request after the trade login id.
//
// The request acts (an exercise, a subscription), so it leaves at most once:
// only the press of "确定" that passed its checks sends it (CActionSend),
// never a show or a refresh; once a worker took it the page is sealed and a
// second press does nothing; while it is out the page cannot be closed, nor
// left by the caption's buttons. It goes through the shared worker when that
// one is free now, else through a worker of the page's own; the GUI never
// waits for a worker. A request that never left says so and the press may be
// made again; any other end is told and closes the page with code 1, so that
// the form below refreshes; an answer that never came says
// "请求异常，请通过当日委托核实" and never invites a retry.
#pragma once

#include "framework/ui/CActionSend.h"
#include "framework/ui/CLayoutBaseWnd.h"
#include "platform/ui/UiStatic.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CFundTradeConfirmWnd : public CLayoutBaseWnd {
public:
    static constexpr int kTitleLabelId = 310;
    static constexpr int kFirstLineId = 311; // the lines follow on
    static constexpr std::u16string_view kTitle = u"请确认您的操作:";
    static constexpr std::u16string_view kOutcomeUnknown = u"请求异常，请通过当日委托核实";
    static constexpr std::u16string_view kCheckOrders = u"请务必在当日委托中查询确认!";
    static constexpr std::u16string_view kNotSent = u"请求未能发出，请稍后再试";

    // title: the caption; parent: the window Run opens the page over.
    CFundTradeConfirmWnd(std::u16string_view title, UiWin* parent);
    ~CFundTradeConfirmWnd() override;
    const char* GetClassName() const override { return "CFundTradeConfirmWnd"; }

    // The lines shown (text split at "\n") and a copy of the request to send.
    void SetConfirm(std::u16string_view text, const char* request);
    // The text shown before the contract number; null keeps the old one.
    void SetResultPrefix(const char16_t* prefix);
    // Creates the page over the work area above its parent and runs it
    // modally; the close code (−1 when it could not run).
    int Run();

    // True while the request is with a worker.
    bool IsSending() const { return m_action.IsBusy(); }
    // True once a worker took the request: it is never sent again.
    bool IsSealed() const { return m_sealed; }
    const std::vector<std::u16string>& GetLines() const { return m_lines; }

    // ---- Virtual operations ----
    void BuildForm() override;
    void OnOk() override;
    void OnToolbarCommand(int index) override;
    // The login id and the kept request, only for the press under way.
    int BuildRequest(CAString& out) override;
    // Shows, refreshes and children never send the request.
    void SendRefresh(RefreshCause) override {}
    void OnNetReply(const CNetReply& reply) override;
    void OnRequestNotSent(NotSent why) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool IgnoresBackSwipe() const override;
    void OnLayout() override;

private:
    // Tells text (caption "提示") and closes with code 1.
    void Finish(std::u16string_view text);
    // Nothing left: tells so and lets the press be made again.
    void NotSentAgain();
    void PlaceLabels();

    UiWin* m_parent;                    // not owned
    std::vector<std::u16string> m_lines;
    std::string m_request;              // the kept request
    std::u16string m_prefix;            // before the contract number
    CActionSend m_action{*this, kNotSent, kOutcomeUnknown};
    bool m_sealed = false;              // a worker took it
    UiStatic m_titleLabel;
    std::vector<std::unique_ptr<UiStatic>> m_lineLabels;
};
