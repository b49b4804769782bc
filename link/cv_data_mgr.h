#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "link/clp_history.h"
#include "link/device_comm.h"
#include "link/icom_request_mgrs.h"
#include "link/label_request_mgrs.h"
#include "link/link_config.h"
#include "link/lost_requests.h"
#include "link/message_pump.h"
#include "link/misc_request_mgr.h"
#include "link/reply_context.h"
#include "link/trunk_request_mgrs.h"
#include "link/undone_commands.h"
#include "model/memory_page.h"

class IListControl;
class ILinkWindow;

// The controller data manager: the device link that asks the controller for its data. The
// screens and reply handlers mark what they need in its request managers; on each turn of
// the link engine the scheduler picks one manager and lets it build one request. It also
// keeps the controller memory page of the memory screen and the command line history.
//
// Request functions run on the user-interface thread. Those that change more than one
// manager take the device lock first and the managers' locks inside it, as the scheduler
// does; none of them wakes the engine while holding the device lock.
//
// Every request that acts on the controller is queued for the session it was meant for, and
// only while that session stands; otherwise nothing is queued and the call answers FALSE. The
// user's commands not done, refused so, dropped with their session or cleared with the pending
// requests, are collected for the window (WM_LINK_NOT_DONE), which names them to the user.
class CCVDataMgr : public CDEVICEComm, public IMemoryPage, public IReplyContext {
public:
    // Writes one record of the controller's request log; the shell owns the log file.
    using ControllerLogWriter = std::function<BOOL(const CString& line)>;

    // The alpha change counters: one array per alpha kind 0 to 8, one counter per intercom.
    static constexpr int kCounterKinds = 9;
    static constexpr WORD kCounterUnknown = 0xFF00;

    CCVDataMgr();
    ~CCVDataMgr() override;

    // Where RequestMiscAndWait runs the user interface while it waits; not owned.
    void SetMessagePump(IMessagePump* pump) { m_pump = pump; }
    // The main window's title and connection-lost dialog; not owned, may be null.
    void SetLinkWindow(ILinkWindow* window) { m_window = window; }
    // Without a writer request log records are not written.
    void SetControllerLogWriter(ControllerLogWriter writer) { m_logWriter = std::move(writer); }

    // Online: sized from the configuration and asking for data.
    BOOL IsOnline() const { return m_bOnline; }
    BOOL IsUploading() const { return m_bUploading; }
    int GetUploadTotal() const { return m_nUploadTotal; }
    // How the last upload ended: 0 with every request gone out and a status after the last
    // showing the same controller, else the LINK_UPLOAD_ code of why not. An upload whose
    // controller changed after its end counts as ended by the change: what it read is no longer
    // that controller's.
    int GetUploadOutcome() const { return m_nUploadOutcome; }
    void GoOnline();
    void GoOffline();
    // The settings or the live configuration changed: what the requests are built from
    // follows, so that what is read and what is sent agree (the allocation time-out in
    // minutes or seconds). The shell calls it after applying the settings.
    void OnSettingsChanged();
    void StartUpload();
    void RefreshAlphas();
    // The next status reply compares the controller's configuration with the saved default
    // again, as the first one after the link opened did.
    void ForgetConfigurationCheck() {
        m_bConfigChecked = FALSE;
        m_heldReset.reset();
    }
    // The window has dealt with what the setup held (ILinkWindow::HoldSetupReset): the reset
    // for the controller's configuration, and the rest of its status, happen now.
    void ResetForController(CKelvardinDoc* doc);
    // Drops what is pending but the alphas; the user's commands among it are named.
    void ClearPendingRequests();
    // The items pending in the scheduled managers, -1 when offline.
    int GetPendingTotal() const;

