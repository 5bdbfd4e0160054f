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

namespace {
CRect Bounds(const CRect& a, const CRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}
long long Area(const CRect& r) { return static_cast<long long>(r.Width()) * r.Height(); }
bool Touch(const CRect& a, const CRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}
} // namespace

void UiWindowTable::MarkDirty(const CRect& screenRect) {
    if (screenRect.IsEmpty())
        return;
    {
        std::lock_guard<std::mutex> guard(m_damageLock);
        if (!m_damageAll) {
            // Rectangles whose union covers no more than the two become
            // one (a strip and its neighbour in line, one inside another).
            CRect add = screenRect;
            for (bool merged = true; merged;) {
                merged = false;
                for (auto it = m_damage.begin(); it != m_damage.end(); ++it)
                    if (Touch(*it, add) && Area(Bounds(*it, add)) <= Area(*it) + Area(add)) {
                        add = Bounds(*it, add);
                        m_damage.erase(it);
                        merged = true;
                        break;
                    }
            }
            m_damage.push_back(add);
            // Past the cap, the two whose union wastes least become one.
            while (m_damage.size() > kMaxDamageRects) {
                size_t bestI = 0, bestJ = 1;
                long long bestWaste = -1;
                for (size_t i = 0; i < m_damage.size(); ++i)
                    for (size_t j = i + 1; j < m_damage.size(); ++j) {
                        const long long waste = Area(Bounds(m_damage[i], m_damage[j])) - Area(m_damage[i]) -
                                                Area(m_damage[j]);
                        if (bestWaste < 0 || waste < bestWaste) {
                            bestWaste = waste;
                            bestI = i;
                            bestJ = j;
                        }
                    }
                m_damage[bestI] = Bounds(m_damage[bestI], m_damage[bestJ]);
                m_damage.erase(m_damage.begin() + static_cast<std::ptrdiff_t>(bestJ));
            }
        }
    }
    dirty = true;
}

void UiWindowTable::MarkAllDirty() {
    {
        std::lock_guard<std::mutex> guard(m_damageLock);
        m_damageAll = true;
        m_damage.clear();
    }
    dirty = true;
}

std::vector<CRect> UiWindowTable::TakeDamage(bool* all) {
    std::lock_guard<std::mutex> guard(m_damageLock);
    *all = m_damageAll || (dirty && m_damage.empty());
    std::vector<CRect> rects;
    if (!*all)
        rects.swap(m_damage);
    m_damage.clear();
    m_damageAll = false;
    dirty = false;
    return rects;
}
