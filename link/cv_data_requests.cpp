#include <algorithm>
#include <mutex>

#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "platform/base/codepage.h"

namespace {

const CCVConfig& Config() {
    return GetApp().GetConfig();
}

}  // namespace

// One item, or every item for a negative one; TRUE.
bool CCVDataMgr::Mark(CRequestMgr& manager, int item) {
    if (item < 0)
        manager.AddAll();
    else
        manager.Add(static_cast<UINT>(item));
    return true;
}

bool CCVDataMgr::TrunkModesTaken() const {
    return m_bOnline && Config().HasFlag(CCVConfig::kTksupvSupport);
}

void CCVDataMgr::RefreshTrunkDefs() {
    if (!m_bOnline) return;
    m_trunkDefs.AddAll();
    WakeEngine();
}

void CCVDataMgr::RefreshTrunkStatus(int trunk) {
    if (!m_bOnline) return;
    Mark(m_trunkStatus, trunk);
    WakeEngine();
}

void CCVDataMgr::RequestTrunkInspect(int trunk) {
    if (!m_bOnline || trunk < 0) return;
    m_trunkInspect.Add(static_cast<UINT>(trunk));
    WakeEngine();
}

void CCVDataMgr::RequestTrunkSummary(int item) {
    if (!m_bOnline || item < 0) return;
    m_trunkSummary.Add(static_cast<UINT>(item));
    WakeEngine();
}

BOOL CCVDataMgr::SendMaintMode(const CLinkSession& session, int trunk) {
    return QueueActing(session, CUndoneCommand{CUndoneCommand::kMaintMode, trunk},
                       [&] { return TrunkModesTaken() && Mark(m_maintMode, trunk); });
}

BOOL CCVDataMgr::SendNormalMode(const CLinkSession& session, int trunk) {
    return QueueActing(session, CUndoneCommand{CUndoneCommand::kNormalMode, std::max(trunk, -1)},
                       [&] { return TrunkModesTaken() && Mark(m_normalMode, trunk); });
}

void CCVDataMgr::RefreshIcomSetup() {
    if (!m_bOnline) return;
    for (CRequestMgr* m :
         MgrList{(&m_conns), &m_costs, &m_addresses[0], &m_addresses[1], &m_bauds, &m_ports})
        m->AddAll();
    for (CIcomNameMgr& m : m_names)
        m.AddAll();
    WakeEngine();
}

BOOL CCVDataMgr::IsIcomSetupPending() const {
    for (const CRequestMgr* m :
         ConstMgrList{(&m_conns), &m_costs, &m_addresses[0], &m_addresses[1], &m_bauds, &m_ports})
        if (m->HasPending()) return TRUE;
    for (const CIcomNameMgr& m : m_names)
        if (m.HasPending()) return TRUE;
    return FALSE;
}

void CCVDataMgr::RefreshIcomStatus() {
    if (!m_bOnline) return;
    m_icomStatus.AddAll();
    WakeEngine();
}

void CCVDataMgr::RefreshIcomErrors() {
    if (!m_bOnline) return;
    m_icomErrors.AddAll();
    WakeEngine();
}

void CCVDataMgr::RefreshRemTrunking() {
    if (!m_bOnline) return;
    m_remTrunking.AddAll();
    WakeEngine();
}

void CCVDataMgr::RefreshIcomGroups() {
    if (!m_bOnline) return;
    m_groups.AddAll();
    WakeEngine();
}

void CCVDataMgr::RefreshIcomNames() {
    if (!m_bOnline) return;
    for (CIcomNameMgr& m : m_names)
        m.AddAll();
    WakeEngine();
}

BOOL CCVDataMgr::ClearIcomErrors(const CLinkSession& session) {
    return QueueActing(session, CUndoneCommand{CUndoneCommand::kClearIcomErrors}, [&] {
        if (m_bOnline) m_clearErrors.AddAll();
        return m_bOnline.load() != FALSE;
    });
}

BOOL CCVDataMgr::ClearAllocations(const CLinkSession& session, int icom) {
    return QueueActing(session,
                       CUndoneCommand{CUndoneCommand::kClearAllocations, std::max(icom, -1)},
                       [&] { return m_bOnline && Mark(m_clearAllocations, icom); });
}

void CCVDataMgr::RequestAlphas(int type, int icom) {
    if (!m_bOnline || type >= CAlphaMgr::kTypes) return;
    for (int i = 0; i < CAlphaMgr::kTypes; ++i) {
        if (type >= 0 && i != type) continue;
        Mark(m_alphas[static_cast<size_t>(i)], icom);
    }
    WakeEngine();
}

void CCVDataMgr::RefreshOptions() {
    if (!m_bOnline) return;
    m_misc.Add(CMiscRequestMgr::kAllocTimeout);
    if (Config().HasFlag(CCVConfig::kTksupvSupport)) {
        m_misc.Add(CMiscRequestMgr::kAutoClear);
        m_misc.Add(CMiscRequestMgr::kDynamicAlloc);
        m_misc.Add(CMiscRequestMgr::kWaitForTalkKey);
    }
    WakeEngine();
}

