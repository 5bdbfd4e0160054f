// The message loop: two queues (cross-thread sends and GUI tasks ahead of
// posted messages and input), timers from the window table, screen
// painting and nested loops. Every loop level — outer, modal, RunUntil —
// runs the same DispatchOne, so whatever one level serves, all serve.
//
// "At rest" is published from the GUI thread each time a loop level is
// about to wait: the sequence number of the last queued item is copied to
// restSeq, so a thread that queued a nudge with number n and sees
// restSeq >= n knows everything before it was served and the loop then
// had nothing to do.
//
// This file holds the queues, dispatch, waiting and the modal levels;
// input routing is in UiMessageLoopInput.cpp, painting in
// UiMessageLoopPaint.cpp.
#include "platform/win/UiMessageLoopImpl.h"

#include "platform/Clock.h"
#include "platform/win/UiWin.h"

#include <algorithm>
#include <climits>
#include <shared_mutex>

namespace {

// The current loop. Other threads post and send through it while the GUI
// thread may be destroying it: they hold the lock shared while they queue
// (never while they wait), and the destructor takes it exclusively to
// retire the loop first, so no thread queues into a loop being freed.
std::shared_mutex g_currentLock;
UiMessageLoop* g_current = nullptr;

constexpr int kManualClockPollMs = 100; // re-check a manual clock advanced behind the loop's back

} // namespace

using loop_detail::Table;

// A cross-thread send's hand-shake.
class SendState {
public:
    void Complete(LRESULT result) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_result = result;
            m_done = true;
        }
        m_changed.notify_all();
    }
    LRESULT Wait() {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait(guard, [this] { return m_done; });
        return m_result;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_done = false;
    LRESULT m_result = 0;
};

UiMessageLoop* UiMessageLoop::Current() {
    std::shared_lock<std::shared_mutex> guard(g_currentLock);
    return g_current;
}

UiMessageLoop::UiMessageLoop(IUiHost* host)
    : m_impl(std::make_unique<Impl>()), m_host(host), m_guiThread(std::this_thread::get_id()) {
    m_impl->screen.Resize(480, 720);
    Table().MarkAllDirty();
    std::unique_lock<std::shared_mutex> guard(g_currentLock);
    g_current = this;
}

UiMessageLoop::~UiMessageLoop() {
    {
        std::unique_lock<std::shared_mutex> guard(g_currentLock);
        if (g_current == this)
            g_current = nullptr;
    }
    Close(true);
}

void UiMessageLoop::Close(bool destroying) {
    std::deque<Item> urgent;
    std::deque<Item> normal;
    {
        std::lock_guard<std::mutex> guard(m_impl->lock);
        if (destroying)
            m_impl->closed = true;
        else
            m_impl->stopped = true;
        urgent.swap(m_impl->urgent);
        if (destroying)
            normal.swap(m_impl->normal);
        m_impl->restSeq = m_impl->enqueueSeq;
    }
    m_impl->restChanged.notify_all();
    // Nothing will serve these any more: waiting senders and tasks are
    // released now, not when the loop object finally goes.
    for (Item& item : urgent) {
        if (item.send)
            item.send->Complete(0);
        if (item.task)
            item.task->Drop();
    }
    for (Item& item : normal)
        if (item.freePayload)
            item.freePayload(item.lParam);
}

bool UiMessageLoop::Enqueue(Item&& item, bool urgent) {
    {
        std::lock_guard<std::mutex> guard(m_impl->lock);
        if (m_impl->closed || m_impl->stopped)
            return false;
        item.seq = ++m_impl->enqueueSeq;
        (urgent ? m_impl->urgent : m_impl->normal).push_back(std::move(item));
        // Woken under the lock: once the item is visible the loop may be
        // destroyed, and this must not touch it any more.
        Wake();
    }
    return true;
}

void UiMessageLoop::Wake() {
    if (m_host)
        m_host->Wake();
}

bool UiMessageLoop::Post(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) {
    return PostOwned(target, msg, wParam, lParam, nullptr);
}

bool UiMessageLoop::PostOwned(HWND target, UINT msg, WPARAM wParam, LPARAM lParam, void (*freePayload)(LPARAM)) {
    if (!target && msg == WM_QUIT) {
        Quit(static_cast<int>(wParam));
        return true;
    }
    if (!UiWin::IsWindow(target)) {
        if (freePayload)
            freePayload(lParam);
        return false;
    }
    Item item;
    item.kind = Item::Kind::Post;
    item.target = target;
    item.msg = msg;
    item.wParam = wParam;
    item.lParam = lParam;
    item.freePayload = freePayload;
    if (!Enqueue(std::move(item), false)) {
        if (freePayload)
            freePayload(lParam);
        return false;
    }
    return true;
}

LRESULT UiMessageLoop::Send(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsGuiThread()) {
        UiWin* window = UiWin::FromHandle(target);
        return window ? window->WndProc(msg, wParam, lParam) : 0;
    }
    std::shared_ptr<SendState> state = QueueSend(target, msg, wParam, lParam);
    return state ? state->Wait() : 0;
}

