// The title bar across the top of every application window: the title
// text between two buttons, the back button on the left and the trade
// button on the right. A tap on a button sends its message to the window
// (WND_MSG_CAPTION_BACK, WND_MSG_CAPTION_TRADE). The trade button is drawn
// in the logged-in look while the application's trade-logged-in flag is
// set. While a request is outstanding a short line runs along the bar's
// bottom edge, stepped every 100 ms by a timer of the bar.
//
// Presses that miss both buttons go on to the window, so a swipe across
// the title still reaches it.
#pragma once

#include "core/CWString.h"
#include "platform/win/UiWin.h"

class CCaptionBar : public UiWin {
public:
    static constexpr int kHeight = 42;        // pixels
    static constexpr int kButtonWidth = 70;   // pixels, each button
    static constexpr UINT kBusyTimer = 1;
    static constexpr int kBusyIntervalMs = 100;
    static constexpr int kBusySteps = 12;     // positions of the running line

    CCaptionBar();
    ~CCaptionBar() override;
    const char* GetClassName() const override { return "CCaptionBar"; }

    // Creates the bar across the top of window (full width, kHeight high).
    bool CreateBar(UiWin* window);

    void SetTitle(std::u16string_view title);
    const CWString& GetTitle() const { return m_title; }

    // Starts or stops the running line; starting twice keeps one timer.
    void SetBusy(bool busy);
    bool IsBusy() const { return m_busy; }
    int GetBusyStep() const { return m_busyStep; }

    // Button rectangles in client coordinates.
    CRect GetBackRect() const;
    CRect GetTradeRect() const;
    // Whether the trade button is drawn logged in now.
    static bool TradeLookLoggedIn();

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnTimer(UINT id) override;

private:
    enum Pressed { kNone, kBack, kTrade, kPassedOn };
    CWString m_title;
    bool m_busy = false;
    int m_busyStep = 0;          // 0 .. kBusySteps − 1
    Pressed m_pressed = kNone;   // what the current press came down on
};
