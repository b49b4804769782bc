#include "link/device_comm.h"

#include <mutex>
#include <utility>

#include "link/comm_udp.h"
#include "link/command_codes.h"
#include "link/link_messages.h"
#include "link/link_result.h"
#include "link/pellam_udp_frame.h"
#include "model/app_state.h"
#include "platform/io/host_address.h"

CDEVICEComm::CDEVICEComm() : m_random(std::random_device{}()) {}

CDEVICEComm::~CDEVICEComm() {
    Disconnect();
}

void CDEVICEComm::SetUdpTarget(BOOL network) {
    if (!m_bConnected) m_bNetwork = network ? TRUE : FALSE;
}

void CDEVICEComm::SetTiming(const CLinkTiming& timing) {
    if (!m_bConnected) m_timing = timing;
}

BOOL CDEVICEComm::Connect(std::unique_ptr<CComm> comm, IMessageSink* notify, BOOL start) {
    Disconnect();
    if (!comm) return FALSE;
    if (m_bNetwork) {
        if (DWORD standby = 0; ResolveHostAddress(GetApp().m_standbyIP.Get(), standby))
            m_dwStandbyAddr = standby;
        m_udp = dynamic_cast<CCommUDP*>(comm.get());
        auto framer = std::make_unique<CPellamUDPFrame>(std::move(comm));
        m_udpFrame = framer.get();
        m_framer = std::move(framer);
        QueueStandbyQuery();
    } else {
        m_framer = std::make_unique<CPellamFrame>(std::move(comm));
    }
    m_engine = std::make_unique<CLinkEngine>(*this, *m_framer, notify, m_timing);
    m_commNotify = m_framer->GetComm().GetNotify();
    m_framer->GetComm().SetNotify(&m_engine->Outbox());
    {
        std::lock_guard guard(m_deviceLock);
        m_notify = notify;
        SetState(!start ? kLinkClosed : m_bNetwork ? kLinkSetUp : kLinkPoll);
        EndSendRunning();
        m_bReleaseOwed = FALSE;
        m_bCommitted = FALSE;
        m_bSessionRefused = FALSE;
        m_bPaused = FALSE;
        m_bConnected = TRUE;
    }
    m_dcError.SetTries(CDCError::kTries);
    m_engine->SetHook(CLinkEngine::kBeforeSend, &m_update);
    InstallUsualHooks();
    if (m_engine->Start()) return TRUE;
    Disconnect();
    return FALSE;
}

void CDEVICEComm::Disconnect() {
    if (!m_bConnected) return;
    // The engine first: once its thread has ended nothing else uses the framer. Its hooks
    // reach the engine through m_engine until then.
    m_engine->Stop();
    m_framer->GetComm().SetNotify(m_commNotify);
    m_engine.reset();
    SayGoodbye();
    m_udpFrame = nullptr;
    m_udp = nullptr;
    m_framer.reset();
    // Replies of this link are not the next one's; its notice may never be handled.
    {
        std::lock_guard guard(m_responseLock);
        m_responses.clear();
        m_bReplyNoticeArmed = TRUE;
    }
    std::lock_guard guard(m_deviceLock);
    m_bConnected = FALSE;
    m_bPaused = FALSE;
    m_bSessionRefused = FALSE;
    SetState(kLinkClosed);
}

BOOL CDEVICEComm::IsLinkOpen() const {
    return m_bConnected && !m_framer->GetComm().HasHungUp() ? TRUE : FALSE;
}

// Sends the link's last message, if it has one, and waits for its answer until a read fails.
void CDEVICEComm::SayGoodbye() {
    CMessage request;
    if (GetLastRequest(request) == 0) return;
    request.sequence = std::uniform_int_distribution<DWORD>(1, 32)(m_random);
    if (m_framer->Send(request) != LINK_OK) return;
    CMessage reply;
    while (m_framer->Receive(reply) == LINK_OK) {
        if (reply.command == request.command && reply.sequence == request.sequence) return;
    }
}

int CDEVICEComm::GetLastRequest(CMessage& request) {
    if (!m_bNetwork) return 0;
    request.command = kCmdNetworkControl;
    request.SetPayload(std::array{kReleaseSession});
    return 1;
}

void CDEVICEComm::InstallHooks(CCallback* error, CCallback* verify) {
    m_engine->SetHook(CLinkEngine::kSendError, error);
    m_engine->SetHook(CLinkEngine::kReceiveError, error);
    m_engine->SetHook(CLinkEngine::kAfterReceive, verify);
}

void CDEVICEComm::InstallUsualHooks() {
    InstallHooks(m_bNetwork ? static_cast<CCallback*>(&m_udpError) : &m_dcError, &m_verify);
}

void CDEVICEComm::WakeEngine() {
    if (m_engine) m_engine->Wake();
}

int CDEVICEComm::GetEngineCounter(CLinkEngine::Counter counter) const {
    return m_engine ? m_engine->GetCounter(counter) : 0;
}

void CDEVICEComm::AddToEngineCounter(CLinkEngine::Counter counter, int delta) {
    if (m_engine) m_engine->AddToCounter(counter, delta);
}