std::shared_ptr<SendState> UiMessageLoop::QueueSend(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!UiWin::IsWindow(target))
        return nullptr;
    auto state = std::make_shared<SendState>();
    Item item;
    item.kind = Item::Kind::Send;
    item.target = target;
    item.msg = msg;
    item.wParam = wParam;
    item.lParam = lParam;
    item.send = state;
    if (!Enqueue(std::move(item), true))
        return nullptr;
    return state;
}

std::shared_ptr<CGuiTask> UiMessageLoop::PostTask(std::function<void()> fn) {
    auto task = std::make_shared<CGuiTask>(std::move(fn));
    Item item;
    item.kind = Item::Kind::Task;
    item.task = task;
    if (!Enqueue(std::move(item), true))
        task->Drop();
    return task;
}

int UiMessageLoop::Run() {
    while (!m_impl->quitting) {
        if (!DispatchOne())
            WaitIdle(UINT64_MAX);
    }
    // A stopped loop is at rest for good; waiters are released. Posted
    // messages stay queued (their payloads are freed with the loop).
    Close(false);
    return m_impl->quitCode;
}

void UiMessageLoop::Quit(int code) {
    m_impl->quitCode = code;
    m_impl->quitting = true;
    Wake();
}

bool UiMessageLoop::IsQuitting() const { return m_impl->quitting; }

int UiMessageLoop::RunModal() {
    if (!IsGuiThread() || m_impl->quitting)
        return 0;
    m_impl->modal.push_back({});
    MarkFrontChanged();
    const std::size_t level = m_impl->modal.size() - 1;
    while (m_impl->modal[level].running && !m_impl->quitting) {
        if (!DispatchOne())
            WaitIdle(UINT64_MAX);
    }
    // A quit ends every level with code 0, so close-code chains unwind.
    int code = m_impl->modal[level].running ? 0 : m_impl->modal[level].code;
    m_impl->modal.resize(level);
    MarkFrontChanged();
    return code;
}

void UiMessageLoop::EndModal(int code) {
    for (auto it = m_impl->modal.rbegin(); it != m_impl->modal.rend(); ++it) {
        if (it->running) {
            it->running = false;
            it->code = code;
            return;
        }
    }
}


int UiMessageLoop::ModalDepth() const { return static_cast<int>(m_impl->modal.size()); }

bool UiMessageLoop::RunUntil(const std::function<bool()>& done, std::uint64_t deadlineTick) {
    if (!IsGuiThread())
        return done();
    while (!m_impl->quitting && !done()) {
        if (!DispatchOne())
            WaitIdle(deadlineTick);
    }
    return done();
}

bool UiMessageLoop::PumpReady() {
    // Bounded, so a window that posts itself forever cannot hold the caller.
    bool any = false;
    for (int i = 0; i < 100000 && DispatchOne(); ++i)
        any = true;
    return any;
}

bool UiMessageLoop::DispatchOne() {
    Item item;
    bool have = false;
    {
        std::lock_guard<std::mutex> guard(m_impl->lock);
        std::deque<Item>* queue = !m_impl->urgent.empty() ? &m_impl->urgent
                                  : !m_impl->normal.empty() ? &m_impl->normal
                                                            : nullptr;
        if (queue) {
            item = std::move(queue->front());
            queue->pop_front();
            have = true;
        }
    }
    if (have) {
        DispatchItem(item);
        if (m_afterDispatch)
            m_afterDispatch();
        return true;
    }
    if (Table().dirty && PaintHoldLeftMs() == 0) {
        PaintNow();
        return true;
    }
    HWND window = nullptr;
    UINT id = 0;
    if (Table().TakeDue(CClock::Instance().TickCount(), &window, &id)) {
        if (UiWin* target = UiWin::FromHandle(window))
            target->WndProc(WM_TIMER, id, 0);
        if (m_afterDispatch)
            m_afterDispatch();
        return true;
    }
    return false;
}

void UiMessageLoop::DispatchItem(Item& item) {
    switch (item.kind) {
    case Item::Kind::Post: {
        UiWin* window = UiWin::FromHandle(item.target);
        if (window)
            window->WndProc(item.msg, item.wParam, item.lParam);
        else if (item.freePayload)
            item.freePayload(item.lParam);
        break;
    }
    case Item::Kind::Send: {
        UiWin* window = UiWin::FromHandle(item.target);
        item.send->Complete(window ? window->WndProc(item.msg, item.wParam, item.lParam) : 0);
        break;
    }
    case Item::Kind::Task:
        item.task->Run();
        break;
    case Item::Kind::Mouse:
        RouteMouse(item.msg, item.point, item.seq);
        break;
    case Item::Kind::Char:
    case Item::Kind::Key:
        RouteKey(item.msg, item.wParam);
        break;
    case Item::Kind::Nudge:
        break;
    }
}

