// A thread slot: one object per thread, made at the thread's first use and
// deleted when the thread ends, as a thread_local would be.
#include "platform/system/ThreadSlot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_made{0};
std::atomic<int> g_deleted{0};

struct CCounted {
    CCounted() { ++g_made; }
    ~CCounted() { ++g_deleted; }
    int value = 0;
};

CCounted& Slot() {
    static CThreadSlot<CCounted> slot;
    return slot.Get();
}

TEST(ThreadSlot, EachThreadHasItsOwnObjectDeletedWhenTheThreadEnds) {
    g_made = 0;
    g_deleted = 0;
    Slot().value = 7;
    std::vector<std::thread> threads;
    std::atomic<int> sawOwn{0};
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([i, &sawOwn] {
            CCounted& mine = Slot();
            if (mine.value == 0)
                ++sawOwn; // fresh, not this thread's creator's
            mine.value = i + 100;
            if (&Slot() == &mine && Slot().value == i + 100)
                ++sawOwn;
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(sawOwn, 16);
    EXPECT_EQ(g_made, 9);
    EXPECT_EQ(g_deleted, 8) << "the threads' objects went with them; this thread's stays";
    EXPECT_EQ(Slot().value, 7);
}

} // namespace
