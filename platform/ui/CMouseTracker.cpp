// Finger tracking and momentum; see the header for the contract.
#include "platform/ui/CMouseTracker.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void CMouseTracker::Press(CPoint pt, std::uint64_t nowMs) {
    m_wasScrolling = m_moving;
    m_moving = false;
    m_speed = 0;
    m_carry = 0;
    m_pressed = true;
    m_moved = false;
    m_pressPoint = pt;
    m_lastY = pt.y;
    m_sampleCount = 0;
    m_sampleNext = 0;
    m_samples[m_sampleNext] = {nowMs, pt.y};
    m_sampleNext = 1;
    m_sampleCount = 1;
}

int CMouseTracker::Follow(CPoint pt, std::uint64_t nowMs) {
    if (!m_pressed)
        return 0;
    if (!m_moved && (std::abs(pt.x - m_pressPoint.x) > kMoveSlop || std::abs(pt.y - m_pressPoint.y) > kMoveSlop))
        m_moved = true;
    m_samples[m_sampleNext] = {nowMs, pt.y};
    m_sampleNext = (m_sampleNext + 1) % 8;
    if (m_sampleCount < 8)
        ++m_sampleCount;
    if (!m_moved)
        return 0;
    const int dy = pt.y - m_lastY;
    m_lastY = pt.y;
    return dy;
}

int CMouseTracker::Move(CPoint pt, std::uint64_t nowMs) { return Follow(pt, nowMs); }

int CMouseTracker::Release(CPoint pt, std::uint64_t nowMs) {
    const int dy = Follow(pt, nowMs);
    m_pressed = false;
    if (!m_moved)
        return dy;
    // The speed over the last kVelocityWindowMs: from the oldest sample in
    // that window to the release. Samples at the same instant (a test that
    // does not advance the clock) count as one millisecond apart.
    const Sample* oldest = nullptr;
    for (int i = 0; i < m_sampleCount; ++i) {
        const Sample& s = m_samples[i];
        if (nowMs - s.time <= static_cast<std::uint64_t>(kVelocityWindowMs) && (!oldest || s.time < oldest->time))
            oldest = &s;
    }
    if (!oldest)
        return dy;
    const double dt = std::max<double>(1.0, static_cast<double>(nowMs - oldest->time));
    double speed = (pt.y - oldest->y) / dt;
    speed = std::clamp(speed, -kMaxSpeed, kMaxSpeed);
    if (std::abs(speed) >= kMinFlingSpeed) {
        m_speed = speed;
        m_moving = true;
        m_carry = 0;
        m_lastStepMs = nowMs;
    }
    return dy;
}

int CMouseTracker::Step(std::uint64_t nowMs) {
    if (!m_moving)
        return 0;
    if (nowMs <= m_lastStepMs)
        return 0;
    const double dt = static_cast<double>(nowMs - m_lastStepMs);
    m_lastStepMs = nowMs;
    // Exponential decay: distance = v·τ·(1 − e^(−dt/τ)), v ← v·e^(−dt/τ).
    const double decay = std::exp(-dt / kDecayMs);
    m_carry += m_speed * kDecayMs * (1.0 - decay);
    m_speed *= decay;
    const int whole = static_cast<int>(m_carry);
    m_carry -= whole;
    if (std::abs(m_speed) < kStopSpeed)
        Stop();
    return whole;
}
