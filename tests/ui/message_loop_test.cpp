#include <QCoreApplication>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/base/event.h"
#include "platform/ui/message_loop.h"

namespace {

TEST(WindowMessageSink, PostsKeepTheirOrderWithinEachThread) {
    std::vector<std::pair<UINT, WPARAM>> seen;
    CWindowMessageSink sink([&](UINT message, WPARAM wParam, LPARAM) {
        seen.emplace_back(message, wParam);
        return 0;
    });
    constexpr int kEach = 500;
    std::thread a([&] {
        for (int i = 0; i < kEach; ++i)
            sink.PostMessage(1, static_cast<WPARAM>(i), 0);
    });
    std::thread b([&] {
        for (int i = 0; i < kEach; ++i)
            sink.PostMessage(2, static_cast<WPARAM>(i), 0);
    });
    a.join();
    b.join();
    sink.PostMessage(3, 0, 0);  // from this thread, after both: handled last
    PumpWaitingMessages([&] { return seen.size() == 2 * kEach + 1; }, 5000);

    ASSERT_EQ(seen.size(), 2u * kEach + 1);
    WPARAM next[3] = {0, 0, 0};
    for (const auto& [message, index] : seen) {
        if (message == 3) continue;
        EXPECT_EQ(index, next[message]++) << "thread " << message;
    }
    EXPECT_EQ(seen.back().first, 3u);
}

// A handler that waits for more of the window's messages, as a dialog run from a posted message
// does, takes those posted before it began and those its own handlers post meanwhile.
TEST(WindowMessageSink, AWaitInsideAPostedMessagesHandlerTakesThePostsThatFollow) {
    int chained = 0;
    bool waited = false;
    std::unique_ptr<CWindowMessageSink> sink =
        std::make_unique<CWindowMessageSink>([&](UINT message, WPARAM, LPARAM) {
            if (message == 1) waited = PumpWaitingMessages([&] { return chained == 5; }, 5000);
            if (message == 2 && ++chained < 5) sink->PostMessage(2, 0, 0);
            return 0;
        });
    sink->PostMessage(1, 0, 0);
    sink->PostMessage(2, 0, 0);
    EXPECT_TRUE(PumpWaitingMessages([&] { return waited; }, 10000));
}

TEST(WindowMessageSink, SendWaitsForTheAnswerOrForItsCancel) {
    CWindowMessageSink sink([](UINT message, WPARAM wParam, LPARAM) {
        return static_cast<LRESULT>(message * 10 + wParam);
    });
    // On the user-interface thread a send is handled at once.
    EXPECT_EQ(sink.SendMessage(4, 2, 0), 42);

    // From a worker it waits until the user-interface thread has handled it.
    std::atomic<LRESULT> answer{-1};
    std::thread worker([&] { answer = sink.SendMessage(5, 3, 0); });
    PumpWaitingMessages([&] { return answer != -1; }, 5000);
    worker.join();
    EXPECT_EQ(answer, 53);

    // Stopping the sender ends the wait while the user-interface thread is busy elsewhere.
    CEvent cancel;
    std::atomic<LRESULT> cancelled{-1};
    std::thread waiting([&] { cancelled = sink.SendMessageCancellable(6, 0, 0, cancel, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    cancel.SetEvent();
    waiting.join();
    EXPECT_EQ(cancelled, 0);
    // The message it gave up on is dropped, not handled later.
    bool handled = false;
    CWindowMessageSink other([&](UINT, WPARAM, LPARAM) { return handled = true; });
    PumpWaitingMessages([] { return false; }, 30);
    EXPECT_FALSE(handled);
}

TEST(WindowMessageSink, ASinkThatGoesAwayAnswersWaitingSendsAsCancelled) {
    auto sink = std::make_unique<CWindowMessageSink>([](UINT, WPARAM, LPARAM) { return 1; });
    CEvent never;
    std::atomic<LRESULT> answer{-1};
    std::thread worker([&] { answer = sink->SendMessageCancellable(7, 0, 0, never, -5); });
    // The worker has queued its send by now; the window closes without handling it.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    sink.reset();
    worker.join();
    EXPECT_EQ(answer, -5);
}

}  // namespace
