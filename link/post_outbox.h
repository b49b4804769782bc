#pragma once

#include <atomic>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/base/message_sink.h"

// The link engine's messages to its window. Those posted on the engine thread wait here and go
// out together: before the engine waits for work, and while it is busy no more often than
// every few milliseconds, so that waking the window does not hold up every exchange. Posts
// from any other thread pass straight through. The engine's own posts keep their order, and a
// send first delivers what waits.
class CPostOutbox : public IMessageSink {
public:
    explicit CPostOutbox(IMessageSink* target) : m_target(target) {}

    // The thread whose posts wait; called on it.
    void AdoptThisThread() { m_owner = std::this_thread::get_id(); }
    // Delivers what waits; on the engine thread only.
    void Flush();
    // Delivers what waits when the last delivery is at least this long ago.
    void FlushIfDue(DWORD intervalMs);

    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageCancellable(UINT message, WPARAM wParam, LPARAM lParam, CEvent& cancel,
                                   LRESULT cancelled) override;

private:
    bool Defers() const { return m_owner.load() == std::this_thread::get_id(); }

    IMessageSink* const m_target;
    std::atomic<std::thread::id> m_owner;
    // Touched only by the owning thread.
    std::vector<std::tuple<UINT, WPARAM, LPARAM>> m_waiting;
    DWORD m_lastFlush = 0;
};
