// The loop's screen: its size and orientation, and the painting of every
// visible top-level window into it, whole or in the marked rectangles.
#include "platform/win/UiMessageLoopImpl.h"

#include "platform/gdi/CDC.h"
#include "platform/win/UiWin.h"

#include <cstdio>
#include <cstdlib>

using loop_detail::Table;

CSurface& UiMessageLoop::Screen() { return m_impl->screen; }

void UiMessageLoop::SetScreenMode(int mode) {
    m_screenMode = mode;
    if (IsPortraitMode(mode))
        m_impl->screen.Resize(480, 720);
    else
        m_impl->screen.Resize(720, 480);
    Table().MarkAllDirty();
    Wake();
}

CRect UiMessageLoop::GetScreenRect() const {
    return IsPortraitMode(m_screenMode) ? CRect{0, 0, 480, 720} : CRect{0, 0, 720, 480};
}

CRect UiMessageLoop::GetWorkRect() const {
    CRect r = GetScreenRect();
    r.top += kTaskBarHeight;
    return r;
}

void UiMessageLoop::InvalidateScreen() {
    Table().MarkAllDirty();
    Wake();
}

bool UiMessageLoop::NeedsPaint() const { return Table().dirty; }

void UiMessageLoop::PaintNow() {
    bool all = false;
    std::vector<CRect> damage = Table().TakeDamage(&all);
    CSurface& screen = m_impl->screen;
    const CRect screenRect{0, 0, screen.Width(), screen.Height()};
    m_lastPaint.whole = all || damage.empty();
    m_lastPaint.rects = damage;
    if (m_lastPaint.whole) {
        PaintArea(screenRect, true);
    } else {
        // The first pass logs every text of every visible window, as a full
        // paint does; the others only draw their rectangle.
        for (size_t i = 0; i < damage.size(); ++i)
            PaintArea(damage[i].Intersect(screenRect), i == 0);
        if (s_verifyPartialPaints)
            VerifyPartialPaint(damage);
    }
    // Invalidations made while painting are dropped: they would repaint forever.
    Table().TakeDamage(&all);
    if (m_host)
        m_host->Present(screen);
    m_lastPaint.presented = std::chrono::steady_clock::now();
}

void UiMessageLoop::PaintArea(const CRect& area, bool logTexts) {
    CSurface& screen = m_impl->screen;
    const CRect screenRect{0, 0, screen.Width(), screen.Height()};
    if (area.IsEmpty() && !logTexts)
        return;
    screen.SetTextLogging(logTexts);
    if (area == screenRect)
        screen.ClearDamage();
    else
        screen.SetDamage(area);
    screen.ClearTexts();
    {
        // Only what no opaque window covers is cleared.
        std::vector<CRect> covered;
        for (UiWin* top : Table().TopLevels())
            if (top->IsVisible() && top->HasBkColor())
                covered.push_back(top->GetRect());
        CDC dc(&screen);
        for (const CRect& part : SubtractRects(screenRect, covered))
            dc.FillRect(part, 0);
    }
    // A window's paint may close windows; walk handles and skip the gone.
    std::vector<HWND> tops;
    for (UiWin* top : Table().TopLevels())
        tops.push_back(top->GetHandle());
    for (HWND handle : tops) {
        UiWin* top = UiWin::FromHandle(handle);
        if (!top || !top->IsVisible())
            continue;
        const CRect r = top->GetRect();
        if (!logTexts && r.Intersect(area).IsEmpty())
            continue;
        CDC dc(&screen, r.TopLeft(), r.Intersect(screenRect));
        top->PaintTree(dc);
    }
    screen.ClearDamage();
    screen.SetTextLogging(true);
}

long long UiMessageLoop::CPaintReport::Pixels(const CRect& screen) const {
    if (whole)
        return static_cast<long long>(screen.Width()) * screen.Height();
    long long n = 0;
    for (const CRect& r : rects) {
        const CRect in = r.Intersect(screen);
        n += static_cast<long long>(in.Width()) * in.Height();
    }
    return n;
}

bool UiMessageLoop::s_verifyPartialPaints = false;

void UiMessageLoop::SetVerifyPartialPaints(bool on) { s_verifyPartialPaints = on; }

void UiMessageLoop::VerifyPartialPaint(const std::vector<CRect>& damage) {
    CSurface& screen = m_impl->screen;
    const CSurface partial = screen;
    PaintArea({0, 0, screen.Width(), screen.Height()}, true);
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x)
            if (partial.GetPixel(x, y) != screen.GetPixel(x, y)) {
                std::fprintf(stderr,
                             "partial repaint of %zu rectangle(s), first (%d,%d)-(%d,%d), left (%d,%d) unlike a full "
                             "paint: %06X, not %06X\n",
                             damage.size(), damage[0].left, damage[0].top, damage[0].right, damage[0].bottom, x, y,
                             static_cast<unsigned>(partial.GetPixel(x, y)),
                             static_cast<unsigned>(screen.GetPixel(x, y)));
                std::abort();
            }
}
