// The program clock: the system's local time, or a manual time that a test
// sets and advances. Tick counts continue across a switch of modes so that
// timers never see time going back.
//
// The core library reads UTC through its own seam (core/UnixTime.h); a
// manual clock installs itself there so core and platform agree on "now".
#include "platform/Clock.h"

#include "core/UnixTime.h"

#include <chrono>
#include <ctime>

namespace {

std::int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t SystemUtcMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's method).
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int* y, int* m, int* d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = static_cast<int>(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<int>(yoe + era * 400) + (*m <= 2);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::int64_t ManualUnixTime() { return CClock::Instance().UtcSeconds(); }

// Steady milliseconds at the first use of the clock: ticks start near 0.
const std::int64_t g_steadyStart = SteadyMs();

} // namespace

CClock& CClock::Instance() {
    static CClock clock;
    return clock;
}

void CClock::UseManual(const CLocalTime& local, int utcOffsetSeconds) {
    std::uint64_t ticks = TickCount();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        std::int64_t days = DaysFromCivil(local.year, local.month, local.day);
        std::int64_t localMs = days * 86400000 + (local.hour * 3600LL + local.minute * 60LL + local.second) * 1000 +
                               local.millisecond;
        m_manualUtcMs = localMs - utcOffsetSeconds * 1000LL;
        m_utcOffsetSeconds = utcOffsetSeconds;
        if (!m_manual)
            m_manualTicks = ticks;
        m_manual = true;
    }
    SetUnixTimeSource(&ManualUnixTime);
}

void CClock::UseSystem() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_manual)
            return;
        m_manual = false;
        // Continue the tick count from where the manual clock stood.
        std::int64_t elapsed = SteadyMs() - g_steadyStart;
        std::int64_t bias = static_cast<std::int64_t>(m_manualTicks) - elapsed;
        if (bias > m_systemTickBias)
            m_systemTickBias = bias;
    }
    SetUnixTimeSource(nullptr);
}

bool CClock::IsManual() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_manual;
}

void CClock::Advance(std::int64_t milliseconds) {
    if (milliseconds <= 0)
        return;
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_manual)
        return;
    m_manualUtcMs += milliseconds;
    m_manualTicks += static_cast<std::uint64_t>(milliseconds);
}

CLocalTime CClock::LocalNow() const {
    CLocalTime out;
    std::unique_lock<std::mutex> guard(m_lock);
    if (m_manual) {
        std::int64_t localMs = m_manualUtcMs + m_utcOffsetSeconds * 1000LL;
        guard.unlock();
        std::int64_t days = FloorDiv(localMs, 86400000);
        std::int64_t msOfDay = localMs - days * 86400000;
        CivilFromDays(days, &out.year, &out.month, &out.day);
        out.weekday = static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
        out.hour = static_cast<int>(msOfDay / 3600000);
        out.minute = static_cast<int>(msOfDay / 60000 % 60);
        out.second = static_cast<int>(msOfDay / 1000 % 60);
        out.millisecond = static_cast<int>(msOfDay % 1000);
        return out;
    }
    guard.unlock();
    std::int64_t utcMs = SystemUtcMs();
    std::time_t seconds = static_cast<std::time_t>(FloorDiv(utcMs, 1000));
    std::tm tm{};
    localtime_r(&seconds, &tm);
    out.year = tm.tm_year + 1900;
    out.month = tm.tm_mon + 1;
    out.day = tm.tm_mday;
    out.weekday = tm.tm_wday;
    out.hour = tm.tm_hour;
    out.minute = tm.tm_min;
    out.second = tm.tm_sec;
    out.millisecond = static_cast<int>(utcMs - FloorDiv(utcMs, 1000) * 1000);
    return out;
}

std::int64_t CClock::UtcSeconds() const {
    std::unique_lock<std::mutex> guard(m_lock);
    if (m_manual)
        return FloorDiv(m_manualUtcMs, 1000);
    guard.unlock();
    return FloorDiv(SystemUtcMs(), 1000);
}

std::uint64_t CClock::TickCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_manual)
        return m_manualTicks;
    std::int64_t ticks = SteadyMs() - g_steadyStart + m_systemTickBias;
    return ticks < 0 ? 0 : static_cast<std::uint64_t>(ticks);
}
