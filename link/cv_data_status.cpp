#include <mutex>
#include <optional>
#include <utility>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "link/link_messages.h"
#include "link/link_window.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"

namespace {

constexpr BYTE kStatusFollowUps = 0x01;  // status flag: the controller asks for the follow-ups
constexpr BYTE kStatusLogElsewhere = 0x02;
constexpr BYTE kLoggingOn = 0x01;  // logging flags
constexpr BYTE kLoggingHere = 0x02;
// "Enable logging of trunk requests to a log file".
constexpr WPARAM kCmdEnableLogging = 32807;

BOOL LoggingSettingOn() {
    return GetApp().m_nRequestLogging != 0 ? TRUE : FALSE;
}

}  // namespace

// Engine thread: what the controller logged since the last status is collected, unless
// another session has the controller's request log.
void CCVDataMgr::CheckStatusLogging(const CCVStatusRec& status) {
    if (!status.m_bValid || !LoggingSettingOn()) return;
    if (!(status.m_flags & kStatusLogElsewhere)) {
        AskForLogRecords();
        return;
    }
    if (m_misc.IsPending(CMiscRequestMgr::kLogRecordMore)) {
        m_misc.Remove(CMiscRequestMgr::kLogRecordMore);
        m_misc.Add(CMiscRequestMgr::kLogRecord);
    }
    if (m_nControllerLogging != 1) Post(WM_COMMAND, kCmdEnableLogging, 0);
}

void CCVDataMgr::AskForLogRecords() {
    const CAppState& app = GetApp();
    if (!LoggingSettingOn() || app.m_nLogging != 1 || app.GetMode() != CAppState::kModeOnline)
        return;
    // Item 1 pending means the transfer was switched off; it goes out first.
    if (m_misc.IsPending(CMiscRequestMgr::kLogRecordMore) ||
        m_misc.IsPending(CMiscRequestMgr::kLogRecord))
        return;
    m_misc.Add(CMiscRequestMgr::kLogRecordMore);
    WakeEngine();
}

void CCVDataMgr::OnStatusReply(const CCVStatusRec& status, CKelvardinDoc* doc) {
    if (!status.m_bValid) {
        // A record of no bytes names no controller.
        AddToEngineCounter(CLinkEngine::kMisc, 1);
        return;
    }
    if (!m_bFirstStatusSeen.exchange(TRUE)) m_bFollowLogDirection = TRUE;
    const BOOL cameUp = OnControllerStatus();
    CAppState& app = GetApp();
    // Every controller that answers the status keeps a request log the user may ask for.
    app.m_nControllerPresent = 1;
    app.m_nControllerLogging = 1;
    const bool linked = app.GetMode() != CAppState::kModeFile;
    if (linked && m_heldReset) {
        HoldStatus(status, cameUp);
        return;
    }
    bool reset = false;
    if (linked) {
        if (const std::optional<CCVConfig> fresh = CheckConfiguration(status)) {
            // Nothing more is asked for the setup that is to go, and nothing built for it
            // goes out.
            EndWorkForOldController();
            if (m_bOnline) GoOffline();
            if (m_window && m_window->HoldSetupReset()) {
                HoldStatus(status, cameUp);
                return;
            }
            ResetForConfiguration(*fresh, doc);
            reset = true;
        }
    }
    FinishStatus(status, cameUp, reset, doc);
}

// The window still deals with the setup the reset takes; the latest status decides.
void CCVDataMgr::HoldStatus(const CCVStatusRec& status, BOOL cameUp) {
    const BOOL upBefore = m_heldReset ? m_heldReset->cameUp : FALSE;
    m_heldReset = CHeldReset{status, upBefore || cameUp};
    if (m_window) m_window->LinkRestored();
    WakeEngine();
}

void CCVDataMgr::ResetForController(CKelvardinDoc* doc) {
    const std::optional<CHeldReset> held = std::exchange(m_heldReset, std::nullopt);
    if (!held) return;
    // The user may have left the controller meanwhile, or it may have changed back.
    bool reset = false;
    if (GetApp().GetMode() != CAppState::kModeFile) {
        if (const std::optional<CCVConfig> fresh = CheckConfiguration(held->status)) {
            ResetForConfiguration(*fresh, doc);
            reset = true;
        }
    }
    FinishStatus(held->status, held->cameUp, reset, doc);
}

void CCVDataMgr::FinishStatus(const CCVStatusRec& status, BOOL cameUp, bool reset,
                              CKelvardinDoc* doc) {
    CAppState& app = GetApp();
    const bool linked = app.GetMode() != CAppState::kModeFile;
    if (linked && !m_bOnline) GoOnline();
    // Only now: the engine builds them with the link's copy of the configuration, and one
    // built with the copy from before this status (no log token yet) would be dropped.
    QueueFollowUps(status, cameUp);
    if (linked) {
        CheckAlphaChangeCount(status);
        if (app.GetMode() != CAppState::kModeOnline) {
            app.SetMode(CAppState::kModeOnline);
            if (doc) doc->UpdateAllFrameViews(nullptr, CUpdateHint::Reply(kCmdStatus));
            RefreshAlphas();
            if (m_window) {
                m_window->SetFrameTitle();
                m_window->EnteredOnlineMode();
            }
        } else if (reset) {
            // The screens poll the rest of the fresh setup again; names and alphas are asked
            // for only here.
            RefreshAlphas();
        }
        if (m_window) m_window->LinkRestored();
    }
    WakeEngine();
}