void CCVDataMgr::CheckClock() {
    if (!GetApp().m_bSyncCorvaneClock || !Config().HasFlag(CCVConfig::kTksupvSupport)) return;
    MarkMisc(CMiscRequestMgr::kReadClock);
    WakeEngine();
}

BOOL CCVDataMgr::SetClock(const CLinkSession& session) {
    return MarkActing(session, CMiscRequestMgr::kSetClock,
                      CUndoneCommand{CUndoneCommand::kSetClock});
}

void CCVDataMgr::SetClock() {
    MarkActing(CLinkSession::Now(), CMiscRequestMgr::kSetClock);
}

BOOL CCVDataMgr::SetLogging(const CLinkSession& session, int on) {
    if (on != 0 && on != 1) return FALSE;
    return MarkActing(
        session, on ? CMiscRequestMgr::kLoggingOn : CMiscRequestMgr::kLoggingOff,
        CUndoneCommand{on ? CUndoneCommand::kLoggingOn : CUndoneCommand::kLoggingOff});
}

void CCVDataMgr::RequestLogState() {
    MarkMisc(CMiscRequestMgr::kLoggingState);
    WakeEngine();
}

void CCVDataMgr::RequestLogRecord(int more) {
    MarkMisc(more ? CMiscRequestMgr::kLogRecordMore : CMiscRequestMgr::kLogRecord);
    WakeEngine();
}

BOOL CCVDataMgr::RequestLogToken(const CLinkSession& session) {
    return MarkActing(session, CMiscRequestMgr::kTakeLogDirection);
}

BOOL CCVDataMgr::ReleaseLogToken(const CLinkSession& session) {
    return MarkActing(session, CMiscRequestMgr::kReleaseLogDirection);
}

void CCVDataMgr::RequestComPortRange() {
    MarkMisc(CMiscRequestMgr::kComPortRange);
    WakeEngine();
}

void CCVDataMgr::RequestCode21() {
    MarkMisc(CMiscRequestMgr::kCode21Text);
    WakeEngine();
}

void CCVDataMgr::RequestCVErrors() {
    if (!m_bOnline) return;
    MarkMisc(CMiscRequestMgr::kCVErrors);
    WakeEngine();
}

BOOL CCVDataMgr::ClearCVErrors(const CLinkSession& session) {
    const CUndoneCommand named{CUndoneCommand::kClearCVErrors};
    return QueueActing(session, named, [&] {
        return m_bOnline && MarkNamed(CMiscRequestMgr::kClearCVErrors, named);
    });
}

void CCVDataMgr::RequestStandbyStatus() {
    if (!m_bOnline) return;
    MarkMisc(CMiscRequestMgr::kStandbyStatus);
    WakeEngine();
}

void CCVDataMgr::RequestStandbyErrors() {
    if (!m_bOnline) return;
    MarkMisc(CMiscRequestMgr::kStandbyErrors);
    WakeEngine();
}

BOOL CCVDataMgr::ClearStandbyErrors(const CLinkSession& session) {
    const CUndoneCommand named{CUndoneCommand::kClearStandbyErrors};
    return QueueActing(session, named, [&] {
        return m_bOnline && MarkNamed(CMiscRequestMgr::kClearStandbyErrors, named);
    });
}

void CCVDataMgr::RequestAlphaCounters() {
    m_misc.SetAlphaCounterCursor(0);
    MarkMisc(CMiscRequestMgr::kAlphaCounters);
    WakeEngine();
}

// Not named when refused: the next session reads every counter afresh.
BOOL CCVDataMgr::RestartAlphaCounters(const CLinkSession& session) {
    return QueueActing(session, std::nullopt, [&] {
        if (!m_bOnline) return false;
        ResetAlphaCounters();
        m_misc.SetAlphaCounterCursor(0);
        m_misc.Add(CMiscRequestMgr::kAlphaCounters);
        return true;
    });
}

void CCVDataMgr::ResetAlphaCounters() {
    m_wAlphaChangeCount = kCounterUnknown;
    for (auto& counters : m_alphaCounters)
        counters.assign(static_cast<size_t>(Config().m_wNumIntercoms), kCounterUnknown);
}

BOOL CCVDataMgr::SetAlphaCounter(int kind, int icom, WORD value) {
    if (kind < 0 || kind >= kCounterKinds || icom < 0) return FALSE;
    auto& counters = m_alphaCounters[static_cast<size_t>(kind)];
    if (static_cast<size_t>(icom) >= counters.size()) return FALSE;
    WORD& counter = counters[static_cast<size_t>(icom)];
    if (counter == value) return FALSE;
    counter = value;
    return TRUE;
}

void CCVDataMgr::RequestSessionSetup() {
    MarkMisc(CMiscRequestMgr::kSessionSetup);
}

BOOL CCVDataMgr::MarkMisc(UINT item) {
    if (CMiscRequestMgr::Acts(item)) return FALSE;
    MarkItem(item);
    return TRUE;
}