    void RefreshTrunkDefs();
    void RefreshTrunkStatus(int trunk);
    void RequestTrunkInspect(int trunk);
    void RequestTrunkSummary(int item);
    BOOL SendMaintMode(const CLinkSession& session, int trunk);
    BOOL SendNormalMode(const CLinkSession& session, int trunk);
    void RefreshIcomSetup();
    BOOL IsIcomSetupPending() const;
    BOOL IsTrunkDefsPending() const { return m_trunkDefs.HasPending(); }
    BOOL IsTrunkStatusPending() const { return m_trunkStatus.HasPending(); }
    BOOL IsIcomStatusPending() const { return m_icomStatus.HasPending(); }
    BOOL IsIcomErrorsPending() const { return m_icomErrors.HasPending(); }
    BOOL IsRemTrunkingPending() const { return m_remTrunking.HasPending(); }
    void RefreshIcomStatus();
    void RefreshIcomErrors();
    void RefreshRemTrunking();
    void RefreshIcomGroups();
    // The intercom names of every length, without their alphas.
    void RefreshIcomNames();
    BOOL ClearIcomErrors(const CLinkSession& session);
    BOOL ClearAllocations(const CLinkSession& session, int icom);
    // An alpha type index 0-7 or negative for all; an intercom or negative for all.
    void RequestAlphas(int type, int icom);
    void RefreshOptions();
    void CheckClock();
    BOOL SetClock(const CLinkSession& session);
    BOOL SetLogging(const CLinkSession& session, int on);
    void RequestLogState();
    void RequestLogRecord(int more);
    BOOL RequestLogToken(const CLinkSession& session);
    BOOL ReleaseLogToken(const CLinkSession& session);
    void RequestComPortRange();
    void RequestCode21();
    void RequestCVErrors();
    BOOL ClearCVErrors(const CLinkSession& session);
    void RequestStandbyStatus();
    void RequestStandbyErrors();
    BOOL ClearStandbyErrors(const CLinkSession& session);
    void RequestAlphaCounters();
    BOOL RestartAlphaCounters(const CLinkSession& session);
    void RequestSessionSetup();
    // Marks the item and waits, with the user interface running, until its reply has come
    // (EndMiscWait), a reply that could not be taken came (FailMiscWait) or the seconds have
    // passed: TRUE when the reply came, or at once outside ONLINE mode. An item above 31
    // returns TRUE at once.
    BOOL RequestMiscAndWait(int item, int seconds);
    // The SNMP record as it stands now written to the controller of the session, waiting as
    // RequestMiscAndWait does. A write whose wait ran out is the caller's to tell of: it is not
    // named among the commands not done, whatever becomes of it.
    enum class WaitResult { kAnswered, kTimedOut, kNotSent };
    WaitResult WriteSnmpAndWait(const CLinkSession& session, int seconds);
    // The item's reply has come.
    void EndMiscWait(int item) override;
    void FailMiscWait(int item) override;

    // What the replies told of the controller: its logging state (-1 unknown, 0, 1), whether
    // the request log comes to this client, and the last command line response.
    int GetControllerLogging() const { return m_nControllerLogging; }
    int GetLogDirectionTaken() const { return m_nLogDirectionTaken; }
    const CString& GetClpResponse() const { return m_clpResponse; }

    // The reply handlers' services.
    void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL AppendControllerLog(const CString& line) override;
    CSNMPConfig& GetSNMPConfig() override;

    // The controller memory of the selected processor (0 the active, 1 the standby). Any
    // other value selects none, and the memory functions do nothing.
    void SetMemoryCpu(int cpu);
    int GetMemoryCpu() const;
    void RequestMemoryRead(DWORD address);
    // Writes the bytes pending on either processor: the selected one's window at the address,
    // the other's over the image they were typed on.
    BOOL RequestMemoryWrite(const CLinkSession& session, DWORD address);
    // Whether a memory write would be taken now: online, a processor selected, the link up.
    BOOL CanWriteMemory() const;
    DWORD GetMemoryReadAddress() const { return Memory().readAddress; }
    DWORD GetMemoryWriteAddress() const { return Memory().writeAddress; }
    // Whether bytes typed are pending on either processor, shown or not: what every question
    // about unwritten bytes asks, so that none goes unasked for being on the other one.
    BOOL HasUnwrittenMemory() const;
    // The pending bytes of both processors are dropped.
    void DropUnwrittenMemory();
    // Why a write comes back: it went unanswered (the link lost or closed under it: it may have
    // run), it was dropped before it went, or the controller refused it.
    enum class WriteBack : BYTE { kUnanswered, kUnsent, kRefused };
    struct CUnwrittenMemory {
        DWORD address = 0;
        WriteBack why = WriteBack::kUnanswered;
    };
    // The oldest write of the selected processor that came back, put back as that processor's
    // window with its bytes pending, together with every later one to the same window; none
    // while there is no such write, other bytes of that processor are pending, or a write of
    // it is still on its way. Each byte comes back as the user last set it: a later write's value
    // wins, and bytes a later write settled or will bring are left out, so that writing again
    // what is offered never puts an older value over a newer one. User-interface thread.
    std::optional<CUnwrittenMemory> TakeBackUnwrittenMemory();
    // Whether any memory write is still on its way or was given back and not taken back.
    BOOL HasMemoryWritesUntold() const;
    // The writes put back that nobody has taken back, on either processor, in the order they
    // were made, given up: the program is closing.
    std::vector<CUnwrittenMemory> ForgetUnwrittenMemory();
    // Waits, with the user interface running, until every memory write queued or sent has
    // been answered or given back, at most the timing's memory writes wait: the link is about
    // to close for good, and nothing given back is taken back any more. TRUE when none is
    // left out.
    BOOL WaitForMemoryWrites();
    // A memory read's bytes, for the processor that the request asked.
    void StoreMemoryImage(int cpu, DWORD address, std::span<const BYTE> bytes);
    DWORD GetMemoryImageAddress() const override { return Memory().imageAddress; }
    const CPageBytes& GetMemoryImage() const override { return Memory().image; }
    const CPageBytes& GetMemoryWriteValues() const override { return Memory().values; }
    const CBitArray& GetMemoryWriteBits() const override { return Memory().writeBits; }
    CBitArray& GetMemoryWriteBits() override { return Memory().writeBits; }
    BOOL SetMemoryByte(DWORD address, DWORD value) override;

