#pragma once

#include <functional>

#include "platform/base/win_types.h"

// The user-interface thread's own message loop, run nested while the link waits for a reply
// there: the shell runs it with the wait cursor showing; tests drive it.
class IMessagePump {
public:
    // Dispatches the thread's messages until done holds or the time has run out; returns
    // done's last answer. Never a busy loop: it sleeps while no message waits.
    virtual BOOL PumpWaitingMessages(const std::function<bool()>& done, DWORD timeoutMs) = 0;

protected:
    ~IMessagePump() = default;
};
