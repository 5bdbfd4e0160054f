// The K-line window ("kxchart"): one stock's bars of the chosen period with
// the chosen indicator, paged back as the user scrolls, zoomed by pinches,
// with the chart menu, the chooser of indicator and period, and the switch
// to the minute chart.
//
// Requests. Every send — the first show, a refresh, a child's close with
// code 1, a zoom that needs more bars, a choice, a page — goes through
// SendKLine, which records the mode; BuildRequest notes in the request's
// record the mode (its kind), the period and the indicator it asked with. The frame is idle exactly when none of its
// requests is out: a reply, a failure, a refusal or an abandonment returns
// it to idle. A reply is drawn with the period and indicator it was asked
// with; a choice made while a request was out is applied by one reload
// after it. A page that adds no bar stops the paging until the next
// reload. The frame never refreshes on a timer.
//
// A refused reply (unreadable, an error set other than the bars, no bar
// set, "hq.info") leaves the chart, the stock and the title as they were.
#pragma once

#include "quotes/charts/CChartWnd.h"
#include "quotes/charts/IKXChartHost.h"
#include "quotes/charts/KLineMath.h"

#include <memory>
#include <string>
#include <string_view>

class CKXChartView;

class CKXFrame : public CChartWnd, public IKXChartHost {
public:
    enum : int {
        kMenuCancel = 121, kMenuSell = 122, kMenuBuy = 123, kMenuDetail = 125, kMenuAddToMyStocks = 126,
        kMenuParams = 139,
    };
    enum : int { kModeIdle = -1, kModePage = 0, kModeReload = 1 };
    static constexpr int kToolbarImages[6] = {126, 118, 122, 111, 115, 116};
    static constexpr const char* kSampleText = "9999.999";

    CKXFrame();
    ~CKXFrame() override;
    const char* GetClassName() const override { return "CKXFrame"; }

    // ---- What the view and the chooser call ----
    // A page of older bars, when idle and paging has not run out.
    void RequestOlder() override;
    // Another indicator (ignored when empty): stored, and reloaded now when
    // idle or after the request out.
    void SetTechName(const char* name) override;
    // Another period, likewise.
    void SetPeriodType(int period);
    // The zoom level (clamped): the view's metrics, and more bars when the
    // held ones do not fill the chart.
    void SetZoom(int level);
    const std::string& GetTechName() const { return m_techName; }
    int GetPeriodType() const { return m_period; }
    // The period of the bars on screen (what their request asked for).
    int GetShownPeriod() const override { return m_shownPeriod; }
    int GetZoom() const { return m_pinch.level; }
    int GetMode() const { return m_mode; }
    bool IsIdle() const { return m_mode == kModeIdle; }
    CKXChartView* GetView() const;
    // Opens the minute chart of one day (the cursor button of day bars).
    void OpenDayMinuteChart(const std::string& request) override;
    // Swipes count in chartRect (chart coordinates) only.
    void SetSwipeArea(const CRect& chartRect) override;
    // Closes and asks the parent for the minute chart of the stock.
    void OpenMinuteChart();
    void OnMenuCommand(int id);

    // ---- Window operations ----
    int OnInitDialog() override;
    void OnWindowShown() override;
    // Releases the gesture registration and closes with code.
    void Close(int code);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnToolbarCommand(int index) override;
    void OnLeftSwipe() override;
    void SendRefresh(RefreshCause cause) override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    void OnRequestNotSent(NotSent why) override;
    bool ReadsPastErrorSet(int index) const override;

private:
    // The one road of every K-line send.
    void SendKLine(int mode);
    // After a reply: one reload when a choice or zoom came while busy.
    void ApplyPending(int askedPeriod, const std::string& askedTech);
    void ShowChartMenu();
    void OpenParams();

    int m_mode = kModeIdle;
    int m_direction = 1;
    int m_period = kPeriodDay;
    std::string m_techName = "MACD";
    CKLinePinch m_pinch;            // zoom level 1 and no gesture counted
    int m_shownPeriod = kPeriodDay;
    bool m_reloadWanted = false;    // a choice or zoom came while busy
    bool m_noOlder = false;         // a page added nothing
    bool m_gesturesRegistered = false;
};
