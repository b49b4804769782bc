#pragma once

#include "platform/base/event.h"
#include "platform/base/win_types.h"

constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_APP = 0x8000;

// A window that model and link code post or send messages to (in the program, the main
// window). Post may be called from any thread and never blocks; Send from a worker thread
// blocks until the user-interface thread has handled the message and returns its result.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // A Send whose wait also ends when cancel is set, answering cancelled: a worker that the
    // user-interface thread stops and waits for must not go on waiting for that thread. A
    // message given up on before the window took it is dropped.
    virtual LRESULT SendMessageCancellable(UINT message, WPARAM wParam, LPARAM lParam,
                                           CEvent& cancel, LRESULT cancelled) = 0;
    // Forgets the messages posted and not yet handled; on the user-interface thread.
    virtual void DropPosted() {}
};