    // The command line protocol. FALSE, and nothing sent or kept, for a command longer than
    // a request can carry or a session that no longer stands.
    BOOL SendClpCommand(const CLinkSession& session, const CString& command);
    void AppendClpHistory(const CString& line, COLORREF colour) { m_clp.Append(line, colour); }
    int GetClpHistoryCount() const { return m_clp.GetCount(); }
    CString GetClpHistoryLine(int n) const { return m_clp.GetLine(n); }
    COLORREF GetClpHistoryColour(int n) const { return m_clp.GetColour(n); }
    const std::string& GetLastClpCommand() const { return m_clp.GetLastCommand(); }
    void FillClpHistory(IListControl* list) const;
    void ClearClpHistory(IListControl* list);

    // The alpha change counters (kCounterUnknown until received) and the change count of the
    // status record last seen. TRUE when the counter changed.
    BOOL SetAlphaCounter(int kind, int icom, WORD value);
    WORD GetAlphaChangeCount() const { return m_wAlphaChangeCount; }
    void SetAlphaChangeCount(WORD count) { m_wAlphaChangeCount = count; }

    // The managers, for the reply handlers.
    CTrunkDefsMgr& TrunkDefsMgr() { return m_trunkDefs; }
    CTrunkStatusMgr& TrunkStatusMgr() { return m_trunkStatus; }
    CMaintModeMgr& MaintModeMgr() { return m_maintMode; }
    CNormalModeMgr& NormalModeMgr() { return m_normalMode; }
    CMiscRequestMgr& MiscMgr() { return m_misc; }
    CIcomNameMgr& NameMgr(int lengthIndex) { return m_names[static_cast<size_t>(lengthIndex)]; }
    CAlphaMgr& AlphaMgr(int type) { return m_alphas[static_cast<size_t>(type)]; }
    CClearIcomErrorsMgr& ClearIcomErrorsMgr() { return m_clearErrors; }
    // What the managers build from; device lock held.
    const CLinkConfig& GetLinkConfig() const { return m_config; }

    // The one-shot item that only reads, marked with the payload it carries when it has one (a
    // memory read), copied now. FALSE for an item that acts on the controller: those go
    // through their session's gate.
    BOOL MarkMisc(UINT item);

    // A command of the user's not done; either thread. The window is told once until it takes
    // them.
    void NoteUndone(const CUndoneCommand& command);
    void NoteUndone(std::vector<CUndoneCommand> commands);
    // The commands not done since the window last took them, oldest first.
    std::vector<CUndoneCommand> TakeUndone();

    // What this link awaited of its controller goes with it.
    void Disconnect() override;

