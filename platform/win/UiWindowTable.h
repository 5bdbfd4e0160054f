// The process-wide state of the window system: handle registry, top-level
// z-order, focus, capture, timers and the screen's dirty mark.
//
// It lives apart from the message loop because windows exist (and tests
// create them) with or without a loop, and a loop is replaced between
// tests while the handle counter must keep counting: handles are never
// reused in the life of the process. The registry and the timers are
// guarded by a lock because other threads resolve handles (a cross-thread
// send to a gone window returns at once) and the test driver reads the
// next timer's due time; everything else is touched on the GUI thread only.
#pragma once

#include "platform/Geometry.h"
#include "platform/win/Message.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

class UiWin;

class UiWindowTable {
public:
    static UiWindowTable& Instance();

    // Handles.
    HWND Register(UiWin* window);
    void Unregister(HWND handle);
    UiWin* Resolve(HWND handle) const;
    std::size_t WindowCount() const;

    // Top-level windows in z-order, last on top (GUI thread).
    std::vector<UiWin*>& TopLevels() { return m_topLevels; }
    void RaiseToTop(UiWin* window);

    // Focus and capture, kept as handles so a gone window is never returned.
    HWND focus = nullptr;
    HWND capture = nullptr;

    // Timers on the program clock (CClock::TickCount, ms).
    struct Timer {
        std::uint32_t intervalMs = 0;
        std::uint64_t dueTick = 0;
    };
    void SetTimer(HWND window, UINT id, std::uint32_t intervalMs);
    void KillTimer(HWND window, UINT id);
    void KillTimers(HWND window);
    // The earliest due tick, if any timer runs.
    std::optional<std::uint64_t> NextDue() const;
    // Takes the earliest timer due at or before now and re-arms it an
    // interval after now; false when none is due.
    bool TakeDue(std::uint64_t now, HWND* window, UINT* id);
    bool HasTimer(HWND window, UINT id) const;

    // What the loop must repaint: rectangles of the screen, or all of it.
    // Marked by Invalidate (any thread may mark all); the loop takes it and
    // repaints. dirty says whether anything is marked.
    void MarkDirty(const CRect& screenRect);
    void MarkAllDirty();
    // The marked rectangles (at most kMaxDamageRects, merged), or an empty
    // list with *all set; clears the mark.
    std::vector<CRect> TakeDamage(bool* all);
    static constexpr std::size_t kMaxDamageRects = 6;
    std::atomic<bool> dirty{false};

private:
    UiWindowTable() = default;
    mutable std::mutex m_lock;
    std::uintptr_t m_nextHandle = 0x10000; // never reused
    std::unordered_map<HWND, UiWin*> m_windows;
    std::vector<UiWin*> m_topLevels;
    std::map<std::pair<HWND, UINT>, Timer> m_timers;
    std::mutex m_damageLock;
    std::vector<CRect> m_damage; // guarded by m_damageLock
    bool m_damageAll = false;    // guarded by m_damageLock
};
