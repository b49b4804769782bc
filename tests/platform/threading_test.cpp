#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/base/critical_section.h"
#include "platform/base/event.h"
#include "platform/base/thread.h"
#include "platform/base/tick_count.h"

TEST(Event, ManualResetWaitAnyAndTimeOut) {
    CEvent stop, wake(true);
    EXPECT_EQ(CEvent::WaitForAny({&stop, &wake}, 0), 1);
    EXPECT_EQ(CEvent::WaitForAny({&stop, &wake}, 0), 1);  // stays set until reset
    wake.ResetEvent();
    const DWORD before = GetTickCount();
    EXPECT_EQ(CEvent::WaitForAny({&stop, &wake}, 60), WAIT_TIMEOUT);
    EXPECT_GE(GetTickCount() - before, 55u);
    stop.SetEvent();
    wake.SetEvent();
    EXPECT_EQ(CEvent::WaitForAny({&stop, &wake}, INFINITE), 0);  // the first set one
}

TEST(Event, SetFromAnotherThreadEndsABlockedWait) {
    CEvent stop, wake;
    CThread setter;
    ASSERT_TRUE(setter.Start([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        stop.SetEvent();
    }));
    EXPECT_EQ(CEvent::WaitForAny({&wake, &stop}, INFINITE), 1);
    EXPECT_TRUE(stop.Wait(0));
}

TEST(Thread, RunsWithTheStackAskedAndIsJoined) {
    std::atomic<int> runs = 0;
    {
        CThread t;
        ASSERT_TRUE(t.Start(
            [&] {
                char big[200 * 1024];  // more than a small stack would hold
                std::memset(big, 1, sizeof big);
                runs += big[sizeof big - 1];
            },
            32768));
        EXPECT_FALSE(t.Start([] {}));
        t.Join();
        EXPECT_EQ(runs, 1);
        EXPECT_FALSE(t.IsStarted());
        ASSERT_TRUE(t.Start([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ++runs;
        }));
    }  // destroying a started thread waits for it
    EXPECT_EQ(runs, 2);
}

TEST(CriticalSection, ReenteredByItsOwner) {
    CCriticalSection lock;
    std::lock_guard outer(lock);
    std::lock_guard inner(lock);
    SUCCEED();
}
