#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/base/message_sink.h"

class CWnd;

// Runs the user-interface thread's messages until done holds or the time has run out, and
// answers done's last answer. Sleeps while no message waits.
BOOL PumpWaitingMessages(const std::function<bool()>& done, DWORD timeoutMs);

// The window-message sink over the user-interface thread's event queue: messages posted from
// any thread reach the handler in the order they were posted; a send from another thread
// waits for the handler's answer, or for its cancel event. Build and destroy it on the
// user-interface thread; once it is gone, posts are dropped and waiting sends answer their
// cancelled value.
class CWindowMessageSink : public IMessageSink {
public:
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    explicit CWindowMessageSink(Handler handler);
    // Messages go to the window's WindowProc.
    explicit CWindowMessageSink(CWnd& window);
    ~CWindowMessageSink() override;
    CWindowMessageSink(const CWindowMessageSink&) = delete;
    CWindowMessageSink& operator=(const CWindowMessageSink&) = delete;

    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageCancellable(UINT message, WPARAM wParam, LPARAM lParam, CEvent& cancel,
                                   LRESULT cancelled) override;
    void DropPosted() override;

    // Inside a handler that answers a send from another thread: a flag that turns true once
    // that thread no longer waits for the answer (its cancel came). A handler that asks the
    // user can watch it and stop asking. Null in any other handler, and outside handlers.
    static std::shared_ptr<const std::atomic<bool>> CurrentSendWithdrawn();

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
};
