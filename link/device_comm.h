#pragma once

#include <memory>
#include <optional>
#include <random>

#include "link/link_dialogs.h"
#include "link/link_engine.h"
#include "link/link_session.h"
#include "link/message_queue.h"
#include "link/retry_hooks.h"
#include "link/send_all.h"
#include "model/cv_config.h"

class CComm;
class CCommUDP;
class CKelvardinDoc;
class CPellamUDPFrame;

// Link states.
enum LinkState : int {
    kLinkClosed = 0,          // closed, or idle without a controller
    kLinkSetUp = 1,           // network: ask for the standby address (61) or a session (59)
    kLinkAwaitSession = 2,    // network: waiting for the reply to 59
    kLinkPoll = 3,            // presence poll
    kLinkAwaitStatus = 4,     // waiting for the status reply
    kLinkUp = 5,              // up and idle: the data manager's requests and polls run
    kLinkAskControl = 7,      // ask for exclusive control (25)
    kLinkAwaitControl = 8,    // waiting for reply 25
    kLinkOpenDownload = 9,    // open the download (4)
    kLinkAwaitDownload = 10,  // waiting for reply 4
    kLinkFillQueue = 11,      // the window pulls the send source into the request queue
    kLinkSendQueue = 12,      // the queued set requests go out, one per cycle
    kLinkQueueSent = 13,      // waiting for the window to ask for the commit
    kLinkCommit = 14,         // commit (3)
    kLinkCommitAgain = 15,    // commit again (23)
    kLinkAwaitCommit = 16,    // waiting for reply 3 or 23
    kLinkRelease = 17,        // release exclusive control (26)
    kLinkAwaitRelease = 18,   // waiting for reply 26
};

// The link to one controller: the framer and engine of the open connection, the link state,
// the request queue of a send and the response queue of completed exchanges. It runs the
// link's own requests (network session set-up, presence poll, the exclusive-control send
// procedure) and tells the main window what happens through private messages; the window
// answers by calling it back. The data manager derives from it.
//
// Locks: the device lock guards the state, the flags and the send source; the request- and
// response-queue locks are taken inside it, never the other way round. The engine thread
// takes the engine lock and then the device lock, so nothing here wakes, holds or waits for
// the engine while it holds the device lock.
class CDEVICEComm : public ILinkDevice {
public:
    CDEVICEComm();
    // A derived class disconnects in its own destructor, while it can still answer the
    // engine's calls.
    virtual ~CDEVICEComm();
    CDEVICEComm(const CDEVICEComm&) = delete;
    CDEVICEComm& operator=(const CDEVICEComm&) = delete;

    // Set while no link is connected; ignored otherwise.
    void SetUdpTarget(BOOL network);
    BOOL IsNetwork() const { return m_bNetwork; }
    void SetTiming(const CLinkTiming& timing);
    const CLinkTiming& GetTiming() const { return m_timing; }
    void SetDialogs(ILinkDialogs* dialogs) { m_dialogs = dialogs; }

    // Takes the open transport, wraps it in the framer for the link's kind and starts the
    // engine; with start set the link goes looking for the controller. FALSE, with nothing
    // open, when the engine cannot start.
    virtual BOOL Connect(std::unique_ptr<CComm> comm, IMessageSink* notify, BOOL start);
    // Stops the engine and waits for it, lets a network link say goodbye, and closes the
    // transport. Harmless when no link is open.
    virtual void Disconnect();
    BOOL IsConnected() const { return m_bConnected; }
    // Connected over a transport that still reaches its device: a serial port that hung up is
    // not open until the link has opened it again.
    BOOL IsLinkOpen() const;

    // The send of changes, driven by the main window's answers to the link's messages.
    // In the up state of the session the send was chosen for only: the source is taken and
    // the procedure starts. Otherwise the source is destroyed and FALSE returned.
    BOOL StartSendAll(const CLinkSession& session, std::unique_ptr<CSendAll> source);
    // Takes up to count messages (-1: no limit) from the send source into the request queue.
    virtual int PullFromSource(int count);
    void BeginSendQueue();
    void EndSendQueue();
    // Gives the running send up; exclusive control is released when it was asked for.
    void Abort();
    // The running send, unless the send is being given up already, ends as failed for the
    // reason (WM_LINK_SEND_FAILED), and what it still had queued is never sent. One whose
    // commit was answered is told failed too until its release is answered; the release still
    // goes out. Either thread.
    void FailRunningSend(int reason);

