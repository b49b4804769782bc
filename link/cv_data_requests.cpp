#include <mutex>

#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "platform/base/codepage.h"

namespace {

const CCVConfig& Config() {
    return GetApp().GetConfig();
}

}  // namespace

// One item, or every item for a negative one.
void CCVDataMgr::Mark(CRequestMgr& manager, int item) {
    if (item < 0)
        manager.AddAll();
    else
        manager.Add(static_cast<UINT>(item));
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

void CCVDataMgr::SendMaintMode(int trunk) {
    if (!m_bOnline || !Config().HasFlag(CCVConfig::kTksupvSupport)) return;
    Mark(m_maintMode, trunk);
    WakeEngine();
}

void CCVDataMgr::SendNormalMode(int trunk) {
    if (!m_bOnline || !Config().HasFlag(CCVConfig::kTksupvSupport)) return;
    Mark(m_normalMode, trunk);
    WakeEngine();
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

void CCVDataMgr::ClearIcomErrors() {
    if (!m_bOnline) return;
    m_clearErrors.AddAll();
    WakeEngine();
}

void CCVDataMgr::ClearAllocations(int icom) {
    if (!m_bOnline) return;
    Mark(m_clearAllocations, icom);
    WakeEngine();
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

void CCVDataMgr::SetClock() {
    MarkMisc(CMiscRequestMgr::kSetClock);
    WakeEngine();
}

void CCVDataMgr::SetLogging(int on) {
    if (on == 1) MarkMisc(CMiscRequestMgr::kLoggingOn);
    if (on == 0) MarkMisc(CMiscRequestMgr::kLoggingOff);
    WakeEngine();
}

void CCVDataMgr::RequestLogState() {
    MarkMisc(CMiscRequestMgr::kLoggingState);
    WakeEngine();
}

void CCVDataMgr::RequestLogRecord(int more) {
    MarkMisc(more ? CMiscRequestMgr::kLogRecordMore : CMiscRequestMgr::kLogRecord);
    WakeEngine();
}

void CCVDataMgr::RequestLogToken() {
    MarkMisc(CMiscRequestMgr::kTakeLogDirection);
    WakeEngine();
}

void CCVDataMgr::ReleaseLogToken() {
    MarkMisc(CMiscRequestMgr::kReleaseLogDirection);
    WakeEngine();
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

void CCVDataMgr::ClearCVErrors() {
    if (!m_bOnline) return;
    MarkMisc(CMiscRequestMgr::kClearCVErrors);
    WakeEngine();
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

void CCVDataMgr::ClearStandbyErrors() {
    if (!m_bOnline) return;
    MarkMisc(CMiscRequestMgr::kClearStandbyErrors);
    WakeEngine();
}

void CCVDataMgr::RequestAlphaCounters() {
    m_misc.SetAlphaCounterCursor(0);
    MarkMisc(CMiscRequestMgr::kAlphaCounters);
    WakeEngine();
}

void CCVDataMgr::RestartAlphaCounters() {
    if (!m_bOnline) return;
    {
        std::lock_guard guard(DeviceLock());
        ResetAlphaCounters();
        m_misc.SetAlphaCounterCursor(0);
        m_misc.Add(CMiscRequestMgr::kAlphaCounters);
    }
    WakeEngine();
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

void CCVDataMgr::MarkMisc(UINT item) {
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
    MiscWait& wait = m_miscWait.at(static_cast<size_t>(item));
    wait = MiscWait::kAnswered;
    if (GetApp().GetMode() == CAppState::kModeOnline) {
        wait = MiscWait::kWaiting;
        MarkMisc(static_cast<UINT>(item));
        WakeEngine();
        if (m_pump) {
            const DWORD ms = seconds > 0 ? static_cast<DWORD>(seconds) * 1000 : 0;
            m_pump->PumpWaitingMessages([&] { return wait != MiscWait::kWaiting; }, ms);
        }
    }
    return wait == MiscWait::kAnswered;
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

BOOL CCVDataMgr::SendClpCommand(const CString& command) {
    std::string text = ToAnsi(command.str());
    if (text.size() > CMessage::kMaxPayload) return FALSE;
    m_clp.Append(command, GetApp().m_clrCLPCommandText);
    m_clp.SetLastCommand(std::move(text));
    MarkMisc(CMiscRequestMgr::kCommandLine);
    WakeEngine();
    return TRUE;
}

void CCVDataMgr::FillClpHistory(IListControl* list) const {
    m_clp.Fill(list, GetApp().m_clrCLPCommandText);
}

void CCVDataMgr::ClearClpHistory(IListControl* list) {
    m_clp.Clear(list, GetApp().m_clrCLPCommandText);
}