void CCVDataMgr::QueueFollowUps(const CCVStatusRec& status, BOOL cameUp) {
    // They go to the session that the status came in.
    const CLinkSession session = CLinkSession::Now();
    const BOOL askedFor = (status.m_flags & kStatusFollowUps) != 0;
    if (askedFor)
        m_bFollowClock = m_bFollowLogDirection = m_bFollowLogging = m_bFollowLogState = TRUE;
    if (askedFor || cameUp) {
        if (status.m_flags & CCVConfig::kNewCorvane) MarkMisc(CMiscRequestMgr::kComPortRange);
        MarkMisc(CMiscRequestMgr::kCode21Text);
    }
    if (std::exchange(m_bFollowClock, FALSE)) {
        if (status.m_flags & CCVConfig::kTksupvSupport) {
            if (GetApp().m_bSyncCorvaneClock) MarkMisc(CMiscRequestMgr::kReadClock);
        } else {
            MarkActing(session, CMiscRequestMgr::kSetClock);
        }
    }
    const BOOL logging = LoggingSettingOn();
    const BOOL token = (status.m_capabilities & CCVConfig::kLogToken) != 0;
    if (std::exchange(m_bFollowLogDirection, FALSE) && logging && token)
        MarkActing(session, CMiscRequestMgr::kTakeLogDirection);
    if (token) {
        const BYTE flags = status.m_loggingFlags;
        if (!logging && (flags & kLoggingHere))
            MarkActing(session, CMiscRequestMgr::kReleaseLogDirection);
        if (logging && !(flags & kLoggingHere) && (flags & kLoggingOn))
            MarkActing(session, CMiscRequestMgr::kTakeLogDirection);
        m_nLogDirectionTaken = (flags & kLoggingHere) ? 1 : 0;
    } else {
        m_nLogDirectionTaken = IsNetwork() ? 0 : 1;
    }
    if (std::exchange(m_bFollowLogging, FALSE) && logging) {
        const int state =
            m_nControllerLogging >= 0 ? m_nControllerLogging.load() : GetApp().m_nLogging.load();
        if (state == 1) MarkActing(session, CMiscRequestMgr::kLoggingOn);
        if (state == 0) MarkActing(session, CMiscRequestMgr::kLoggingOff);
    }
    if (std::exchange(m_bFollowLogState, FALSE)) MarkMisc(CMiscRequestMgr::kLoggingState);
}

std::optional<CCVConfig> CCVDataMgr::CheckConfiguration(const CCVStatusRec& status) {
    const CCVConfig& live = GetApp().GetConfig();
    CCVConfig fresh = live;
    fresh.SetFromControllerReply(status);
    const bool differs = fresh != live;
    if (!m_bConfigChecked) {
        m_bConfigChecked = TRUE;
        if (differs) {
            CCVConfig saved;
            saved.LoadFromRegistry();
            if (fresh != saved) fresh.SaveToRegistry();
        }
    } else if (differs) {
        fresh.SaveToRegistry();
    }
    if (!differs) return std::nullopt;
    return fresh;
}

void CCVDataMgr::EndWorkForOldController() {
    {
        std::lock_guard guard(DeviceLock());
        // The controller that took the old one's place is in a session of its own: nothing
        // asked of the old one reaches it.
        GetApp().NoteSessionChange();
        DropWhatActs();
        if (m_bUploading) {
            EndUpload(LINK_UPLOAD_CHANGED);
        } else if (m_nUploadOutcome == 0) {
            // Its data may still wait to be taken, into a setup that is about to be reset.
            m_nUploadOutcome = LINK_UPLOAD_CHANGED;
        }
    }
    FailRunningSend(kSendControllerChanged);
}

// A controller whose size or abilities changed gets a fresh default setup of its own.
void CCVDataMgr::ResetForConfiguration(const CCVConfig& fresh, CKelvardinDoc* doc) {
    if (m_bOnline) GoOffline();
    GetApp().GetConfig() = fresh;
    if (doc) doc->ResetToDefaultSetup();
}

void CCVDataMgr::CheckAlphaChangeCount(const CCVStatusRec& status) {
    const CCVConfig& config = GetApp().GetConfig();
    if (!config.HasCapability(CCVConfig::kAlphaCounters)) return;
    std::size_t index = 0;
    if (config.HasFlag(CCVConfig::kNewCorvane)) {
        switch (config.m_nAlphaSize) {
            case 6: index = 1; break;
            case 8: index = 2; break;
            case 16:
                if (!config.HasFlag(CCVConfig::kUnicodeSupport)) return;
                index = 3;
                break;
            default: break;
        }
    }
    const WORD count = status.m_alphaChangeCounts[index];
    if (count == GetAlphaChangeCount()) return;
    SetAlphaChangeCount(count);
    RequestAlphaCounters();
}