BOOL CCVDataMgr::QueueActing(const CLinkSession& session,
                             const std::optional<CUndoneCommand>& named,
                             const std::function<bool()>& mark) {
    bool stands = false;
    bool marked = false;
    {
        std::lock_guard guard(DeviceLock());
        stands = SessionStands(session) != FALSE;
        if (stands) marked = mark();
    }
    if (!stands && named) NoteUndone(*named);
    if (!marked) return FALSE;
    WakeEngine();
    return TRUE;
}

BOOL CCVDataMgr::MarkActing(const CLinkSession& session, UINT item,
                            const std::optional<CUndoneCommand>& named) {
    return QueueActing(session, named, [&] { return MarkNamed(item, named); });
}

bool CCVDataMgr::MarkNamed(UINT item, const std::optional<CUndoneCommand>& named) {
    MarkItem(item);
    // A follow-up of the same item leaves the user's name on it.
    if (named) m_namedMisc.at(item) = named;
    return true;
}

void CCVDataMgr::MarkItem(UINT item) {
    if (!CMiscRequestMgr::CarriesPayload(item)) {
        m_misc.Add(item);
        return;
    }
    std::vector<BYTE> payload;
    switch (item) {
        case CMiscRequestMgr::kCommandLine: {
            const std::string& command = m_clp.GetLastCommand();
            payload.assign(command.begin(), command.end());
            break;
        }
        case CMiscRequestMgr::kWriteSnmp:
            payload.resize(CSNMPConfig::kRecordSize);
            // Sent as it stands now: later edits are changes again.
            GetApp().GetSnmpConfig().Encode(payload.data(), TRUE);
            break;
        default: payload = MemoryPayload(item); break;
    }
    std::lock_guard guard(DeviceLock());
    m_misc.AddWithPayload(item, payload);
}

BOOL CCVDataMgr::RequestMiscAndWait(int item, int seconds) {
    if (item < 0 || item >= static_cast<int>(CMiscRequestMgr::kItems)) return TRUE;
    return WaitForMisc(static_cast<UINT>(item), seconds,
                       [&] { return MarkMisc(static_cast<UINT>(item)); }) == WaitResult::kAnswered;
}

CCVDataMgr::WaitResult CCVDataMgr::WriteSnmpAndWait(const CLinkSession& session, int seconds) {
    const CUndoneCommand named{CUndoneCommand::kSnmpConfig};
    const WaitResult result = WaitForMisc(CMiscRequestMgr::kWriteSnmp, seconds, [&] {
        return MarkActing(session, CMiscRequestMgr::kWriteSnmp, named);
    });
    // The user, told by the dialog that it may not have been applied, is not told twice.
    if (result == WaitResult::kTimedOut) Unname(named);
    return result;
}

CCVDataMgr::WaitResult CCVDataMgr::WaitForMisc(UINT item, int seconds,
                                               const std::function<BOOL()>& mark) {
    MiscWait& wait = m_miscWait.at(item);
    wait = MiscWait::kAnswered;
    if (GetApp().GetMode() != CAppState::kModeOnline) return WaitResult::kAnswered;
    wait = MiscWait::kWaiting;
    if (!mark()) {
        wait = MiscWait::kAnswered;
        return WaitResult::kNotSent;
    }
    WakeEngine();
    if (m_pump) {
        const DWORD ms = seconds > 0 ? static_cast<DWORD>(seconds) * 1000 : 0;
        m_pump->PumpWaitingMessages([&] { return wait != MiscWait::kWaiting; }, ms);
    }
    return wait == MiscWait::kAnswered ? WaitResult::kAnswered : WaitResult::kTimedOut;
}

void CCVDataMgr::EndMiscWait(int item) {
    if (item >= 0 && item < static_cast<int>(CMiscRequestMgr::kItems))
        m_miscWait.at(static_cast<size_t>(item)) = MiscWait::kAnswered;
}

void CCVDataMgr::FailMiscWait(int item) {
    if (item < 0 || item >= static_cast<int>(CMiscRequestMgr::kItems)) return;
    MiscWait& wait = m_miscWait.at(static_cast<size_t>(item));
    if (wait == MiscWait::kWaiting) wait = MiscWait::kFailed;
}

BOOL CCVDataMgr::SendClpCommand(const CLinkSession& session, const CString& command) {
    std::string text = ToAnsi(command.str());
    if (text.size() > CMessage::kMaxPayload) return FALSE;
    const CUndoneCommand named{CUndoneCommand::kCommandLine, CUndoneCommand::kAll, command};
    return QueueActing(session, named, [&] {
        m_clp.Append(command, GetApp().m_clrCLPCommandText);
        m_clp.SetLastCommand(std::move(text));
        MarkItem(CMiscRequestMgr::kCommandLine);
        m_namedMisc.at(CMiscRequestMgr::kCommandLine) = named;
        return true;
    });
}

void CCVDataMgr::FillClpHistory(IListControl* list) const {
    m_clp.Fill(list, GetApp().m_clrCLPCommandText);
}

void CCVDataMgr::ClearClpHistory(IListControl* list) {
    m_clp.Clear(list, GetApp().m_clrCLPCommandText);
}
