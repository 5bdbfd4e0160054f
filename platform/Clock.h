// The one clock of the program: local time, UTC and tick counts, and the
// base of every timer's due time.
//
// The desktop host reads the system clock. A test switches to a manual clock
// that stands still until the test advances it, so that trading-hour rules
// ("Monday to Friday 09:16-16:09") and date defaults are testable on any day.
// All members are safe to call from any thread. A manual clock also drives
// the core library's UTC seam (GetUnixTime) until UseSystem.
#pragma once

#include <cstdint>
#include <mutex>

struct CLocalTime {
    int year = 1970;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int weekday = 4; // 0 Sunday .. 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class CClock {
public:
    static CClock& Instance();

    // Manual mode: the clock shows this local time (UTC = local − utcOffset)
    // and stands still until Advance. The weekday is computed, not taken.
    void UseManual(const CLocalTime& local, int utcOffsetSeconds = 8 * 3600);
    void UseSystem();
    bool IsManual() const;
    // Moves a manual clock on; ignored by the system clock.
    void Advance(std::int64_t milliseconds);

    CLocalTime LocalNow() const;
    std::int64_t UtcSeconds() const;
    // Milliseconds since an arbitrary start, never going back.
    std::uint64_t TickCount() const;

private:
    CClock() = default;
    mutable std::mutex m_lock;
    bool m_manual = false;
    std::int64_t m_manualUtcMs = 0;    // manual time, ms since 1970 UTC
    int m_utcOffsetSeconds = 8 * 3600; // manual local − UTC
    std::uint64_t m_manualTicks = 0;   // ms, advanced with the manual time
    std::int64_t m_systemTickBias = 0; // ms added to system ticks after a manual spell
};
