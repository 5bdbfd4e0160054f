// The wake a request worker sleeps on: a signal ends one wait and only
// one, a readable descriptor beside it ends the wait without one, and a
// time limit ends it when nothing comes.
#include "platform/net/CWakeSignal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

TEST(WakeSignal, ASignalEndsOneWaitOnlyFromAnyThread) {
    CWakeSignal wake;
    ASSERT_TRUE(wake.IsUsable());
    wake.Signal();
    wake.Signal();
    EXPECT_TRUE(wake.Wait(-1, 1000)) << "a signal given before the wait ends it";
    EXPECT_FALSE(wake.Wait(-1, 20)) << "two signals before one wait are one";
    std::thread other([&wake] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        wake.Signal();
    });
    EXPECT_TRUE(wake.Wait(-1, 5000));
    other.join();
}

TEST(WakeSignal, AWatchedSocketEndsTheWaitWhenItsPeerSendsOrCloses) {
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    CWakeSignal wake;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(wake.Wait(pair[0], 30)) << "quiet: the time ends it";
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(25));
    ASSERT_EQ(write(pair[1], "x", 1), 1);
    EXPECT_FALSE(wake.Wait(pair[0], 5000)) << "the answer ends it, and is no signal";
    char byte;
    ASSERT_EQ(read(pair[0], &byte, 1), 1);
    close(pair[1]);
    EXPECT_FALSE(wake.Wait(pair[0], 5000)) << "a close ends it too";
    wake.Signal();
    EXPECT_TRUE(wake.Wait(pair[0], 5000)) << "a signal is told apart from the socket";
    close(pair[0]);
}
