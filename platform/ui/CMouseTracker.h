// The finger-scroll tracker of the scrolling controls: it follows one press
// from down to up, tells how far the content should move, keeps it moving a
// little after a quick release (momentum) and answers the two questions a
// window asks before it treats a release as a tap: was the content still
// moving when the finger came down, and has the finger moved.
//
// It is pure logic on times the caller passes (milliseconds of the program
// clock), so it is tested without a window; the controls drive Step from a
// timer. Only the vertical axis scrolls; both axes count for "moved".
#pragma once

#include "platform/Geometry.h"

#include <cstdint>

class CMouseTracker {
public:
    static constexpr int kMoveSlop = 8;            // pixels a finger may wander and still tap
    static constexpr int kStepIntervalMs = 16;     // timer interval the controls use for Step
    static constexpr double kMaxSpeed = 3.0;       // pixels per ms, cap of the release speed
    static constexpr double kMinFlingSpeed = 0.25; // pixels per ms below which a release stops dead
    static constexpr double kStopSpeed = 0.02;     // pixels per ms at which momentum ends
    static constexpr double kDecayMs = 200.0;      // time constant of the momentum's decay
    static constexpr int kVelocityWindowMs = 100;  // how far back the release speed looks

    // A finger comes down. Stops any momentum; WasScrollingAtPress then
    // tells whether momentum was running.
    void Press(CPoint pt, std::uint64_t nowMs);
    // The finger moves. Returns how many pixels the content follows the
    // finger vertically since the last call (positive: finger moved down);
    // 0 until the finger has moved beyond kMoveSlop from the press.
    int Move(CPoint pt, std::uint64_t nowMs);
    // The finger leaves. Returns the last vertical pixels as Move does.
    // After a drag whose recent speed exceeds kMinFlingSpeed momentum starts.
    int Release(CPoint pt, std::uint64_t nowMs);
    // Advances momentum to nowMs: returns the pixels the content moves
    // (same sign as Move). Returns 0 and stops once the speed has decayed.
    int Step(std::uint64_t nowMs);
    // Ends momentum (the content hit an end, or the control was reset).
    void Stop() { m_speed = 0; m_moving = false; }

    bool IsPressed() const { return m_pressed; }
    bool IsMoving() const { return m_moving; }
    bool WasScrollingAtPress() const { return m_wasScrolling; }
    bool FingerMoved() const { return m_moved; }
    // A release that counts as a tap: the content was at rest at the press
    // and the finger stayed within the slop.
    bool IsTap() const { return !m_wasScrolling && !m_moved; }
    CPoint PressPoint() const { return m_pressPoint; }
    double Speed() const { return m_speed; } // pixels per ms, signed

private:
    struct Sample {
        std::uint64_t time = 0; // ms
        int y = 0;              // pixels
    };
    int Follow(CPoint pt, std::uint64_t nowMs);

    bool m_pressed = false;
    bool m_moved = false;
    bool m_wasScrolling = false;
    bool m_moving = false;
    CPoint m_pressPoint;
    int m_lastY = 0;                 // pixels, last y given to the content
    Sample m_samples[8];             // recent finger positions, a ring
    int m_sampleCount = 0;
    int m_sampleNext = 0;
    double m_speed = 0;              // pixels per ms
    double m_carry = 0;              // sub-pixel momentum not yet handed out
    std::uint64_t m_lastStepMs = 0;  // ms
};
