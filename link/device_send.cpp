#include <mutex>
#include <utility>

#include "link/command_codes.h"
#include "link/device_comm.h"
#include "link/link_messages.h"
#include "link/pellam_udp_frame.h"
#include "model/app_state.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

// Commit status of replies 3 and 23.
constexpr BYTE kCommitDone = 0;
constexpr BYTE kCommitDoneToo = 1;
constexpr BYTE kCommitEeprom = 2;
constexpr BYTE kCommitAgain = 3;

}  // namespace

BOOL CDEVICEComm::StartSendAll(const CLinkSession& session, std::unique_ptr<CSendAll> source) {
    {
        std::lock_guard guard(m_deviceLock);
        if (!source) return FALSE;
        if (m_nState != kLinkUp || !SessionStands(session)) {
            source->OnSendEnded();
            return FALSE;
        }
        SetState(kLinkAskControl);
        {
            std::lock_guard queueGuard(m_requestLock);
            m_requests.clear();
        }
        m_source = std::move(source);
        m_source->Reset();
        m_sendConfig = std::make_unique<const CCVConfig>(GetApp().GetConfig());
        m_bSendRunning = TRUE;
        m_bReleaseOwed = FALSE;
        m_bCommitted = FALSE;
    }
    WakeEngine();
    return TRUE;
}

int CDEVICEComm::PullFromSource(int count) {
    int taken = 0;
    bool wake = false;
    {
        std::lock_guard guard(m_deviceLock);
        m_nLastPull = count;
        m_bSourceMore = TRUE;
        if (!m_bConnected || !m_bSendRunning || !m_source) return 0;
        CMessage message;
        while (count < 0 || taken < count) {
            if (!m_source->BuildNext(message)) {
                m_bSourceMore = FALSE;
                break;
            }
            std::lock_guard queueGuard(m_requestLock);
            m_requests.push_back(message);
            ++taken;
        }
        if (m_nState == kLinkFillQueue && m_bSourceMore) {
            Post(WM_LINK_PULL);
        } else if (m_nState == kLinkFillQueue) {
            std::lock_guard queueGuard(m_requestLock);
            Post(WM_LINK_QUEUE_FILLED, m_requests.size());
        }
        wake = m_nState == kLinkSendQueue;
    }
    if (wake) WakeEngine();
    return taken;
}

BOOL CDEVICEComm::Advance(int from, int to) {
    {
        std::lock_guard guard(m_deviceLock);
        if (m_nState != from) return FALSE;
        SetState(to);
    }
    WakeEngine();
    return TRUE;
}

void CDEVICEComm::BeginSendQueue() {
    Advance(kLinkFillQueue, kLinkSendQueue);
}

void CDEVICEComm::EndSendQueue() {
    Advance(kLinkQueueSent, kLinkCommit);
}

void CDEVICEComm::Abort() {
    {
        std::lock_guard guard(m_deviceLock);
        switch (m_nState) {
            case kLinkUp:
            case kLinkRelease:
            case kLinkAwaitRelease: return;
            case kLinkAskControl:
                EndSendRunning();
                SetState(kLinkUp);
                return;
            case kLinkClosed:
            case kLinkSetUp:
            case kLinkAwaitSession:
            case kLinkPoll:
            case kLinkAwaitStatus:
                // The link is lost: the set-up or poll that finds the controller again goes
                // on, and exclusive control is released once it has.
                if (m_bSendRunning) m_bReleaseOwed = TRUE;
                EndSendRunning();
                return;
            default: SetState(kLinkRelease); break;
        }
    }
    WakeEngine();
}

void CDEVICEComm::FailRunningSend(int reason) {
    {
        std::lock_guard guard(m_deviceLock);
        if (!m_bSendRunning) return;
        const bool releasing = m_nState == kLinkRelease || m_nState == kLinkAwaitRelease;
        if (m_bCommitted) {
            // Committed, not yet released: which controller took the commit is in doubt, so
            // the send does not end as done. The release still goes out.
            if (!releasing) return;
            m_bCommitted = FALSE;
            Post(WM_LINK_SEND_FAILED, static_cast<WPARAM>(reason));
            return;
        }
        // A send that has lost its link, or is being released, has told its end already.
        const bool going = m_nState >= kLinkAskControl && m_nState < kLinkRelease;
        if (!going) return;
        std::lock_guard queueGuard(m_requestLock);
        m_requests.clear();
    }
    FailSend(reason);
}

void CDEVICEComm::FailSend(int reason) {
    Post(WM_LINK_SEND_FAILED, static_cast<WPARAM>(reason));
    Abort();
}

