#include "res/command_ids.h"
#include "tests/shell/shell_fixture.h"

namespace {

// The facts a row of the table sets; anything not named is off, empty or FILE.
enum Fact : unsigned {
    kOnline = 1 << 0,
    kConnecting = 1 << 1,
    kPresent = 1 << 2,
    kControllerLogs = 1 << 3,
    kAllowLog = 1 << 4,
    kLoggingOn = 1 << 5,
    kAllowMaint = 1 << 6,
    kTksupv = 1 << 7,
    kAllowClp = 1 << 8,
    kNewCorvane = 1 << 9,
    kAllowPeek = 1 << 10,
    kSnmp = 1 << 11,
    kNoTrunks = 1 << 12,
    kNoGroups = 1 << 13,
    kLastError = 1 << 14,
    kBackHistory = 1 << 15,
    kUndoHistory = 1 << 16,
    kNoMainWindow = 1 << 17,
    kScreenHasChanges = 1 << 18,
};
constexpr unsigned kLogger = kPresent | kControllerLogs | kAllowLog;

TEST_F(ShellTest, EveryCommandFollowsTheModeTheSettingsAndTheController) {
    struct Row {
        UINT id;
        unsigned facts;
        BOOL enabled;
    } rows[] = {
        {ID_FILE_NEW, 0, TRUE},
        {0x10000 | ID_FILE_NEW, 0, TRUE},  // only the low 16 bits count
        {ID_FILE_SAVE, kConnecting, TRUE},
        {ID_FILE_MERGE, 0, TRUE},
        {ID_FILE_MERGE, kConnecting, FALSE},
        {ID_FILE_MERGE, kOnline, FALSE},
        {ID_CONNECT, 0, FALSE},
        {ID_CONNECT, kPresent, FALSE},  // the flag alone: the link has found no controller
        {ID_SEND_CHANGES, kOnline, TRUE},
        {ID_SEND_CHANGES, kConnecting, FALSE},
        {ID_VIEW_TRUNK_SUMMARY, 0, FALSE},
        {ID_VIEW_TRUNK_SUMMARY, kOnline, TRUE},
        {ID_VIEW_TRUNK_DEFS, kNoTrunks, FALSE},
        {ID_VIEW_ICOM_GROUPS, kNoGroups, FALSE},
        {ID_MAINT_MODE, kOnline | kAllowMaint, FALSE},
        {ID_NORMAL_MODE, kOnline | kAllowMaint | kTksupv, TRUE},
        {ID_MAINT_MODE, kOnline | kTksupv, FALSE},
        {ID_VIEW_CLP, kOnline | kAllowClp, FALSE},
        {ID_VIEW_CLP, kOnline | kAllowClp | kNewCorvane, TRUE},
        {ID_VIEW_MEMORY_ALT, kOnline, TRUE},
        {ID_WRITE_MEMORY, kOnline, FALSE},  // nothing waits to be written
        {ID_ERROR_INFO, 0, FALSE},
        {ID_ERROR_INFO, kLastError, TRUE},
        {ID_CV_VERSION, kPresent, TRUE},
        {ID_LOGGING_TOGGLE, kPresent | kControllerLogs, FALSE},
        {ID_LOGGING_ENABLE, kLogger, TRUE},
        {ID_LOGGING_DISABLE, kLogger, FALSE},
        {ID_LOGGING_ENABLE, kLogger | kLoggingOn, FALSE},
        {ID_LOGGING_DISABLE, kLogger | kLoggingOn, TRUE},
        {ID_SNMP_CONFIG, kSnmp, TRUE},
        {ID_VIEW_BACK, 0, FALSE},
        {ID_VIEW_BACK, kBackHistory, TRUE},
        {ID_EDIT_UNDO, kUndoHistory | kNoMainWindow, FALSE},
        {ID_CANCEL_CHANGES, kOnline | kScreenHasChanges, TRUE},
        {ID_CANCEL_CHANGES, kOnline, FALSE},
        {ID_CANCEL_CHANGES, kScreenHasChanges, FALSE},
        {32783, 0, FALSE},  // a navigation pane command
        {ID_FILE_CLOSE, 0, FALSE},
    };
    for (const Row& row : rows) {
        const auto has = [&](Fact fact) { return (row.facts & fact) != 0; };
        CFakeMainFrame* frame = has(kNoMainWindow) ? nullptr : app.AttachFrame();
        if (!frame) app.SetMainFrame(nullptr);
        app.SetMode(has(kOnline)       ? CAppState::kModeOnline
                    : has(kConnecting) ? CAppState::kModeConnecting
                                       : CAppState::kModeFile);
        app.m_nControllerPresent = has(kPresent);
        app.m_nControllerLogging = has(kControllerLogs);
        app.m_nRequestLogging = has(kAllowLog);
        app.m_nLogging = has(kLoggingOn) ? 1 : -1;
        app.m_bAllowMaintenanceMode = has(kAllowMaint);
        app.m_bAllowCommandLineProtocol = has(kAllowClp);
        app.m_bAllowMemoryPeek = has(kAllowPeek);
        app.m_bAllowMemoryPoke = TRUE;
        CCVConfig& config = app.GetConfig();
        config.m_wFlags = (has(kTksupv) ? CCVConfig::kTksupvSupport : 0) |
                          (has(kNewCorvane) ? CCVConfig::kNewCorvane : 0);
        config.m_dwCapabilities = has(kSnmp) ? CCVConfig::kSNMPSupport : 0;
        config.m_wNumTrunks = has(kNoTrunks) ? 0 : 999;
        config.m_wNumGroups = has(kNoGroups) ? 0 : 20;
        app.m_nLastError = has(kLastError) ? 0 : -1;
        if (frame) {
            frame->stackEmpty[size_t(IMainFrame::Stack::kBack)] = !has(kBackHistory);
            frame->stackEmpty[size_t(IMainFrame::Stack::kUndo)] = !has(kUndoHistory);
            frame->viewAnswer = has(kScreenHasChanges);
        }
        EXPECT_EQ(app.IsCommandEnabled(row.id), row.enabled) << row.id << " " << row.facts;
        // The current screen is asked last, only when everything else allows the command.
        if (frame && row.id == ID_CANCEL_CHANGES) {
            EXPECT_EQ(frame->viewAsked, has(kOnline) ? 1 : 0) << row.facts;
        }
    }
}

}  // namespace
