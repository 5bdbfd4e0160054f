// Finger scrolling with momentum within bounds; see the header.
#include "platform/ui/CMomentumScroller.h"

#include <algorithm>
#include <utility>

CMomentumScroller::CMomentumScroller(Limit limit, Moved moved) : m_limit(std::move(limit)), m_moved(std::move(moved)) {}

void CMomentumScroller::ScrollTo(int pixels) {
    const int pos = std::clamp(pixels, 0, std::max(0, m_limit()));
    if (pos == m_offset)
        return;
    const int old = std::exchange(m_offset, pos);
    if (m_moved)
        m_moved(old, pos);
}

void CMomentumScroller::ScrollBy(int contentDy) {
    if (contentDy != 0)
        ScrollTo(m_offset - contentDy);
}

void CMomentumScroller::Reset() {
    m_offset = 0;
    m_tracker.Stop();
}

bool CMomentumScroller::Press(CPoint pt, std::uint64_t nowMs) {
    const bool wasGliding = m_tracker.IsMoving();
    m_tracker.Press(pt, nowMs);
    return wasGliding;
}

int CMomentumScroller::Track(CPoint pt, std::uint64_t nowMs) { return m_tracker.Move(pt, nowMs); }

bool CMomentumScroller::Release(CPoint pt, std::uint64_t nowMs) {
    ScrollBy(m_tracker.Release(pt, nowMs));
    return m_tracker.IsMoving();
}

int CMomentumScroller::Lift(CPoint pt, std::uint64_t nowMs) {
    const int dy = m_tracker.Release(pt, nowMs);
    m_tracker.Stop();
    return dy;
}

bool CMomentumScroller::Tick(std::uint64_t nowMs) {
    const int before = m_offset;
    const int dy = m_tracker.Step(nowMs);
    ScrollBy(dy);
    // Pixels that moved nothing: the content sits at an end.
    if (!m_tracker.IsMoving() || (dy != 0 && m_offset == before)) {
        m_tracker.Stop();
        return false;
    }
    return true;
}
