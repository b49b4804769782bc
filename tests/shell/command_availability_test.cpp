#include "res/command_ids.h"
#include "tests/shell/shell_fixture.h"

namespace {

// What the rule reads, set up for one row.
struct State {
    int mode = CAppState::kModeFile;
    bool frame = true;
    int present = 0;
    int controllerLogging = 0;
    int logging = -1;
    int allowLog = 0;
    bool maint = false;
    bool clp = false;
    bool peek = false;
    WORD flags = 0;
    DWORD capabilities = 0;
    WORD trunks = 999;
    WORD groups = 20;
    int visibleIntercoms = 255;
    int lastError = -1;
    bool backEmpty = true;
    bool undoEmpty = true;
    LRESULT viewAnswer = 0;
};

State Online() {
    State s;
    s.mode = CAppState::kModeOnline;
    return s;
}
State Connecting() {
    State s;
    s.mode = CAppState::kModeConnecting;
    return s;
}
template <class Change>
State With(State s, Change change) {
    change(s);
    return s;
}

TEST_F(ShellTest, EveryCommandFollowsTheModeTheSettingsAndTheController) {
    struct Row {
        const char* what;
        UINT id;
        State state;
        BOOL enabled;
    } rows[] = {
        {"New in FILE", ID_FILE_NEW, State{}, TRUE},
        {"New, high bits ignored", 0x10000 | ID_FILE_NEW, State{}, TRUE},
        {"Save while connecting", ID_FILE_SAVE, Connecting(), TRUE},
        {"Configuration while connecting", ID_CONFIGURATION, Connecting(), TRUE},
        {"Merge in FILE", ID_FILE_MERGE, State{}, TRUE},
        {"Merge while connecting", ID_FILE_MERGE, Connecting(), FALSE},
        {"Merge ONLINE", ID_FILE_MERGE, Online(), FALSE},
        {"Connect without a controller", ID_CONNECT, State{}, FALSE},
        {"Connect, flag set but no link", ID_CONNECT,
         With(State{}, [](State& s) { s.present = 1; }), FALSE},
        {"Send Changes ONLINE", ID_SEND_CHANGES, Online(), TRUE},
        {"Send Changes while connecting", ID_SEND_CHANGES, Connecting(), FALSE},
        {"Load in FILE", ID_FILE_LOAD, State{}, FALSE},
        {"Clear Allocations ONLINE", ID_CLEAR_ALLOCATIONS, Online(), TRUE},
        {"Trunk Summary in FILE", ID_VIEW_TRUNK_SUMMARY, State{}, FALSE},
        {"Trunk Summary ONLINE", ID_VIEW_TRUNK_SUMMARY, Online(), TRUE},
        {"Trunk Definitions of a 0-trunk controller", ID_VIEW_TRUNK_DEFS,
         With(State{}, [](State& s) { s.trunks = 0; }), FALSE},
        {"Intercom Groups without groups", ID_VIEW_ICOM_GROUPS,
         With(State{}, [](State& s) { s.groups = 0; }), FALSE},
        {"Intercom Setup", ID_VIEW_ICOM_SETUP, State{}, TRUE},
        {"Maintenance allowed, no trunk supervision", ID_MAINT_MODE,
         With(Online(), [](State& s) { s.maint = true; }), FALSE},
        {"Maintenance allowed and supervised", ID_NORMAL_MODE,
         With(Online(),
              [](State& s) {
                  s.maint = true;
                  s.flags = CCVConfig::kTksupvSupport;
              }),
         TRUE},
        {"Maintenance supervised, not allowed", ID_MAINT_MODE,
         With(Online(), [](State& s) { s.flags = CCVConfig::kTksupvSupport; }), FALSE},
        {"Command line on an old controller", ID_VIEW_CLP,
         With(Online(), [](State& s) { s.clp = true; }), FALSE},
        {"Command line on a new controller", ID_VIEW_CLP,
         With(Online(),
              [](State& s) {
                  s.clp = true;
                  s.flags = CCVConfig::kNewCorvane;
              }),
         TRUE},
        {"Peek allowed", ID_VIEW_MEMORY, With(Online(), [](State& s) { s.peek = true; }), TRUE},
        {"Memory's second command without peek", ID_VIEW_MEMORY_ALT, Online(), TRUE},
        {"Write Memory with nothing to write", ID_WRITE_MEMORY, Online(), FALSE},
        {"Error Info before any error", ID_ERROR_INFO, State{}, FALSE},
        {"Error Info after error 0", ID_ERROR_INFO,
         With(State{}, [](State& s) { s.lastError = 0; }), TRUE},
        {"CV Version in FILE with a controller", ID_CV_VERSION,
         With(State{}, [](State& s) { s.present = 1; }), TRUE},
        {"Toggle logging without AllowLog", ID_LOGGING_TOGGLE,
         With(State{}, [](State& s) { s.present = s.controllerLogging = 1; }), FALSE},
        {"Enable logging while off", ID_LOGGING_ENABLE,
         With(State{}, [](State& s) { s.present = s.controllerLogging = s.allowLog = 1; }), TRUE},
        {"Disable logging while off", ID_LOGGING_DISABLE,
         With(State{}, [](State& s) { s.present = s.controllerLogging = s.allowLog = 1; }), FALSE},
        {"Enable logging while on", ID_LOGGING_ENABLE,
         With(State{},
              [](State& s) { s.present = s.controllerLogging = s.allowLog = s.logging = 1; }),
         FALSE},
        {"Disable logging while on", ID_LOGGING_DISABLE,
         With(State{},
              [](State& s) { s.present = s.controllerLogging = s.allowLog = s.logging = 1; }),
         TRUE},
        {"SNMP without the capability", ID_SNMP_CONFIG, Online(), FALSE},
        {"SNMP with it, in FILE", ID_SNMP_CONFIG,
         With(State{}, [](State& s) { s.capabilities = CCVConfig::kSNMPSupport; }), TRUE},
        {"Back with an empty history", ID_VIEW_BACK, State{}, FALSE},
        {"Back with history", ID_VIEW_BACK, With(State{}, [](State& s) { s.backEmpty = false; }),
         TRUE},
        {"Undo without a main window", ID_EDIT_UNDO,
         With(State{},
              [](State& s) {
                  s.frame = false;
                  s.undoEmpty = false;
              }),
         FALSE},
        {"Cancel Changes, the screen has some", ID_CANCEL_CHANGES,
         With(Online(), [](State& s) { s.viewAnswer = 1; }), TRUE},
        {"Cancel Changes, the screen has none", ID_CANCEL_CHANGES, Online(), FALSE},
        {"Cancel Changes in FILE", ID_CANCEL_CHANGES,
         With(State{}, [](State& s) { s.viewAnswer = 1; }), FALSE},
        {"A navigation pane command", 32783, State{}, FALSE},
        {"Close", ID_FILE_CLOSE, State{}, FALSE},
    };
    for (const Row& row : rows) {
        const State& s = row.state;
        CFakeMainFrame* frame = s.frame ? app.AttachFrame() : nullptr;
        if (!frame) app.SetMainFrame(nullptr);
        app.SetMode(s.mode);
        app.m_nControllerPresent = s.present;
        app.m_nControllerLogging = s.controllerLogging;
        app.m_nLogging = s.logging;
        app.m_nRequestLogging = s.allowLog;
        app.m_bAllowMaintenanceMode = s.maint;
        app.m_bAllowCommandLineProtocol = s.clp;
        app.m_bAllowMemoryPeek = s.peek;
        app.m_bAllowMemoryPoke = TRUE;
        app.GetConfig().m_wFlags = s.flags;
        app.GetConfig().m_dwCapabilities = s.capabilities;
        app.GetConfig().m_wNumTrunks = s.trunks;
        app.GetConfig().m_wNumGroups = s.groups;
        app.m_nVisibleIntercoms = s.visibleIntercoms;
        app.m_nLastError = s.lastError;
        if (frame) {
            frame->stackEmpty[size_t(IMainFrame::Stack::kBack)] = s.backEmpty;
            frame->stackEmpty[size_t(IMainFrame::Stack::kUndo)] = s.undoEmpty;
            frame->viewAnswer = s.viewAnswer;
        }
        EXPECT_EQ(app.IsCommandEnabled(row.id), row.enabled) << row.what;
        // The current screen is asked only when everything else allows the command.
        if (frame && row.id == ID_CANCEL_CHANGES) {
            EXPECT_EQ(frame->viewAsked, s.mode == CAppState::kModeOnline ? 1 : 0) << row.what;
        }
    }
}

}  // namespace