    // Handles one waiting reply (WM_LINK_REPLIES); the data manager dispatches it.
    virtual void OnResponse(CKelvardinDoc* doc) = 0;
    // Takes the oldest completed exchange off the response queue.
    BOOL GetResponse(CDualMessage& pair);
    // Whether completed exchanges wait to be taken.
    BOOL HasWaitingReplies() const;

    BOOL IsControllerPresent() const;
    // The controller refused the network session: the link waits, closed, for RetrySession.
    BOOL IsSessionRefused() const;
    // Asks a controller that refused the session for one again.
    void RetrySession();
    int GetLinkState() const;
    BOOL IsSendRunning() const;
    // Whether the source of the latest send lets a send that ends without failure clear the
    // setup's change flags: a send of the setup's changes does, a maintenance-mode send not.
    BOOL SendClearsChanges() const;
    // While paused the engine only polls, on its time-out.
    void PausePolling();
    void ResumePolling();
    // The standby controller's IPv4 address, 0 when none.
    DWORD GetStandbyAddress() const { return m_dwStandbyAddr; }

    // The engine of the open link, from the user-interface thread; without a link each of
    // these does nothing (and a counter reads 0).
    void WakeEngine();
    int GetEngineCounter(CLinkEngine::Counter counter) const;
    void AddToEngineCounter(CLinkEngine::Counter counter, int delta);
    void ResetEngineCounters();

    // Marks the standby controller's address to be asked for at the next network set-up.
    virtual void QueueStandbyQuery();

    // Engine thread.
    int GetNextRequest(CMessage& request) override;
    void PutResponse(const CDualMessage& pair) override;

protected:
    // The request operations, called on the engine thread with the device lock held. The
    // kind-returning ones answer a RequestKind; the others TRUE when they gave a request.
    virtual int GetLastRequest(CMessage& request);
    virtual int GetStateRequest(CMessage& request);
    virtual BOOL GetQueuedRequest(CMessage& request);
    virtual BOOL GetExtraRequest(CMessage& /*request*/) { return FALSE; }
    virtual BOOL GetManagerRequest(CMessage& /*request*/) { return FALSE; }
    virtual int GetFinalRequest(CMessage& /*request*/) { return kRequestNone; }
    virtual int GetPollRequest(CMessage& request);
    // Device lock held: the next request is the presence poll, however recently the last one
    // went out.
    void PollNow() { m_lastPollTick.reset(); }
    // Takes the standby address request off when it is pending.
    virtual BOOL TakeStandbyQuery();
    // Engine thread, device lock held: the link to the controller was lost.
    virtual void OnLinkLost() {}
    // User-interface thread, without the device lock: the controller refused the session and
    // the mode has left for FILE.
    virtual void OnSessionRefused() {}
    // Engine thread, without the device lock: the request's exchange was given up after a
    // failure, or the link was lost with it in flight.
    virtual void OnRequestDropped(const CMessage& /*request*/) {}
    // Either thread, device lock held: the controller's session has ended, however it ended.
    virtual void OnSessionEnded() {}

    // For OnResponse, on the user-interface thread. TakeReply takes the oldest reply and
    // checks it as every reply is checked (a reply with the CTRL flag ends the send); only
    // kDispatch leaves a pair to dispatch. FinishReply follows every TakeReply, after the
    // dispatch: it posts WM_LINK_REPLIES again while replies wait, else re-arms the notice.
    enum class ReplyCheck { kNone, kDropped, kDispatch };
    ReplyCheck TakeReply(CDualMessage& pair);
    void FinishReply(ReplyCheck check);
    // The replies queued or being handled on the user-interface thread.
    std::size_t RepliesWaiting() const;
    // Replies that drive the link state (59, 25, 4, 3, 23, 26); FALSE for any other code.
    BOOL HandleLinkReply(const CDualMessage& pair);
    // A controller status came: TRUE when the link has just come up.
    BOOL OnControllerStatus();
    // The serial status reply (command 1 with 26 bytes), or the network's, which carries the
    // poll byte before the status.
    static BOOL IsStatusReply(const CDualMessage& pair);
    // Engine thread: the reply answers its request (the status reply answers the presence
    // poll), and not for a controller that had forgotten the session.
    BOOL Answers(const CDualMessage& pair) const;
    BOOL IsSessionLost(const CDualMessage& pair) const;
    // A refusal on the network that carries no session: the controller wants one set up.
    BOOL IsRefusedForSession(const CDualMessage& pair) const;

    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    CCriticalSection& DeviceLock() const { return m_deviceLock; }
    // Device lock held: the link is in the session given, which has not ended since it was
    // taken. What acts on the controller is queued only then.
    BOOL SessionStands(const CLinkSession& session) const;
    // Device lock held: the live configuration as the running send started, which its
    // requests are built for; null while no send runs.
    const CCVConfig* SendConfig() const { return m_bSendRunning ? m_sendConfig.get() : nullptr; }

private:
    friend class CDCError;
    friend class CUDPError;
    friend class CDCVerify;
    friend class CDCUpdate;
    friend class CDCIgnoreFlop;

