// What the loop's source files share: the queued item and the loop's
// state. Private to platform/win: the queues and modal levels live in
// UiMessageLoop.cpp, input routing in UiMessageLoopInput.cpp, painting in
// UiMessageLoopPaint.cpp.
#pragma once

#include "platform/gdi/CSurface.h"
#include "platform/win/CGuiTask.h"
#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWindowTable.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace loop_detail {
// The window registry: top-level windows, dirty rectangles and timers.
inline UiWindowTable& Table() { return UiWindowTable::Instance(); }
} // namespace loop_detail

struct UiMessageLoop::Item {
    enum class Kind { Post, Send, Task, Mouse, Char, Key, Nudge };
    Kind kind = Kind::Nudge;
    HWND target = nullptr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    void (*freePayload)(LPARAM) = nullptr;
    std::shared_ptr<SendState> send;
    std::shared_ptr<CGuiTask> task;
    CPoint point;
    std::uint64_t seq = 0; // its place in the queue's arrival order
};

struct UiMessageLoop::Impl {
    mutable std::mutex lock;           // guards the queues and the sequence numbers
    std::condition_variable restChanged;
    std::deque<Item> urgent;           // sends and tasks
    std::deque<Item> normal;           // posts, input, nudges
    std::uint64_t enqueueSeq = 0;      // items queued so far
    std::uint64_t restSeq = 0;         // enqueueSeq when last seen at rest
    bool closed = false;               // the loop is being destroyed
    bool stopped = false;              // Run returned: nothing is served any more

    std::atomic<int> externalWork{0};
    // Steady-clock time until which painting waits for external work in
    // flight (HoldPaint); none when in the past.
    std::chrono::steady_clock::time_point paintHeldUntil{};
    std::atomic<bool> quitting{false};
    std::atomic<int> quitCode{0};

    struct Level {
        bool running = true;
        int code = 0;
    };
    std::vector<Level> modal;          // GUI thread
    // enqueueSeq when a modal level last began or ended: the window in
    // front changed, and a press queued before then was aimed elsewhere.
    std::uint64_t frontChangedSeq = 0;
    bool pressDropped = false;         // GUI thread: the current press is stale
    CSurface screen;
    CPressInfo press;                  // GUI thread
};