    // Engine thread.
    int GetNextRequest(CMessage& request) override;
    void PutResponse(const CDualMessage& pair) override;
    void OnResponse(CKelvardinDoc* doc) override;

protected:
    BOOL GetManagerRequest(CMessage& request) override;
    void QueueStandbyQuery() override;
    BOOL TakeStandbyQuery() override;
    // One reply taken off the queue and checked, on the user-interface thread: the link's own
    // replies, the controller's status and, filtered by the mode, the data replies.
    virtual void DispatchReply(const CDualMessage& pair, CKelvardinDoc* doc);
    void OnLinkLost() override { m_bFirstStatusSeen = FALSE; }
    // Nothing asked of the controller left waits for the next session, which sizes every
    // manager afresh.
    void OnSessionRefused() override {
        if (m_bOnline) GoOffline();
    }
    void OnRequestDropped(const CMessage& request) override;
    void OnSessionEnded() override;

private:
    // The clock set that a clock reply asks for, in the session it came in.
    void SetClock() override;
    // The one gate of what acts on the controller: mark runs, under the device lock, only
    // while the session stands, so that the session cannot end between the check and the
    // mark; it answers whether it marked anything. Otherwise nothing is marked and the
    // command, when it is named, is noted as not done. The engine is woken after a mark.
    BOOL QueueActing(const CLinkSession& session, const std::optional<CUndoneCommand>& named,
                     const std::function<bool()>& mark);
    // The one-shot item through the gate, with the user's name for it when the user gave it.
    BOOL MarkActing(const CLinkSession& session, UINT item,
                    const std::optional<CUndoneCommand>& named = std::nullopt);
    // Marks the item, with its payload copied now when it carries one.
    void MarkItem(UINT item);
    // Device lock held: marks the item with the user's name for it, when given; true.
    bool MarkNamed(UINT item, const std::optional<CUndoneCommand>& named);
    // Marks the item (mark answers FALSE when it did not) and waits for its reply.
    WaitResult WaitForMisc(UINT item, int seconds, const std::function<BOOL()>& mark);
    // Device lock held: what the user asked of the controller and is still pending in the
    // managers, named.
    std::vector<CUndoneCommand> PendingCommands(const std::vector<CRequestMgr*>& among) const;
    // The user's command that the request carries out, if any: it is no longer pending.
    std::optional<CUndoneCommand> NamedCommand(const CRequestMgr& builder, const CMessage& request);
    // Device lock held: what was asked of the controller in the session that ended, or of the
    // controller that another has replaced, is dropped, and the user's commands are named.
    void DropWhatActs();
    // Device lock held: the one way the managers are emptied. What they hold pending is
    // dropped (of the one-shot items only those that act, unless all go), and the user's
    // commands among it are named as not done.
    enum class MiscDrop { kActing, kAll };
    void DropPending(const std::vector<CRequestMgr*>& managers, MiscDrop misc = MiscDrop::kAll);
    // The command, told of by the one who gave it, is named no more: not if queued or in
    // flight, nor among those noted already.
    void Unname(const CUndoneCommand& command);
    using MgrList = std::initializer_list<CRequestMgr*>;
    using ConstMgrList = std::initializer_list<const CRequestMgr*>;

    struct CMemoryWindow {
        DWORD readAddress = 0;
        DWORD imageAddress = 0;
        DWORD writeAddress = 0;
        CPageBytes image{};
        CPageBytes values{};
        CBitArray writeBits{kPageSize};
    };

    // A memory write on its way, with the window it was written from and its place in the
    // order the writes were made; once given back, why.
    struct CMemoryWriteOut {
        std::vector<BYTE> payload;
        CMemoryWindow window;
        unsigned made = 0;
        BOOL went = TRUE;
        WriteBack why = WriteBack::kUnanswered;
    };

