#include <mutex>
#include <utility>

#include "link/comm_udp.h"
#include "link/command_codes.h"
#include "link/device_comm.h"
#include "link/link_messages.h"
#include "link/pellam_udp_frame.h"
#include "model/app_state.h"
#include "model/ip_text.h"
#include "platform/base/byte_order.h"

int CDEVICEComm::GetNextRequest(CMessage& request) {
    std::lock_guard guard(m_deviceLock);
    int kind = ChooseRequest(request);
    if (m_bNetwork) {
        // The network has no raw bytes: its idle poll is a framed one.
        if (kind == kRequestRawPoll) kind = kRequestFramedPoll;
        if (kind == kRequestFramedPoll && std::exchange(m_bNumberNextPoll, FALSE))
            kind = kRequestNumbered;
    }
    if (kind == kRequestNumbered) {
        const DWORD c = request.command;
        if (m_bNetwork && (c == kCmdReadMemory || c == kCmdWriteMemory)) m_bNumberNextPoll = TRUE;
        // A command line's response may be slow to come: it is read again rather than resent.
        const int tries = c == kCmdClp ? 2 * CDCError::kTries : CDCError::kTries;
        m_udpError.Renew(tries);
        if (c == kCmdClp) m_dcError.SetTries(tries);
    }
    return kind;
}

int CDEVICEComm::ChooseRequest(CMessage& request) {
    m_dcError.SetTries(CDCError::kTries);
    if (m_nState == kLinkClosed || m_nState == kLinkAwaitSession || m_nState == kLinkAwaitStatus) {
        // No answer came: ask again, unless it waits to be handled.
        bool answerWaiting = false;
        {
            std::lock_guard guard(m_responseLock);
            answerWaiting = !m_responses.empty() || m_nRepliesInHand > 0;
        }
        if (!answerWaiting && m_nState == kLinkAwaitStatus) SetState(kLinkPoll);
        if (!answerWaiting && m_nState == kLinkAwaitSession) SetState(kLinkSetUp);
        return kRequestNone;
    }
    if (m_bPaused) return GetPollRequest(request);
    if (int kind = GetStateRequest(request); kind != kRequestNone) return kind;
    if (int kind = GetPollRequest(request); kind != kRequestRawPoll) return kind;
    if (GetQueuedRequest(request)) return kRequestNumbered;
    if (!m_bSendRunning) {
        if (GetExtraRequest(request) || GetManagerRequest(request)) return kRequestNumbered;
        if (int kind = GetFinalRequest(request); kind != kRequestNone) return kind;
    }
    return GetPollRequest(request);
}

int CDEVICEComm::GetStateRequest(CMessage& request) {
    auto ask = [&](DWORD command, int next) {
        request.command = command;
        SetState(next);
        return kRequestNumbered;
    };
    switch (m_nState) {
        case kLinkSetUp:
            if (!m_udpFrame) return kRequestNone;
            m_udpFrame->SetTag(CMessage::kNoTag);
            if (TakeStandbyQuery()) return ask(kCmdStandbyAddress, kLinkSetUp);
            return ask(kCmdOpenSession, kLinkAwaitSession);
        case kLinkPoll:
            request.command = m_bNetwork ? kCmdNetworkControl : 0;
            request.SetPayload(std::array{kPresencePoll});
            SetState(kLinkAwaitStatus);
            return m_bNetwork ? kRequestNumbered : kRequestRaw;
        case kLinkUp:
            // Exclusive control of a send given up while the link was lost, released once the
            // link is back; the state stays as it is, and the release is not asked for again.
            if (!std::exchange(m_bReleaseOwed, FALSE)) return kRequestNone;
            request.command = kCmdReleaseControl;
            return kRequestNumbered;
        case kLinkAskControl: return ask(kCmdAskControl, kLinkAwaitControl);
        case kLinkOpenDownload: return ask(kCmdOpenDownload, kLinkAwaitDownload);
        case kLinkCommit: return ask(kCmdCommit, kLinkAwaitCommit);
        case kLinkCommitAgain: return ask(kCmdCommitAgain, kLinkAwaitCommit);
        case kLinkRelease: return ask(kCmdReleaseControl, kLinkAwaitRelease);
        default: return kRequestNone;
    }
}

int CDEVICEComm::GetPollRequest(CMessage& request) {
    request.command = m_bNetwork ? kCmdNetworkControl : 0;
    request.SetPayload(std::array{kPresencePoll});
    const DWORD now = m_timing.clock();
    if (m_lastPollTick && now - *m_lastPollTick <= m_timing.pollIntervalMs) return kRequestRawPoll;
    m_lastPollTick = now;
    return m_bNetwork ? kRequestNumbered : kRequestRaw;
}

