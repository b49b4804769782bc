#pragma once

#include <array>
#include <atomic>

#include "link/callback.h"
#include "link/link_device.h"
#include "link/link_timing.h"
#include "link/msg_frame.h"
#include "link/post_outbox.h"
#include "platform/base/critical_section.h"
#include "platform/base/event.h"
#include "platform/base/thread.h"

// The one worker thread of an open link. Each cycle it asks the device link for a request,
// numbers it, writes it, reads the reply and hands the pair back; hooks decide what happens
// to an exchange that failed or was refused.
//
// Lock order: the engine lock, then the device link's. Whoever holds the device lock must not
// wake, hold, release or wait for the engine.
class CLinkEngine {
public:
    enum Counter : int {
        kTxOk,
        kRxOk,
        kTimeouts,
        kOverflow,
        kFraming,
        kChecksum,
        kMisc,
        kNaks,
        kCtrl,
        kCounterCount
    };
    static constexpr std::array<const char16_t*, kCounterCount> kCounterNames = {
        u"TX OK",    u"RX OK", u"Timeouts", u"Overflow", u"Framing",
        u"Checksum", u"Misc",  u"NAKs",     u"CTRL"};

    enum HookPoint : int { kBeforeSend, kSendError, kReceiveError, kAfterReceive, kHookCount };

    static constexpr std::size_t kStackSize = 32768;

    // Messages go to notify, through the engine's outbox.
    CLinkEngine(ILinkDevice& device, CMsgFrame& framer, IMessageSink* notify,
                const CLinkTiming& timing);
    // Stops the thread and waits for it.
    ~CLinkEngine();
    CLinkEngine(const CLinkEngine&) = delete;
    CLinkEngine& operator=(const CLinkEngine&) = delete;

    bool Start();
    // Signals the thread to stop and waits until it has ended.
    void Stop();

    // While held, wakes are ignored and only the wait's time-out runs a cycle.
    void Hold();
    // Ends a hold and wakes the engine.
    void Release();
    void Wake();
    void ResetWake();

    // Read from any thread without a lock.
    int GetCounter(Counter counter) const { return m_counters[counter].load(); }
    void AddToCounter(Counter counter, int delta) { m_counters[counter] += delta; }
    void ResetCounters();

    // Hooks are not owned. After Start only the engine thread (its hooks) changes them.
    void SetHook(HookPoint point, CCallback* hook) { m_hooks[point] = hook; }
    CCallback* GetHook(HookPoint point) const { return m_hooks[point]; }

    // A pause on the engine thread that a stop cuts short; false when stopped.
    bool Pause(DWORD ms);
    // Set once the engine is told to stop: a wait of its thread for anyone must end on it.
    CEvent& StopEvent() { return m_stop; }
    // Where everything that the engine thread tells the window goes.
    IMessageSink& Outbox() { return m_outbox; }

private:
    void Run();
    void RunCycles();
    // Writes the request and reads its reply until the hooks accept or drop the exchange;
    // false when the engine was stopped meanwhile.
    bool Exchange(int kind);
    void CountFailure(int result);

    ILinkDevice& m_device;
    CMsgFrame& m_framer;
    const CLinkTiming m_timing;
    CPostOutbox m_outbox;

    CEvent m_wake{true};
    CEvent m_stop;
    bool m_hold = false;
    std::array<CCallback*, kHookCount> m_hooks{};
    CCriticalSection m_lock;
    DWORD m_sequence = 0;
    std::array<std::atomic<int>, kCounterCount> m_counters{};
    // The exchange in progress, kept here rather than on the thread's stack.
    CDualMessage m_pair;
    CThread m_thread;
};