    BOOL BuildFrom(const std::vector<CRequestMgr*>& list, size_t from, size_t to, CMessage& request,
                   size_t& winner);
    // Device lock held: the write's bytes are put back for the user rather than lost.
    void MemoryWriteUnanswered(const CMessage& request);
    void MemoryWriteAnswered(const CMessage& request);
    void MemoryWriteRefused(const CMessage& request);
    // Device lock held: the write goes back among those given back, in the order made.
    void GiveBack(CMemoryWriteOut write, WriteBack why);
    // The processor a write's payload names.
    static BYTE CpuOf(const CMemoryWriteOut& write);
    // The bytes the newer write set go out of the older one, wherever its window lies.
    static void ForgetCoveredBytes(CMemoryWindow& older, const CMemoryWindow& newer);
    // The newer write's bytes over the older one's, in one window at one address.
    static void Overlay(CMemoryWindow& older, const CMemoryWindow& newer);
    void MarkQueuedWritesUnsent();
    // Writes still queued never go: they are given back as not gone.
    void MemoryWritesDropped();
    // The link is closed: no write still out will be answered, and none queued will go.
    void MemoryWritesCutOff();
    // The controller's status, on the engine thread and on the user-interface thread.
    void CheckStatusLogging(const CCVStatusRec& status);
    // While request logging is on and the program ONLINE: asks for the controller's next log
    // record unless a record request is pending. Either thread.
    void AskForLogRecords();
    void OnStatusReply(const CCVStatusRec& status, CKelvardinDoc* doc);
    // Only the presence poll's answer is the controller's status.
    static bool IsPresencePoll(const CMessage& request);
    // Engine thread: a status that shows another size or abilities than the running send was
    // built for ends it as failed before any more of it goes out.
    void StopSendForChangedController(const CCVStatusRec& status);
    // Device lock held: the managers ask nothing more until the controller's status has come,
    // and the status is asked for next.
    void AwaitStatus();
    // Engine thread: the status awaited has come. Of another controller than the managers were
    // sized for, it ends a running upload as failed, and nothing more is asked until the window
    // has taken the new controller in; of the same, it confirms the upload that waited for it.
    void TakeAwaitedStatus(const CCVStatusRec& status);
    // Device lock held: nothing is awaited of the controller any longer.
    void ForgetAwaitedStatus();
    // The window has taken the status in: one that held the managers holds them no longer,
    // whatever the window made of it.
    void StatusTakenIn(const CCVStatusRec& status);
    // While the window holds the reset: the status is kept for it.
    void HoldStatus(const CCVStatusRec& status, BOOL cameUp);
    // What follows the configuration's check: ONLINE, the follow-ups and the alpha counts.
    void FinishStatus(const CCVStatusRec& status, BOOL cameUp, bool reset, CKelvardinDoc* doc);
    void QueueFollowUps(const CCVStatusRec& status, BOOL cameUp);
    // The controller's configuration when it differs from the live one, kept as the default.
    std::optional<CCVConfig> CheckConfiguration(const CCVStatusRec& status);
    void ResetForConfiguration(const CCVConfig& fresh, CKelvardinDoc* doc);
    // The controller is no longer the one that the upload and the send were built for.
    void EndWorkForOldController();
    void CheckAlphaChangeCount(const CCVStatusRec& status);
    // The replies without a data handler; FALSE for a code they do not know.
    BOOL HandleSmallReply(const CDualMessage& pair, CKelvardinDoc* doc);
    void OnAlphaCountersReply(const CDualMessage& pair);
    // A reply whose length does not fit its request: counted, and asked for again.
    void OnMalformedReply(const CMessage& request);
    // Device lock held: the request in flight got nothing usable. Its manager marks it again
    // while the bound allows, else gives it up and a running upload ends as failed.
    void AskAgainOrGiveUp(const CMessage& request);
    // Device lock held: ends a running upload with its last progress message, 0 when every
    // request went out, else the LINK_UPLOAD_ code of why it did not.
    void EndUpload(int outcome);
    void ResetAlphaCounters();
    // The selected processor's window; a blank one when none is selected.
    const CMemoryWindow& Memory() const;
    CMemoryWindow& Memory();
    std::vector<BYTE> MemoryPayload(UINT item) const;
    bool Mark(CRequestMgr& manager, int item);
    // The controller takes maintenance and normal mode commands now.
    bool TrunkModesTaken() const;

    CTrunkDefsMgr m_trunkDefs;
    CTrunkStatusMgr m_trunkStatus;
    CMaintModeMgr m_maintMode;
    CNormalModeMgr m_normalMode;
    CTrunkInspectMgr m_trunkInspect;
    CTrunkSummaryMgr m_trunkSummary;
    CMiscRequestMgr m_misc;
    std::array<CIcomAddrMgr, 2> m_addresses{CIcomAddrMgr(TRUE), CIcomAddrMgr(FALSE)};
    CIcomBaudMgr m_bauds;
    CIcomConnMgr m_conns;
    CIcomCostMgr m_costs;
    CIcomPortMgr m_ports;
    std::array<CIcomNameMgr, 4> m_names;
    CIcomRemTrunkingMgr m_remTrunking;
    CIcomStatusMgr m_icomStatus;
    CIcomErrorsMgr m_icomErrors;
    CClearIcomErrorsMgr m_clearErrors;
    CClearAllocationsMgr m_clearAllocations;
    std::array<CAlphaMgr, CAlphaMgr::kTypes> m_alphas;
    CIcomGroupMgr m_groups;
    std::vector<CRequestMgr*> m_oneShot;
    std::vector<CRequestMgr*> m_rotating;
    std::vector<CRequestMgr*> m_alphaList;

