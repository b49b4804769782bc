#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include <pthread.h>

// A worker thread started with a chosen stack size. It is always joined: Join waits for the
// body to return, and destroying a started thread joins it first.
class CThread {
public:
    // The platform's own calls (and the sanitizers) need more stack than small requests allow,
    // so a smaller size is raised to this.
    static constexpr std::size_t kMinStackSize = 1024 * 1024;

    CThread() = default;
    ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // False when a thread is already running or the system cannot start one.
    bool Start(std::function<void()> body, std::size_t stackSize = 0);
    void Join();
    bool IsStarted() const { return m_body != nullptr; }

private:
    pthread_t m_handle{};
    // Owned here so that its address stays valid while the thread runs.
    std::unique_ptr<std::function<void()>> m_body;
};
