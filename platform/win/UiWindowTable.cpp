// Registry, z-order and timers of the window system (see the header).
#include "platform/win/UiWindowTable.h"

#include "platform/Clock.h"

#include <algorithm>

UiWindowTable& UiWindowTable::Instance() {
    static UiWindowTable table;
    return table;
}

HWND UiWindowTable::Register(UiWin* window) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_nextHandle += 4;
    HWND handle = reinterpret_cast<HWND>(m_nextHandle);
    m_windows[handle] = window;
    return handle;
}

void UiWindowTable::Unregister(HWND handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_windows.erase(handle);
}

UiWin* UiWindowTable::Resolve(HWND handle) const {
    if (!handle)
        return nullptr;
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_windows.find(handle);
    return it == m_windows.end() ? nullptr : it->second;
}

std::size_t UiWindowTable::WindowCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_windows.size();
}

void UiWindowTable::RaiseToTop(UiWin* window) {
    auto it = std::find(m_topLevels.begin(), m_topLevels.end(), window);
    if (it == m_topLevels.end() || it + 1 == m_topLevels.end())
        return;
    m_topLevels.erase(it);
    m_topLevels.push_back(window);
}

void UiWindowTable::SetTimer(HWND window, UINT id, std::uint32_t intervalMs) {
    std::uint64_t now = CClock::Instance().TickCount();
    std::lock_guard<std::mutex> guard(m_lock);
    m_timers[{window, id}] = Timer{intervalMs, now + intervalMs};
}

void UiWindowTable::KillTimer(HWND window, UINT id) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_timers.erase({window, id});
}

void UiWindowTable::KillTimers(HWND window) {
    std::lock_guard<std::mutex> guard(m_lock);
    std::erase_if(m_timers, [window](const auto& entry) { return entry.first.first == window; });
}

std::optional<std::uint64_t> UiWindowTable::NextDue() const {
    std::lock_guard<std::mutex> guard(m_lock);
    std::optional<std::uint64_t> next;
    for (const auto& [key, timer] : m_timers)
        if (!next || timer.dueTick < *next)
            next = timer.dueTick;
    return next;
}

bool UiWindowTable::TakeDue(std::uint64_t now, HWND* window, UINT* id) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto best = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it)
        if (it->second.dueTick <= now && (best == m_timers.end() || it->second.dueTick < best->second.dueTick))
            best = it;
    if (best == m_timers.end())
        return false;
    // A timer that fell behind fires once, then is due an interval later.
    best->second.dueTick = now + std::max<std::uint32_t>(best->second.intervalMs, 1);
    *window = best->first.first;
    *id = best->first.second;
    return true;
}

bool UiWindowTable::HasTimer(HWND window, UINT id) const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_timers.count({window, id}) != 0;
}