    // The replies that may wait for the window before no further request is built, and the
    // number below which building goes on.
    static constexpr std::size_t kRepliesAhead = 16;
    static constexpr std::size_t kResumeBelow = kRepliesAhead / 2;
    // Requests are held back until the window has caught up with the replies.
    std::atomic<bool> m_bHeldForReplies{false};

    // Device lock.
    CLinkConfig m_config;
    int m_nRotation = 0;
    int m_nToggle = 0;
    std::atomic<BOOL> m_bOnline{FALSE};
    std::atomic<BOOL> m_bUploading{FALSE};
    std::atomic<int> m_nUploadTotal{0};
    std::atomic<int> m_nUploadOutcome{0};
    int m_nMemoryCpu = 0;
    // The live configuration as the managers were last sized or set up for.
    CCVConfig m_sizedFor;
    // A status is awaited before the managers ask anything more: after a reply that did not
    // fit, and at the end of an upload, which it confirms.
    BOOL m_bStatusOwed = FALSE;
    BOOL m_bUploadConfirmed = FALSE;
    // The status that showed another controller, until the window has taken it in.
    std::optional<CCVStatusRec> m_changedStatus;
    // The manager that built the request in flight; none when another request is.
    CRequestMgr* m_inFlight = nullptr;
    // The user's command that the request in flight carries out, told of if it is given up.
    std::optional<CUndoneCommand> m_namedInFlight;
    CLostRequests m_lost;
    // The user's name for each one-shot item that acts on the controller, while it is pending.
    std::array<std::optional<CUndoneCommand>, CMiscRequestMgr::kItems> m_namedMisc;
    // Memory writes sent or queued and not yet answered, and those that never will be.
    std::vector<CMemoryWriteOut> m_memoryWritesOut;
    std::vector<CMemoryWriteOut> m_memoryWritesUnanswered;
    unsigned m_nMemoryWritesMade = 0;
    // The program is ending: the writes given back are kept for its last word.
    BOOL m_bWritesFinal = FALSE;

    // User-interface thread.
    std::array<CMemoryWindow, 2> m_memory;
    // With no processor selected: what the screen reads, and what it may change to no effect.
    const CMemoryWindow m_blankMemory;
    CMemoryWindow m_scratchMemory;
    WORD m_wAlphaChangeCount = kCounterUnknown;
    std::array<std::vector<WORD>, kCounterKinds> m_alphaCounters;
    CClpHistory m_clp;
    enum class MiscWait : BYTE { kAnswered, kWaiting, kFailed };
    std::array<MiscWait, CMiscRequestMgr::kItems> m_miscWait{};
    IMessagePump* m_pump = nullptr;
    ILinkWindow* m_window = nullptr;
    ControllerLogWriter m_logWriter;
    std::mutex m_undoneLock;
    std::vector<CUndoneCommand> m_undone;
    CString m_clpResponse;
    // The status reply's one-shot follow-ups and what it has seen.
    BOOL m_bFollowClock = FALSE;
    BOOL m_bFollowLogDirection = FALSE;
    BOOL m_bFollowLogging = FALSE;
    BOOL m_bFollowLogState = FALSE;
    BOOL m_bConfigChecked = FALSE;
    // A status whose reset waits for the window, and whether the link came up with it.
    struct CHeldReset {
        CCVStatusRec status;
        BOOL cameUp = FALSE;
    };
    std::optional<CHeldReset> m_heldReset;
    int m_nLogDirectionTaken = 0;
    // Cleared on the engine thread when the link is lost.
    std::atomic<BOOL> m_bFirstStatusSeen{FALSE};
    // Read on the engine thread.
    std::atomic<int> m_nControllerLogging{-1};
};
