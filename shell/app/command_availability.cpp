#include "res/command_ids.h"
#include "shell/app/kelvardin_app.h"
#include "shell/main_frame/main_frame.h"

// Asked for every visible menu item and button on every update, so it allocates nothing and
// tests its conditions cheapest first: the mode, the settings, the controller, and the link or
// the screen last.
BOOL CKelvardinApp::IsCommandEnabled(UINT id) {
    const bool online = GetMode() == kModeOnline;
    const CCVConfig& config = GetConfig();
    const bool present = m_nControllerPresent != 0;
    const bool logging = present && m_nRequestLogging != 0 && m_nControllerLogging != 0;
    switch (id & 0xFFFF) {
        case ID_FILE_NEW:
        case ID_FILE_OPEN:
        case ID_FILE_SAVE:
        case ID_FILE_SAVE_AS:
        case ID_FILE_PRINT_SETUP:
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
        case ID_APP_ABOUT:
        case ID_HELP:
        case ID_FILE_PARTIAL_SAVE:
        case ID_REFRESH:
        case ID_CONFIGURATION:
        case ID_VIEW_LOG_FILE:
        case ID_RELEASE_NOTES:
        case ID_COMM_STATUS: return TRUE;

        case ID_FILE_MERGE: return GetMode() == kModeFile;
        case ID_CONNECT:
            // A controller that refused the session is asked again by Connect.
            return GetMode() == kModeFile &&
                   ((present && m_dataMgr.IsControllerPresent()) || m_dataMgr.IsSessionRefused());

        case ID_FILE_LOAD:
        case ID_FILE_SEND:
        case ID_SEND_CHANGES:
        case ID_ABORT_CHANGES:
        case ID_VIEW_CV_STATUS:
        case ID_VIEW_MEMORY_ALT:
        case ID_CLEAR_CV_ERRORS:
        case ID_CLEAR_STANDBY_ERRORS:
        case ID_CLEAR_ICOM_ERRORS:
        case ID_CLEAR_ALLOCATIONS: return online;

        case ID_VIEW_FORWARD: return StackHasEntries(IMainFrame::Stack::kForward);
        case ID_VIEW_BACK: return StackHasEntries(IMainFrame::Stack::kBack);
        case ID_EDIT_UNDO: return StackHasEntries(IMainFrame::Stack::kUndo);
        case ID_EDIT_REDO: return StackHasEntries(IMainFrame::Stack::kRedo);
        case ID_CANCEL_CHANGES:
            return online && m_mainFrame && m_mainFrame->AskActiveViewForChanges() != 0;

        case ID_ERROR_INFO: return m_nLastError >= 0;

        case ID_VIEW_TRUNK_DEFS:
        case ID_VIEW_TRUNK_OPTIONS: return GetVisibleTrunkCount() > 0;
        case ID_VIEW_TRUNK_SUMMARY:
        case ID_VIEW_TRUNK_INSPECT: return online && GetVisibleTrunkCount() > 0;
        case ID_MAINT_MODE:
        case ID_NORMAL_MODE:
            return online && m_bAllowMaintenanceMode && config.HasFlag(CCVConfig::kTksupvSupport);
        case ID_VIEW_ICOM_SETUP:
        case ID_VIEW_ICOM_ALPHAS: return GetVisibleIcomCount() > 0;
        case ID_VIEW_ICOM_STATUS:
        case ID_REFRESH_ALPHAS: return online && GetVisibleIcomCount() > 0;
        case ID_VIEW_ICOM_GROUPS: return config.m_wNumGroups > 0 && GetVisibleIcomCount() > 0;
        case ID_VIEW_CLP:
            return online && m_bAllowCommandLineProtocol && config.HasFlag(CCVConfig::kNewCorvane);
        case ID_VIEW_MEMORY: return online && m_bAllowMemoryPeek;
        case ID_WRITE_MEMORY: return online && m_bAllowMemoryPoke && m_dataMgr.HasUnwrittenMemory();

        case ID_CV_VERSION: return present;
        case ID_LOGGING_TOGGLE: return logging;
        case ID_LOGGING_ENABLE: return logging && m_nLogging != 1;
        case ID_LOGGING_DISABLE: return logging && m_nLogging == 1;
        case ID_SNMP_CONFIG: return config.HasCapability(CCVConfig::kSNMPSupport);

        default: return FALSE;
    }
}

bool CKelvardinApp::StackHasEntries(IMainFrame::Stack stack) const {
    return m_mainFrame && !m_mainFrame->IsStackEmpty(stack);
}
