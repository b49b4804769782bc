#include "link/link_engine.h"

#include <mutex>

#include "link/link_result.h"

CLinkEngine::CLinkEngine(ILinkDevice& device, CMsgFrame& framer, IMessageSink* notify,
                         const CLinkTiming& timing)
    : m_device(device), m_framer(framer), m_timing(timing), m_outbox(notify) {}

CLinkEngine::~CLinkEngine() {
    Stop();
}

bool CLinkEngine::Start() {
    if (m_thread.IsStarted()) return false;
    m_stop.ResetEvent();
    ResetCounters();
    return m_thread.Start([this] { Run(); }, kStackSize);
}

void CLinkEngine::Stop() {
    m_stop.SetEvent();
    m_thread.Join();
}

void CLinkEngine::Hold() {
    std::lock_guard guard(m_lock);
    m_hold = true;
}

void CLinkEngine::Release() {
    std::lock_guard guard(m_lock);
    m_hold = false;
    m_wake.SetEvent();
}

void CLinkEngine::Wake() {
    std::lock_guard guard(m_lock);
    m_wake.SetEvent();
}

void CLinkEngine::ResetWake() {
    std::lock_guard guard(m_lock);
    m_wake.ResetEvent();
}

void CLinkEngine::ResetCounters() {
    std::lock_guard guard(m_lock);
    for (auto& counter : m_counters)
        counter = 0;
}

bool CLinkEngine::Pause(DWORD ms) {
    m_outbox.Flush();
    return !m_stop.Wait(ms);
}

void CLinkEngine::Run() {
    m_outbox.AdoptThisThread();
    RunCycles();
    m_outbox.Flush();
}

void CLinkEngine::RunCycles() {
    for (;;) {
        // The window hears what happened before the engine waits, not while it has work.
        if (!m_wake.IsSet()) m_outbox.Flush();
        const int woken = CEvent::WaitForAny({&m_stop, &m_wake}, m_timing.engineWaitMs);
        if (woken == 0) return;
        const bool timedOut = woken == WAIT_TIMEOUT;
        int kind = kRequestNone;
        {
            // Held while the request is chosen, so that a wake for work marked meanwhile
            // comes after the reset below and is not lost.
            std::lock_guard guard(m_lock);
            if (m_hold && !timedOut) {
                m_wake.ResetEvent();
                continue;
            }
            m_pair.request.Clear();
            kind = m_device.GetNextRequest(m_pair.request);
            const bool poll = kind == kRequestRawPoll || kind == kRequestFramedPoll;
            if (kind == kRequestNone || (poll && !timedOut)) {
                m_wake.ResetEvent();
                continue;
            }
        }
        // 1 is used once after the start; later rounds run from 2 to the largest number.
        m_pair.request.sequence = kind == kRequestNumbered ? ++m_sequence : 0;
        if (m_sequence >= static_cast<DWORD>(m_framer.GetMaxSequence())) m_sequence = 1;
        if (!Exchange(kind)) return;
    }
}

bool CLinkEngine::Exchange(int kind) {
    CMessage& request = m_pair.request;
    CMessage& reply = m_pair.reply;
    for (;;) {  // each pass writes the request once
        if (m_stop.IsSet()) return false;
        if (CCallback* hook = m_hooks[kBeforeSend]) hook->BeforeSend(request);
        const bool framed = kind == kRequestNumbered || kind == kRequestFramedPoll;
        if (int result = framed ? m_framer.Send(request) : m_framer.SendRaw(request);
            result != LINK_OK) {
            CCallback* hook = m_hooks[kSendError];
            if (hook && hook->OnError({result, &request}) != 0) continue;
            return true;
        }
        ++m_counters[kTxOk];
        for (;;) {  // each pass reads one reply
            if (m_stop.IsSet()) return false;
            m_outbox.FlushIfDue(m_timing.noticeIntervalMs);
            reply.Clear();
            if (int result = m_framer.Receive(reply); result != LINK_OK) {
                CountFailure(result);
                // A reply that is late or spoilt may take a while: the window hears first.
                m_outbox.Flush();
                CCallback* hook = m_hooks[kReceiveError];
                const int decision = hook ? hook->OnError({result, &request}) : 0;
                if (decision > 0) break;
                if (decision < 0) continue;
                return true;
            }
            ++m_counters[kRxOk];
            if (reply.nak) ++m_counters[kNaks];
            if (reply.ctrl) ++m_counters[kCtrl];
            CCallback* hook = m_hooks[kAfterReceive];
            const int decision = hook ? hook->AfterReceive(m_pair) : 0;
            if (decision > 0) break;
            if (decision < 0) continue;
            m_device.PutResponse(m_pair);
            return true;
        }
    }
}

void CLinkEngine::CountFailure(int result) {
    switch (result) {
        case LINK_TIMEOUT: ++m_counters[kTimeouts]; break;
        case LINK_OVERFLOW: ++m_counters[kOverflow]; break;
        case LINK_FRAMING: ++m_counters[kFraming]; break;
        case LINK_CHECKSUM: ++m_counters[kChecksum]; break;
        default: ++m_counters[kMisc]; break;
    }
}
