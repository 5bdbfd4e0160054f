// Finger scrolling along one axis for the scrolling controls: the content's
// offset in pixels, kept within [0, the limit its owner gives], following
// the finger through a CMouseTracker and gliding on after a quick release
// as the tracker's momentum decays, until that dies out or the content
// reaches an end.
//
// Pure logic on the times the caller passes (milliseconds of the program
// clock): the owner forwards its finger events, calls Tick from a timer
// every CMouseTracker::kStepIntervalMs while Release or Tick says the
// content glides, and hears every change of the offset through its
// callback (to redraw, or to move its children). Offsets grow towards the
// end of the content; a finger moving down shows what lies above.
#pragma once

#include "platform/Geometry.h"
#include "platform/ui/CMouseTracker.h"

#include <cstdint>
#include <functional>

class CMomentumScroller {
public:
    // The largest offset the content allows now (0 or more).
    using Limit = std::function<int()>;
    // The offset has changed; the owner redraws or moves its children.
    using Moved = std::function<void(int oldOffset, int newOffset)>;

    CMomentumScroller(Limit limit, Moved moved);

    int Offset() const { return m_offset; }
    // Moves to pixels clamped to [0, the limit]; a change reaches the callback.
    void ScrollTo(int pixels);
    // Moves the content as a finger would move it by contentDy (0: nothing).
    void ScrollBy(int contentDy);
    // Back to the top with the glide stopped, without the callback: for
    // content that has just been emptied and is redrawn anyway.
    void Reset();

    // A finger comes down and stops any glide. True when it stopped one
    // (the owner then stops its timer).
    bool Press(CPoint pt, std::uint64_t nowMs);
    // The finger moves: the content follows it.
    void Drag(CPoint pt, std::uint64_t nowMs) { ScrollBy(Track(pt, nowMs)); }
    // The finger moves but the content stays; returns the pixels it would
    // have followed, for an owner that decides afterwards (ScrollBy).
    int Track(CPoint pt, std::uint64_t nowMs);
    // The finger leaves: the content follows its last pixels and glides on
    // after a quick drag. True when it glides (the owner starts its timer).
    bool Release(CPoint pt, std::uint64_t nowMs);
    // The finger leaves and nothing glides; the content stays, and the
    // finger's last pixels are returned as Track does.
    int Lift(CPoint pt, std::uint64_t nowMs);
    // One timer tick of the glide. False once it has ended, worn out or run
    // into an end (the owner stops its timer).
    bool Tick(std::uint64_t nowMs);
    void Stop() { m_tracker.Stop(); }

    bool IsGliding() const { return m_tracker.IsMoving(); }
    // The finger of the current or last press.
    const CMouseTracker& Tracker() const { return m_tracker; }

private:
    Limit m_limit;
    Moved m_moved;
    CMouseTracker m_tracker;
    int m_offset = 0; // pixels
};
