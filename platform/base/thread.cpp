#include "platform/base/thread.h"

#include <algorithm>

namespace {

void* RunBody(void* body) {
    (*static_cast<std::function<void()>*>(body))();
    return nullptr;
}

}  // namespace

CThread::~CThread() {
    Join();
}

bool CThread::Start(std::function<void()> body, std::size_t stackSize) {
    if (m_body) return false;
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    bool started = pthread_attr_setstacksize(&attr, std::max(stackSize, kMinStackSize)) == 0 &&
                   pthread_create(&m_handle, &attr, RunBody, owned.get()) == 0;
    pthread_attr_destroy(&attr);
    if (started) m_body = std::move(owned);
    return started;
}

void CThread::Join() {
    if (!m_body) return;
    pthread_join(m_handle, nullptr);
    m_body.reset();
}
