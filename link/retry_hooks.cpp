#include "link/retry_hooks.h"

#include <ctime>
#include <mutex>
#include <utility>

#include "link/comm_udp.h"
#include "link/command_codes.h"
#include "link/device_comm.h"
#include "link/link_messages.h"
#include "link/link_result.h"
#include "link/pellam_udp_frame.h"
#include "link/wire_clock.h"

// Each hook decides under the device lock and waits, or touches the engine, only after
// releasing it.

namespace {

// The processor a memory request is for, in its second payload byte.
constexpr DWORD kProcessorByte = 1;
constexpr BYTE kActiveProcessor = 0;
constexpr BYTE kStandbyProcessor = 1;

}  // namespace

// A request given up is asked for again once the link is up.
int CDCError::OnError(const CMsgFail& failure) {
    const int decision = Decide(failure);
    if (decision == 0) m_device.OnRequestDropped(*failure.request);
    return decision;
}

int CDCError::Decide(const CMsgFail& failure) {
    CDEVICEComm& device = m_device;
    bool resetWake = false;
    bool pause = false;
    int decision = 0;
    {
        std::lock_guard guard(device.m_deviceLock);
        const int state = device.m_nState;
        if (state == kLinkClosed || state == kLinkPoll) return 0;
        if (state == kLinkAwaitSession || state == kLinkAwaitStatus) {
            // The set-up or presence request got no answer: the controller is gone.
            resetWake = true;
            device.SetState(kLinkPoll);
            device.Post(WM_LINK_ERROR, kLinkPoll);
        } else if (m_tries == 0) {
            device.LinkLost(kLinkPoll, failure.result);
        } else if (failure.result == LINK_TIMEOUT && failure.request->command == kCmdClp) {
            --m_tries;
            decision = -1;
        } else {
            pause = failure.result != LINK_TIMEOUT;
            decision = m_tries--;
        }
    }
    if (resetWake) device.m_engine->ResetWake();
    if (pause) device.m_engine->Pause(device.m_timing.errorPauseMs);
    return decision;
}

int CUDPError::OnError(const CMsgFail& failure) {
    const int decision = Decide(failure);
    if (decision == 0) m_device.OnRequestDropped(*failure.request);
    return decision;
}

int CUDPError::Decide(const CMsgFail& failure) {
    CDEVICEComm& device = m_device;
    bool resetWake = false;
    {
        std::lock_guard guard(device.m_deviceLock);
        const int state = device.m_nState;
        if (state == kLinkClosed || state == kLinkSetUp || state == kLinkPoll) return 0;
        if (state == kLinkAwaitSession) {
            // The session request goes once to each address before the set-up starts over.
            device.FailOver();
            if (!std::exchange(m_failedOver, true)) return 1;
            resetWake = true;
            device.SetState(kLinkSetUp);
            device.Post(WM_LINK_ERROR, kLinkSetUp);
        } else if (failure.result == LINK_TIMEOUT && m_tries > 0) {
            --m_tries;
            if (failure.request->command == kCmdClp) return -1;
            return m_tries + 1;
        } else {
            if (failure.result == LINK_TIMEOUT) device.FailOver();
            device.LinkLost(kLinkSetUp, failure.result);
        }
    }
    if (resetWake) device.m_engine->ResetWake();
    return 0;
}