BOOL CDEVICEComm::OnControllerStatus() {
    std::lock_guard guard(m_deviceLock);
    if (m_nState != kLinkAwaitStatus) return FALSE;
    EndSendRunning();
    SetState(kLinkUp);
    return TRUE;
}

BOOL CDEVICEComm::IsStatusReply(const CDualMessage& pair) {
    const CMessage& reply = pair.reply;
    if (reply.command == kCmdStatus) return reply.length == 26;
    return reply.command == kCmdNetworkControl && reply.length == 27 &&
           reply.payload[0] == kPresencePoll;
}

BOOL CDEVICEComm::HandleLinkReply(const CDualMessage& pair) {
    const CMessage& reply = pair.reply;
    switch (reply.command) {
        case kCmdOpenSession: OnSessionReply(reply); return TRUE;
        case kCmdAskControl: OnControlReply(reply); return TRUE;
        case kCmdOpenDownload: OnDownloadReply(); return TRUE;
        case kCmdCommit:
        case kCmdCommitAgain: OnCommitReply(reply); return TRUE;
        case kCmdReleaseControl: OnReleaseReply(); return TRUE;
        default: return FALSE;
    }
}

// A reply without a session tag means the controller refused the connection.
void CDEVICEComm::OnSessionReply(const CMessage& reply) {
    {
        std::lock_guard guard(m_deviceLock);
        if (reply.tag == CMessage::kNoTag) {
            SetState(kLinkClosed);
            m_bSessionRefused = TRUE;
            // The window re-makes what still speaks of the controller.
            Post(WM_LINK_SESSION_REFUSED, static_cast<WPARAM>(GetApp().GetMode()));
            GetApp().SetMode(CAppState::kModeFile);
        } else {
            if (m_nState != kLinkAwaitSession || !m_udpFrame) return;
            SetState(kLinkPoll);
            m_udpFrame->SetTag(reply.tag);
        }
    }
    if (reply.tag == CMessage::kNoTag) {
        OnSessionRefused();
        if (m_dialogs) m_dialogs->ShowMessage(LoadResString(kIdsConnectionRefused));
    } else {
        WakeEngine();
    }
}

void CDEVICEComm::OnControlReply(const CMessage& reply) {
    if (reply.length != 0) return;
    if (!reply.nak) {
        if (!Advance(kLinkAwaitControl, kLinkOpenDownload)) FailSend(kSendCorrupted);
        return;
    }
    // Refused: the user waits and asks again, or gives the send up. The dialog runs with no
    // lock held, and a retry counts only while the send still waits for this answer.
    if (GetLinkState() != kLinkAwaitControl) return;
    const int answer = m_dialogs ? m_dialogs->ExclusiveControlDenied() : ILinkDialogs::kAbort;
    if (answer == ILinkDialogs::kAbort) {
        FailSend(kSendDenied);
    } else {
        Advance(kLinkAwaitControl, kLinkAskControl);
    }
}

void CDEVICEComm::OnDownloadReply() {
    {
        std::lock_guard guard(m_deviceLock);
        if (m_nState == kLinkAwaitDownload) {
            SetState(kLinkFillQueue);
            Post(WM_LINK_PULL);
            return;
        }
    }
    FailSend(kSendCorrupted);
}

void CDEVICEComm::OnCommitReply(const CMessage& reply) {
    if (reply.length != 1) return;
    int failure = -1;
    bool wake = false;
    {
        std::lock_guard guard(m_deviceLock);
        const bool committing =
            m_nState == kLinkCommit || m_nState == kLinkCommitAgain || m_nState == kLinkAwaitCommit;
        switch (reply.payload[0]) {
            case kCommitDone:
            case kCommitDoneToo:
                if (committing) {
                    SetState(kLinkRelease);
                    m_bCommitted = TRUE;
                    wake = true;
                } else {
                    failure = kSendCorrupted;
                }
                break;
            case kCommitEeprom:
                if (committing) failure = kSendEepromFailure;
                break;
            case kCommitAgain:
                if (m_nState == kLinkCommit || m_nState == kLinkAwaitCommit) {
                    SetState(kLinkCommitAgain);
                    wake = true;
                } else {
                    failure = kSendCorrupted;
                }
                break;
            default: failure = kSendCorrupted; break;
        }
    }
    if (failure >= 0) FailSend(failure);
    if (wake) WakeEngine();
}

void CDEVICEComm::OnReleaseReply() {
    std::lock_guard guard(m_deviceLock);
    // The release owed by a send that has ended already ends nothing; answered, it is no
    // longer owed.
    if (m_nState != kLinkRelease && m_nState != kLinkAwaitRelease) {
        m_bReleaseOwed = FALSE;
        return;
    }
    SetState(kLinkUp);
    EndSendRunning();
    Post(WM_LINK_SEND_DONE);
}