void UiMessageLoop::WaitIdle(std::uint64_t deadlineTick) {
    bool published = false;
    {
        std::lock_guard<std::mutex> guard(m_impl->lock);
        if (m_impl->urgent.empty() && m_impl->normal.empty()) {
            bool rest = !Table().dirty && m_impl->externalWork == 0;
            std::optional<std::uint64_t> due = Table().NextDue();
            if (due && *due <= CClock::Instance().TickCount())
                rest = false;
            if (rest && m_impl->restSeq != m_impl->enqueueSeq) {
                m_impl->restSeq = m_impl->enqueueSeq;
                published = true;
            }
        }
    }
    // Waiters are woken only by news: an idle wait that is not rest (a
    // request out, a paint held) would wake each of them for nothing.
    if (published)
        m_impl->restChanged.notify_all();

    int timeout = -1;
    CClock& clock = CClock::Instance();
    if (clock.IsManual()) {
        timeout = kManualClockPollMs;
    } else {
        std::uint64_t wakeAt = deadlineTick;
        if (std::optional<std::uint64_t> due = Table().NextDue())
            wakeAt = std::min(wakeAt, *due);
        if (wakeAt != UINT64_MAX) {
            std::uint64_t now = clock.TickCount();
            timeout = wakeAt <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(wakeAt - now, INT_MAX));
        }
    }
    if (Table().dirty) {
        // A held paint is due when its wait runs out.
        if (const int held = PaintHoldLeftMs(); held > 0)
            timeout = timeout < 0 ? held : std::min(timeout, held);
    }
    if (timeout == 0)
        return;
    if (m_host)
        m_host->WaitForEvents(timeout);
}

bool UiMessageLoop::IsAtRest() const {
    std::lock_guard<std::mutex> guard(m_impl->lock);
    if (!m_impl->urgent.empty() || !m_impl->normal.empty())
        return false;
    if (Table().dirty || m_impl->externalWork != 0)
        return false;
    std::optional<std::uint64_t> due = Table().NextDue();
    return !due || *due > CClock::Instance().TickCount();
}

void UiMessageLoop::HoldPaint(int ms) {
    m_impl->paintHeldUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(ms, 0));
}

void UiMessageLoop::ReleasePaint() {
    if (m_impl->paintHeldUntil == std::chrono::steady_clock::time_point{})
        return;
    m_impl->paintHeldUntil = {};
    Wake();
}

int UiMessageLoop::PaintHoldLeftMs() const {
    if (m_impl->externalWork == 0 || m_impl->paintHeldUntil == std::chrono::steady_clock::time_point{})
        return 0;
    const auto left = m_impl->paintHeldUntil - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero())
        return 0;
    // Rounded up, so the wait never ends just short of the time.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

void UiMessageLoop::BeginExternalWork() { ++m_impl->externalWork; }

void UiMessageLoop::EndExternalWork() {
    // Never below zero: an end without its begin (work begun on an earlier
    // loop) must not leave this loop busy for good.
    int busy = m_impl->externalWork.load();
    while (busy > 0 && !m_impl->externalWork.compare_exchange_weak(busy, busy - 1)) {
    }
    Wake();
}

void UiMessageLoop::EndExternalWorkOn(UiMessageLoop* loop) {
    std::shared_lock<std::shared_mutex> guard(g_currentLock);
    if (loop && loop == g_current)
        loop->EndExternalWork();
}

std::shared_ptr<CGuiTask> UiMessageLoop::PostTaskToCurrent(std::function<void()> fn) {
    std::shared_lock<std::shared_mutex> guard(g_currentLock);
    return g_current ? g_current->PostTask(std::move(fn)) : nullptr;
}

bool UiMessageLoop::WaitForRest(int timeoutMs) {
    if (IsGuiThread()) {
        PumpReady();
        return IsAtRest();
    }
    std::uint64_t mine = 0;
    {
        std::lock_guard<std::mutex> guard(m_impl->lock);
        if (m_impl->closed || m_impl->stopped)
            return true;
        mine = ++m_impl->enqueueSeq;
        m_impl->normal.push_back(Item{});
        Wake();
    }
    std::unique_lock<std::mutex> guard(m_impl->lock);
    return m_impl->restChanged.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                        [&] { return m_impl->restSeq >= mine; });
}

std::optional<std::uint64_t> UiMessageLoop::NextTimerDue() const { return Table().NextDue(); }


std::vector<UiWin*> UiMessageLoop::TopLevelWindows() const { return Table().TopLevels(); }

bool PostMessage(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_lock<std::shared_mutex> guard(g_currentLock);
    return g_current ? g_current->Post(target, msg, wParam, lParam) : false;
}

LRESULT SendMessage(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_lock<std::shared_mutex> guard(g_currentLock);
    UiMessageLoop* loop = g_current;
    if (loop && !loop->IsGuiThread()) {
        // Queued under the lock, waited for without it: the loop may be
        // destroyed meanwhile, and its destructor answers the send.
        std::shared_ptr<SendState> state = loop->QueueSend(target, msg, wParam, lParam);
        guard.unlock();
        return state ? state->Wait() : 0;
    }
    guard.unlock();
    UiWin* window = UiWin::FromHandle(target);
    return window ? window->WndProc(msg, wParam, lParam) : 0;
}
