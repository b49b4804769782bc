#pragma once

#include <atomic>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <vector>

#include "platform/base/win_types.h"

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr int WAIT_TIMEOUT = -1;

// A manual-reset event: once set it stays set, waking every waiter, until it is reset.
class CEvent {
public:
    explicit CEvent(bool initiallySet = false) : m_set(initiallySet) {}
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void SetEvent();
    void ResetEvent();
    bool IsSet() const;
    // True when the event is set within the time-out (milliseconds or INFINITE).
    bool Wait(DWORD timeoutMs) { return WaitForAny({this}, timeoutMs) == 0; }

    // The index of the first set event among those given, or WAIT_TIMEOUT when none is set
    // within the time-out. Lets one wait end on either a stop or a wake.
    static int WaitForAny(std::initializer_list<CEvent*> events, DWORD timeoutMs);

private:
    struct Waiter {
        std::mutex lock;
        std::condition_variable woken;
        bool signalled = false;
    };
    void AddWaiter(Waiter* waiter);
    void RemoveWaiter(Waiter* waiter);

    std::mutex m_lock;
    // Changed under the lock; read without it.
    std::atomic<bool> m_set;
    std::vector<Waiter*> m_waiters;
};
