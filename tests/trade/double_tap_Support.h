// What the double-tap tests share: two taps queued before the first is
// handled, how many windows of a kind are open, the most that ever were,
// and where a window's caption 交易 button lies.
#pragma once

#include "framework/ui/CBaseWnd.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/win/UiMessageLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace doubletap {

// GUI thread: the top-level windows of the class open now, shown or not.
inline int OpenCount(const char* className) {
    const std::vector<UiWin*> tops = UiMessageLoop::Current()->TopLevelWindows();
    return static_cast<int>(std::count_if(
        tops.begin(), tops.end(), [className](UiWin* w) { return std::strcmp(w->GetClassName(), className) == 0; }));
}

// OpenCount asked from the test thread.
inline int OpenNow(CTestDriver& driver, const char* className) {
    return driver.RunOnGui([className] { return OpenCount(className); });
}

// The window of hostClass alone shown, and no modal run left.
inline void ExpectOnlyShown(CTestDriver& driver, const char* hostClass) {
    driver.RunOnGui([hostClass] {
        UiMessageLoop* loop = UiMessageLoop::Current();
        EXPECT_EQ(loop->ModalDepth(), 0);
        std::vector<std::string> shown;
        for (UiWin* w : loop->TopLevelWindows())
            if (w->IsVisible())
                shown.push_back(w->GetClassName());
        EXPECT_EQ(shown, std::vector<std::string>{hostClass});
    });
}

// Two taps on the shown bottom bar's button index, both queued before the
// first is handled.
inline bool DoubleTapBottom(CTestDriver& driver, int index) {
    const std::optional<CPoint> p = CDriverControls::BottomButtonPoint(driver, index);
    return p && driver.TapAll({*p, *p});
}

// The centre of the 交易 button in the caption of the topmost shown window.
inline std::optional<CPoint> CaptionTradePoint(CTestDriver& driver) {
    return driver.RunOnGui([]() -> std::optional<CPoint> {
        const std::vector<UiWin*> tops = UiMessageLoop::Current()->TopLevelWindows();
        for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
            auto* wnd = dynamic_cast<CBaseWnd*>(*it);
            if (!wnd || !wnd->IsVisible())
                continue;
            CCaptionBar& bar = wnd->GetCaptionBar();
            const CRect r = bar.GetTradeRect().Offset(bar.GetScreenRect().left, bar.GetScreenRect().top);
            return CPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        }
        return std::nullopt;
    });
}

// The most windows of a class open at once from Watch until the driver
// stops (or Watch again), counted after every message the loop handles.
class COpenPeak {
public:
    void Watch(CTestDriver& driver, const char* className) {
        auto peak = m_peak;
        *peak = 0;
        driver.RunOnGui([peak, className] {
            *peak = OpenCount(className);
            UiMessageLoop::Current()->SetAfterDispatchHook(
                [peak, className] { *peak = std::max(*peak, OpenCount(className)); });
        });
    }
    int Peak(CTestDriver& driver) const {
        auto peak = m_peak;
        return driver.RunOnGui([peak] { return *peak; });
    }

private:
    std::shared_ptr<int> m_peak = std::make_shared<int>(0);
};

} // namespace doubletap