int CDCVerify::AfterReceive(CDualMessage& pair) {
    const CMessage& request = pair.request;
    const CMessage& reply = pair.reply;
    CDEVICEComm& device = m_device;
    if (request.command == 0) {
        m_naksLeft = kNakRetries;
        return 0;
    }
    // An answer to an earlier request: the one awaited may still come.
    if (reply.sequence != request.sequence) return -1;
    if (device.m_bNetwork && reply.tag == kUnknownSessionTag) {
        {
            std::lock_guard guard(device.m_deviceLock);
            device.FailOver();
            device.EndCommittedSend();
            device.SetState(kLinkSetUp);
            device.Post(WM_LINK_ERROR, static_cast<WPARAM>(LINK_ERROR_SESSION_LOST));
        }
        device.OnRequestDropped(request);
        return 0;
    }
    const DWORD c = request.command;
    if (!reply.nak || c == kCmdAskControl || c == kCmdOpenDownload || c == kCmdReleaseControl) {
        m_naksLeft = kNakRetries;
        return 0;
    }
    device.Post(WM_LINK_ACTIVITY, LINK_ACTIVITY_READ_FAILED, 0);
    if (device.IsRefusedForSession(pair)) {
        // Refused for want of a session: set it up again.
        device.QueueStandbyQuery();
        {
            std::lock_guard guard(device.m_deviceLock);
            device.EndCommittedSend();
            device.SetState(kLinkSetUp);
            device.Post(WM_LINK_ERROR, static_cast<WPARAM>(LINK_ERROR_NO_SESSION));
        }
        device.OnRequestDropped(request);
        return 0;
    }
    if (m_naksLeft > 0) {
        --m_naksLeft;
        return 1;
    }
    m_naksLeft = kNakRetries;
    return AskUser(pair);
}

// Asks the main window whether to send the refused request again. The question is sent, not
// posted; a stop of the engine ends the wait as if the answer were to go on.
int CDCVerify::AskUser(const CDualMessage& pair) {
    CDEVICEComm& device = m_device;
    if (!device.m_notify) return 0;
    m_question = pair;
    CLinkEngine& engine = *device.m_engine;
    const LRESULT answer = engine.Outbox().SendMessageCancellable(
        WM_LINK_ERROR, static_cast<WPARAM>(LINK_ERROR_NAK), reinterpret_cast<LPARAM>(&m_question),
        engine.StopEvent(), 0);
    if (answer != 1) return 0;
    return engine.Pause(device.m_timing.nakRetryPauseMs) ? 1 : 0;
}

int CDCIgnoreFlop::OnError(const CMsgFail& failure) {
    const int decision = Restore(*failure.request);
    // Not asked again, but a write the standby never answered is not lost unseen either.
    if (failure.request->command == kCmdWriteMemory) m_device.OnRequestDropped(*failure.request);
    return decision;
}

int CDCIgnoreFlop::Restore(CMessage& request) {
    CDEVICEComm& device = m_device;
    device.InstallUsualHooks();
    const DWORD c = request.command;
    if (c != kCmdReadMemory && c != kCmdWriteMemory) return 0;
    // Whoever takes the reply or the loss from here finds the processor that was asked.
    if (std::exchange(m_namedActive, false)) request.payload[kProcessorByte] = kStandbyProcessor;
    if (std::exchange(m_redirected, false)) {
        DWORD address = device.m_dwStandbyAddr;
        if (device.m_udp && address != 0) {
            device.m_udp->SetPeerAddress(address);
            device.m_dwStandbyAddr = address;
            device.m_udpFrame->SetTag(m_savedTag);
        }
    }
    return 0;
}

int CDCUpdate::BeforeSend(CMessage& request) {
    CDEVICEComm& device = m_device;
    switch (request.command) {
        case kCmdSetClock: {
            // The present local time, taken just before the frame is written.
            CPayloadWriter out(request, kCmdSetClock);
            WriteWireClock(out, std::time(nullptr));
            break;
        }
        case kCmdReadMemory:
        case kCmdWriteMemory:
            // On the network the standby processor is the standby controller, asked directly
            // without a session and without a retry.
            if (!device.m_udpFrame || request.length <= kProcessorByte ||
                request.payload[kProcessorByte] != kStandbyProcessor)
                break;
            request.payload[kProcessorByte] = kActiveProcessor;
            device.m_ignoreFlop.NamedActive();
            if (DWORD address = device.m_dwStandbyAddr; device.m_udp && address != 0) {
                device.m_ignoreFlop.Redirected(device.m_udpFrame->GetTag());
                device.m_udp->SetPeerAddress(address);
                device.m_dwStandbyAddr = address;
                device.m_udpFrame->SetTag(CMessage::kNoTag);
            }
            device.InstallHooks(&device.m_ignoreFlop, &device.m_ignoreFlop);
            break;
        case kCmdStandbyAddress:
            device.InstallHooks(&device.m_ignoreFlop, &device.m_ignoreFlop);
            break;
        default: break;
    }
    return 0;
}