void CDEVICEComm::ResetEngineCounters() {
    if (m_engine) m_engine->ResetCounters();
}

BOOL CDEVICEComm::GetResponse(CDualMessage& pair) {
    std::lock_guard guard(m_responseLock);
    if (m_responses.empty()) return FALSE;
    m_responses.TakeFront(pair);
    return TRUE;
}

BOOL CDEVICEComm::HasWaitingReplies() const {
    std::lock_guard guard(m_responseLock);
    return m_responses.empty() ? FALSE : TRUE;
}

BOOL CDEVICEComm::IsControllerPresent() const {
    std::lock_guard guard(m_deviceLock);
    return m_nState == kLinkClosed || m_nState == kLinkPoll || m_nState == kLinkAwaitStatus ? FALSE
                                                                                            : TRUE;
}

BOOL CDEVICEComm::IsSessionRefused() const {
    std::lock_guard guard(m_deviceLock);
    return m_bSessionRefused;
}

void CDEVICEComm::RetrySession() {
    {
        std::lock_guard guard(m_deviceLock);
        if (!m_bSessionRefused || m_nState != kLinkClosed) return;
        m_bSessionRefused = FALSE;
        SetState(kLinkSetUp);
    }
    WakeEngine();
}

void CDEVICEComm::SetState(int state) {
    const bool wasInSession = m_nState >= kLinkUp;
    m_nState = state;
    if (wasInSession == (state >= kLinkUp)) return;
    GetApp().NoteSessionChange();
    if (wasInSession) OnSessionEnded();
}

BOOL CDEVICEComm::SessionStands(const CLinkSession& session) const {
    return m_nState >= kLinkUp && session == CLinkSession::Now();
}

void CDEVICEComm::EndSendRunning() {
    if (!std::exchange(m_bSendRunning, FALSE)) return;
    if (m_source) m_source->OnSendEnded();
}

int CDEVICEComm::GetLinkState() const {
    std::lock_guard guard(m_deviceLock);
    return m_nState;
}

BOOL CDEVICEComm::IsSendRunning() const {
    std::lock_guard guard(m_deviceLock);
    return m_bSendRunning;
}

BOOL CDEVICEComm::SendClearsChanges() const {
    std::lock_guard guard(m_deviceLock);
    return m_source && m_source->ClearsChangesWhenDone();
}

void CDEVICEComm::PausePolling() {
    {
        std::lock_guard guard(m_deviceLock);
        if (m_bPaused) return;
        m_bPaused = TRUE;
    }
    if (m_engine) m_engine->Hold();
}

void CDEVICEComm::ResumePolling() {
    {
        std::lock_guard guard(m_deviceLock);
        if (!m_bPaused) return;
        m_bPaused = FALSE;
    }
    if (m_engine) m_engine->Release();
}

void CDEVICEComm::QueueStandbyQuery() {
    std::lock_guard guard(m_deviceLock);
    m_bStandbyQuery = TRUE;
}

BOOL CDEVICEComm::TakeStandbyQuery() {
    std::lock_guard guard(m_deviceLock);
    return std::exchange(m_bStandbyQuery, FALSE);
}

void CDEVICEComm::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (m_engine) {
        m_engine->Outbox().PostMessage(message, wParam, lParam);
    } else if (m_notify) {
        m_notify->PostMessage(message, wParam, lParam);
    }
}

CDEVICEComm::ReplyCheck CDEVICEComm::TakeReply(CDualMessage& pair) {
    {
        // Counted as in hand until FinishReply, so that the engine does not take a reply
        // being handled for one that never came.
        std::lock_guard guard(m_responseLock);
        if (!GetResponse(pair)) return ReplyCheck::kNone;
        ++m_nRepliesInHand;
    }
    const CMessage& request = pair.request;
    const CMessage& reply = pair.reply;
    if (reply.command != kCmdStatus &&
        (reply.command != request.command || reply.sequence != request.sequence)) {
        AddToEngineCounter(CLinkEngine::kMisc, 1);
        return ReplyCheck::kDropped;
    }
    if (reply.nak) {
        // These three answer with the refusal itself; it is not counted as a failure.
        const DWORD c = reply.command;
        if (c != kCmdOpenDownload && c != kCmdAskControl && c != kCmdReleaseControl)
            return ReplyCheck::kDropped;
        AddToEngineCounter(CLinkEngine::kNaks, -1);
    }
    if (reply.ctrl) {
        Abort();
        Post(WM_LINK_SEND_FAILED, kSendLostControl);
        return ReplyCheck::kDropped;
    }
    return ReplyCheck::kDispatch;
}

std::size_t CDEVICEComm::RepliesWaiting() const {
    std::lock_guard guard(m_responseLock);
    return m_responses.size() + static_cast<std::size_t>(m_nRepliesInHand);
}

void CDEVICEComm::FinishReply(ReplyCheck check) {
    bool more = false;
    {
        std::lock_guard guard(m_responseLock);
        if (check != ReplyCheck::kNone && m_nRepliesInHand > 0) --m_nRepliesInHand;
        more = !m_responses.empty();
        if (!more) m_bReplyNoticeArmed = TRUE;
    }
    if (more) Post(WM_LINK_REPLIES);
}
