#include "platform/base/event.h"

#include <algorithm>
#include <chrono>

void CEvent::SetEvent() {
    std::lock_guard guard(m_lock);
    m_set = true;
    for (Waiter* waiter : m_waiters) {
        std::lock_guard waiterGuard(waiter->lock);
        waiter->signalled = true;
        waiter->woken.notify_all();
    }
}

void CEvent::ResetEvent() {
    std::lock_guard guard(m_lock);
    m_set = false;
}

bool CEvent::IsSet() const {
    return m_set.load();
}

void CEvent::AddWaiter(Waiter* waiter) {
    std::lock_guard guard(m_lock);
    m_waiters.push_back(waiter);
}

void CEvent::RemoveWaiter(Waiter* waiter) {
    std::lock_guard guard(m_lock);
    m_waiters.erase(std::remove(m_waiters.begin(), m_waiters.end(), waiter), m_waiters.end());
}

int CEvent::WaitForAny(std::initializer_list<CEvent*> events, DWORD timeoutMs) {
    // An event already set needs no waiter.
    int index = 0;
    for (CEvent* event : events) {
        if (event->IsSet()) return index;
        ++index;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    Waiter waiter;
    for (CEvent* event : events)
        event->AddWaiter(&waiter);
    int result = WAIT_TIMEOUT;
    for (;;) {
        int index = 0;
        for (CEvent* event : events) {
            if (event->IsSet()) {
                result = index;
                break;
            }
            ++index;
        }
        if (result != WAIT_TIMEOUT) break;
        // A set between the scan above and this wait has marked the waiter, so it is not lost.
        std::unique_lock lock(waiter.lock);
        if (!waiter.signalled) {
            if (timeoutMs == INFINITE) {
                waiter.woken.wait(lock, [&] { return waiter.signalled; });
            } else if (!waiter.woken.wait_until(lock, deadline, [&] { return waiter.signalled; })) {
                break;
            }
        }
        waiter.signalled = false;
    }
    for (CEvent* event : events)
        event->RemoveWaiter(&waiter);
    return result;
}
