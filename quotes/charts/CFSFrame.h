// The minute chart window ("fschart"): the request of one stock's day and
// its refresh from the held points, the reply taken into the minute data
// and drawn by the minute view, the chart menu and toolbar, the market
// index overlay, the orders at a pressed quote level and the information
// marks of the day.
//
// Requests. The first asks for the whole day (time "0", maxvol
// "999999999"); each later one from the second-to-last held point with the
// held maximum volume, so only new points travel. A history chart (a past
// "date") is complete and sends nothing more; an overlay switch refused by
// a busy worker goes out again after the reply the worker was busy with.
//
// Windows it opens (deal details, the information page, the order form,
// the K-line) are run and deleted by the code that opens them; the frame
// keeps no pointer to them. To switch to the K-line it closes itself first
// and then asks its parent, so the K-line opens over the parent.
#pragma once

#include "framework/ui/WndMessages.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "quotes/charts/CChartWnd.h"
#include "quotes/charts/IFSChartHost.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CFSChartView;
class CFSData;

class CFSFrame : public CChartWnd, public IFSChartHost {
public:
    // Menu command ids.
    enum : int {
        kMenuCancel = 121,
        kMenuSell = 122,
        kMenuBuy = 123,
        kMenuAddToMyStocks = 126,
        kMenuDeals = 128,
        kMenuOverlayOn = 129,
        kMenuOverlayOff = 132,
    };
    // Request kinds: the chart's refresh, or the request an overlay switch asked.
    enum : int { kAskChart = 0, kAskOverlaySwitch = 1 };
    // Posted to itself with wParam kInfoMineCode and an owned 8-bit id text.
    static constexpr UINT kMsgInfoMine = WND_MSG_INFO_MARKS_CHOSEN;
    static constexpr WPARAM kInfoMineCode = 14;
    // The toolbar's images, left to right.
    static constexpr int kToolbarImages[6] = {126, 118, 114, 111, 115, 116};
    // What the view measures its labels with before data arrives.
    static constexpr const char* kSampleText = "9999.999";
    // A first request or an overlay switch that found the worker busy is
    // tried again after this long (and again while the worker stays busy).
    static constexpr UINT kRetryTimer = 501;
    static constexpr UINT kRetryMs = 200;

    CFSFrame();
    ~CFSFrame() override;
    const char* GetClassName() const override { return "CFSFrame"; }

    // ---- Pure rules ----
    // "tc_mfuncno=31000&tc_sfuncno=1&code=&addup=&time=&date=&maxvol=&freq=2
    // &close_xxld=0"; empty when a value may not travel (code: letters,
    // digits and "."; time, date and maxvol: digits).
    static std::string MinuteRequest(std::string_view code, bool addup, std::string_view time, std::string_view date,
                                     std::string_view maxvol);
    using MenuItem = CPopMenuItem;
    // The chart menu of a stock, an index or a history chart.
    static std::vector<MenuItem> ChartMenuItems(bool index, bool history, bool overlayOn);

    // ---- State ----
    CFSData* GetData() const override { return m_data.get(); }
    CFSChartView* GetView() const;
    const std::string& GetRequestedDate() const { return m_requestedDate; }
    // The process-wide overlay switch, kept as the window manager's chart mode.
    static bool GetOverlaySwitch();
    static void SetOverlaySwitch(bool on);

    // ---- What the view asks (IFSChartHost) ----
    bool IsOverlayWanted() const override { return GetOverlaySwitch(); }
    void SetSwipeArea(const CRect& chartRect) override;
    void RepaintView() override { RepaintChart(); }
    // Posts kMsgLevelHeld to itself, so the touch ends before the pop-up.
    void OnLevelHeld(int x, int y) override;
    // Asks for the information page of mark ids (posted to itself, so the
    // touch that found the mark ends first).
    void PostInfoMine(std::string_view ids) override;

    // ---- Window operations ----
    int OnInitDialog() override;
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    void OnWindowShown() override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    void OnRequestNotSent(NotSent why) override;
    bool ReadsPastErrorSet(int index) const override;
    // A chosen search result (WND_MSG_OPEN_FSCHART) shows its stock here.
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT id) override;
    void OnToolbarCommand(int index) override;
    void OpenBuySell(bool buy, bool priced) override;
    void ClearData() override;

    // ---- Commands ----
    void ShowChartMenu();
    void OnMenuCommand(int id);
    void OpenKLine();
    void OpenDealDetails();
    void OpenInfoMine(const std::string& code, const std::string& date, const std::string& ids);

private:
    // Takes a minute reply in and lays the view out for it.
    void LoadMinuteData(CDataSetList& list);
    // Lays the view out again with labels the width of its reference value.
    void LayoutView();
    // The order pop-up of a pressed quote level.
    void ShowLevelMenu();
    // Sends an overlay switch a busy worker refused, unless a reply since
    // brought what it asked for.
    void ResendOverlaySwitch();

    std::string m_requestedDate;       // "date" of the window; empty: today
    std::unique_ptr<CFSData> m_data;
    bool m_overlayResend = false; // a busy worker refused a switch: send after the reply
};