    int ChooseRequest(CMessage& request);
    void OnStandbyAddress(const CMessage& reply);
    void SayGoodbye();
    void InstallHooks(CCallback* error, CCallback* verify);
    void InstallUsualHooks();
    // Switches to the standby controller: the addresses trade places and the next cycle asks
    // the new peer for a session. Device lock held.
    void FailOver();
    // Device lock held: the link is lost; what posts go out, and the state it falls back to.
    void LinkLost(int fallback, int result);
    // Device lock held: a running send whose commit the controller has answered ends as done,
    // owing the release; TRUE when it did.
    BOOL EndCommittedSend();
    // Device lock held: the running send ends, done or not; its source lets go of what it
    // did not send.
    void EndSendRunning();
    // Posts the failure of the running send and gives it up.
    void FailSend(int reason);
    void StopSendQueue();
    // Every change of the link state, device lock held. The up state and the send's states
    // are the controller's session: entering or leaving them begins or ends one.
    void SetState(int state);
    // Moves the link from one state to the next and wakes the engine to act on it; FALSE, and
    // nothing changed, when the link is in another state.
    BOOL Advance(int from, int to);

    void OnSessionReply(const CMessage& reply);
    void OnControlReply(const CMessage& reply);
    void OnDownloadReply();
    void OnCommitReply(const CMessage& reply);
    void OnReleaseReply();

    CLinkTiming m_timing;
    ILinkDialogs* m_dialogs = nullptr;
    IMessageSink* m_notify = nullptr;
    // The transport's own notify window, given back when the engine ends.
    IMessageSink* m_commNotify = nullptr;
    BOOL m_bNetwork = FALSE;
    std::atomic<DWORD> m_dwStandbyAddr{0};

    std::unique_ptr<CMsgFrame> m_framer;
    // The framer's network face and its transport, when the link has them.
    CPellamUDPFrame* m_udpFrame = nullptr;
    CCommUDP* m_udp = nullptr;
    std::unique_ptr<CSendAll> m_source;
    std::unique_ptr<const CCVConfig> m_sendConfig;

    mutable CCriticalSection m_responseLock;
    mutable CCriticalSection m_requestLock;
    mutable CCriticalSection m_deviceLock;
    CMessageQueue<CMessage> m_requests;
    CMessageQueue<CDualMessage> m_responses;
    // Response-queue lock: replies taken off the queue whose handling has not finished, and
    // whether the next queued reply posts WM_LINK_REPLIES.
    int m_nRepliesInHand = 0;
    BOOL m_bReplyNoticeArmed = TRUE;

    // Device lock.
    BOOL m_bConnected = FALSE;
    BOOL m_bSendRunning = FALSE;
    BOOL m_bPaused = FALSE;
    BOOL m_bSourceMore = FALSE;
    int m_nLastPull = 0;
    BOOL m_bStandbyQuery = FALSE;
    // After a memory request on the network the next poll goes out numbered.
    BOOL m_bNumberNextPoll = FALSE;
    // A send given up while the link was lost still holds exclusive control.
    BOOL m_bReleaseOwed = FALSE;
    // The controller has answered the running send's commit: its changes are in.
    BOOL m_bCommitted = FALSE;
    BOOL m_bSessionRefused = FALSE;
    std::optional<DWORD> m_lastPollTick;
    int m_nState = kLinkClosed;

    std::minstd_rand m_random;
    CDCError m_dcError{*this};
    CUDPError m_udpError{*this};
    CDCVerify m_verify{*this};
    CDCUpdate m_update{*this};
    CDCIgnoreFlop m_ignoreFlop{*this};
    // Created by Connect and destroyed by Disconnect, on the user-interface thread only.
    std::unique_ptr<CLinkEngine> m_engine;
};