BOOL CDEVICEComm::GetQueuedRequest(CMessage& request) {
    if (m_nState != kLinkSendQueue) return FALSE;
    std::size_t left = 0;
    {
        std::lock_guard guard(m_requestLock);
        if (!m_requests.empty()) {
            m_requests.TakeFront(request);
            left = m_requests.size() + 1;
        }
    }
    if (left) {
        Post(WM_LINK_SEND_PROGRESS, left - 1);
        return TRUE;
    }
    if (m_bSourceMore) {
        Post(WM_LINK_PULL);
        // Called on the engine thread, which holds the engine lock already.
        m_engine->ResetWake();
    } else {
        SetState(kLinkQueueSent);
        Post(WM_LINK_QUEUE_SENT);
    }
    return FALSE;
}

BOOL CDEVICEComm::IsSessionLost(const CDualMessage& pair) const {
    return m_bNetwork && pair.reply.tag == kUnknownSessionTag;
}

BOOL CDEVICEComm::IsRefusedForSession(const CDualMessage& pair) const {
    return m_bNetwork && pair.reply.nak && pair.reply.tag == CMessage::kNoTag;
}

BOOL CDEVICEComm::Answers(const CDualMessage& pair) const {
    const CMessage& request = pair.request;
    const CMessage& reply = pair.reply;
    return (reply.command == kCmdStatus ||
            (reply.command == request.command && reply.sequence == request.sequence)) &&
           !IsSessionLost(pair);
}

void CDEVICEComm::PutResponse(const CDualMessage& pair) {
    const CMessage& request = pair.request;
    const CMessage& reply = pair.reply;
    // The controller did not know the session and ran nothing: the hook has set the session
    // up again, and the request is asked for again as if the link had failed with it.
    if (IsSessionLost(pair)) return;
    const bool refusalAnswers = reply.command == kCmdOpenDownload ||
                                reply.command == kCmdAskControl ||
                                reply.command == kCmdReleaseControl;
    const bool good = Answers(pair) && (!reply.nak || refusalAnswers);
    if (good && !reply.ctrl && reply.command == kCmdStandbyAddress) {
        OnStandbyAddress(reply);
        return;
    }
    if (good && reply.ctrl) StopSendQueue();
    bool notify = false;
    {
        std::lock_guard guard(m_responseLock);
        m_responses.push_back(pair);
        notify = std::exchange(m_bReplyNoticeArmed, FALSE);
    }
    if (notify) Post(WM_LINK_REPLIES);
    // The controller needs a moment after a second commit.
    if (request.command == kCmdCommitAgain && m_engine)
        m_engine->Pause(m_timing.commitAgainPauseMs);
}

// Exclusive control is lost: the send goes no further than the request it had in flight, and
// the window hears of it when the reply is handled.
void CDEVICEComm::StopSendQueue() {
    std::lock_guard guard(m_deviceLock);
    if (m_bSendRunning && m_nState > kLinkAskControl && m_nState < kLinkRelease)
        SetState(kLinkRelease);
}

// The standby controller's address, a.b.c.d in byte order: kept when it is new.
void CDEVICEComm::OnStandbyAddress(const CMessage& reply) {
    if (reply.length != 4) return;
    const DWORD address = GetU32BE(reply.payload.data());
    const CString text = FormatIPAddress(address);
    CAppState& app = GetApp();
    if (text == app.m_ipAddress.Get() || text == app.m_standbyIP.Get()) return;
    app.m_standbyIP.Set(text);
    m_dwStandbyAddr = address;
}

void CDEVICEComm::FailOver() {
    if (!m_udp || !m_udpFrame || m_dwStandbyAddr == 0) return;
    CAppState& app = GetApp();
    const CString standby = FormatIPAddress(m_dwStandbyAddr);
    app.m_standbyIP.Set(app.m_ipAddress.Get());
    app.m_ipAddress.Set(standby);
    DWORD address = m_dwStandbyAddr;
    m_udp->SetPeerAddress(address);
    m_dwStandbyAddr = address;
    m_udpFrame->SetTag(CMessage::kNoTag);
}

void CDEVICEComm::LinkLost(int fallback, int result) {
    if (m_bSendRunning && !EndCommittedSend()) Post(WM_LINK_SEND_FAILED, kSendLostLink, result);
    OnLinkLost();
    SetState(fallback);
    Post(WM_LINK_ERROR, static_cast<WPARAM>(fallback));
}

BOOL CDEVICEComm::EndCommittedSend() {
    if (!m_bSendRunning || !m_bCommitted) return FALSE;
    EndSendRunning();
    m_bCommitted = FALSE;
    m_bReleaseOwed = TRUE;
    Post(WM_LINK_SEND_DONE);
    return TRUE;
}
