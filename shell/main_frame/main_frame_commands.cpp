// The main window's commands: the menu bar and keys, the routing of a command to the panes
// and the screen before the window, the messages it hears, its status panes and its timer.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>

#include "link/cv_data_mgr.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/print.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_messages.h"
#include "shell/app/command_updater.h"
#include "shell/app/kelvardin_app.h"
#include "shell/app/menu_table.h"
#include "shell/app/screen_table.h"
#include "shell/main_frame/main_frame_window.h"
#include "shell/main_frame/zub_status_bar.h"

namespace {

// When a command of the window is enabled, and whether it runs only then.
enum class CommandRule {
    kGuarded,  // as the command rule says, and carried out only then, even from a key
    kShown,    // as the command rule says, but carried out regardless: it has its own tests
    kAlways,   // always
};

// Status panes by position.
constexpr int kLogPane = 2;
constexpr int kModePane = 4;
constexpr int kLinkPane = 5;

}  // namespace

CMenuRules CMainFrame::GetMenuRules() const {
    CMenuRules rules;
    rules.memoryPeek = m_app.m_bAllowMemoryPeek != FALSE;
    rules.memoryPoke = m_app.m_bAllowMemoryPoke != FALSE;
    rules.commandLine = m_app.m_bAllowCommandLineProtocol != FALSE;
    rules.maintenance =
        m_app.m_bAllowMaintenanceMode && m_app.GetConfig().HasFlag(CCVConfig::kTksupvSupport);
    return rules;
}

void CMainFrame::SetUpMenus() {
    m_menuRules = GetMenuRules();
    // The window deletes the menu bar it had, with its actions; the keys without a menu item
    // are the window's own and go here, or they would be there twice.
    for (const auto& [id, action] : m_actions) {
        if (action->parent() == this) delete action;
    }
    auto* bar = new QMenuBar(this);
    m_actions.clear();
    for (const CMenuDesc& menu : VisibleMenus(m_menuRules)) {
        QMenu* popup = bar->addMenu(ToQString(menu.title));
        for (const CMenuItemDesc& item : menu.items) {
            if (item.id == 0) {
                popup->addSeparator();
                continue;
            }
            QAction* action = popup->addAction(ToQString(item.text));
            action->setData(item.id);
            action->setCheckable(item.checkable);
            // Shown in the status bar while the item is under the mouse.
            action->setStatusTip(ToQString(LoadResString(item.id)));
            if (*item.key) action->setShortcut(QKeySequence(QString::fromLatin1(item.key)));
            connect(action, &QAction::triggered, this, [this, id = item.id] { OnCommand(id); });
            m_actions[item.id] = action;
            m_updater->AddAction(action);
        }
        m_updater->WatchMenu(popup);
    }
    setMenuBar(bar);

    // The keys of commands without a menu item act in the whole window.
    for (const CAcceleratorDesc& key : ExtraAccelerators()) {
        if (m_actions.contains(key.id)) continue;
        auto* action = new QAction(this);
        action->setData(key.id);
        action->setShortcut(QKeySequence(QString::fromLatin1(key.key)));
        connect(action, &QAction::triggered, this, [this, id = key.id] { OnCommand(id); });
        addAction(action);
        m_actions[key.id] = action;
        m_updater->AddAction(action);
    }
}

QAction* CMainFrame::GetAction(UINT id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::UpdateCommandUI() {
    m_updater->UpdateNow();
}

BOOL CMainFrame::OnCmdMsg(UINT id, CCmdUI* update) {
    // The panes and the screen first, in the order they stand; then the window.
    for (CView* target : {m_navView.get(), m_pCurrentPane, m_pCurrentView}) {
        if (target && target->OnCmdMsg(id, update)) return TRUE;
    }
    return OnFrameCommand(id, update);
}

BOOL CMainFrame::OnFrameCommand(UINT id, CCmdUI* update) {
    const int screen = ScreenOfCommand(m_screens, id);
    if (screen >= 0) {
        if (update) {
            update->Enable(HasScreen(screen) && m_app.IsCommandEnabled(id));
        } else {
            OnScreenCommand(id);
        }
        return TRUE;
    }
    using enum CommandRule;
    struct Command {
        UINT id;
        CommandRule rule;
        void (*run)(CMainFrame&);
        void (*mark)(const CMainFrame&, CCmdUI&) = nullptr;  // its check or radio mark
    };
    static constexpr Command kCommands[] = {
        {ID_VIEW_BACK, kShown, [](CMainFrame& f) { f.OnBack(); }},
        {ID_VIEW_FORWARD, kShown, [](CMainFrame& f) { f.OnForward(); }},
        {ID_VIEW_NAVBAR, kAlways, [](CMainFrame& f) { f.OnToggleNavBar(); },
         [](const CMainFrame& f, CCmdUI& ui) { ui.SetCheck(f.m_bNavVisible ? 1 : 0); }},
        {ID_VIEW_TOOLBAR, kAlways,
         [](CMainFrame& f) { f.m_toolBar->setVisible(!f.m_toolBar->isVisible()); },
         [](const CMainFrame& f, CCmdUI& ui) { ui.SetCheck(f.m_toolBar->isVisible() ? 1 : 0); }},
        {ID_VIEW_STATUS_BAR, kAlways,
         [](CMainFrame& f) { f.m_statusBar->setVisible(!f.m_statusBar->isVisible()); },
         [](const CMainFrame& f, CCmdUI& ui) { ui.SetCheck(f.m_statusBar->isVisible() ? 1 : 0); }},
        {ID_CANCEL_CHANGES, kGuarded,
         [](CMainFrame& f) {
             if (f.m_pCurrentView &&
                 f.m_pCurrentView->SendMessage(WM_SCREEN_CLEAR_CHANGES, 0, 0) != 0)
                 f.ClearUndoRedo();
         }},
        {ID_CLEAR_ALLOCATIONS, kGuarded, [](CMainFrame& f) { f.ClearAllocations(-1); }},
        {ID_APP_ABOUT, kGuarded, [](CMainFrame& f) { f.m_app.OnAppAbout(); }},
        {ID_HELP, kGuarded, [](CMainFrame& f) { f.OnHelp(); }},
        {ID_FILE_PRINT_SETUP, kGuarded, [](CMainFrame& f) { RunPrintSetup(&f); }},
        {ID_APP_EXIT, kAlways, [](CMainFrame& f) { f.close(); }},
        {ID_FILE_NEW, kGuarded, [](CMainFrame& f) { f.m_files.New(); }},
        {ID_FILE_OPEN, kGuarded, [](CMainFrame& f) { f.m_files.Open(); }},
        {ID_FILE_SAVE, kGuarded, [](CMainFrame& f) { f.m_files.Save(FALSE, FALSE); }},
        {ID_FILE_SAVE_AS, kGuarded, [](CMainFrame& f) { f.m_files.Save(FALSE, TRUE); }},
        {ID_FILE_MERGE, kGuarded, [](CMainFrame& f) { f.m_files.MergeOrLoad(ID_FILE_MERGE); }},
        {ID_FILE_LOAD, kGuarded, [](CMainFrame& f) { f.m_files.MergeOrLoad(ID_FILE_LOAD); }},
        {ID_FILE_PARTIAL_SAVE, kGuarded, [](CMainFrame& f) { f.m_files.Save(TRUE, FALSE); }},
        {ID_FILE_SEND, kGuarded, [](CMainFrame& f) { f.m_files.SendFile(); }},
        {ID_SEND_CHANGES, kGuarded, [](CMainFrame& f) { f.OnSendChanges(); }},
        {ID_ABORT_CHANGES, kGuarded, [](CMainFrame& f) { f.OnAbortAllChanges(); }},
        {ID_CONNECT, kGuarded, [](CMainFrame& f) { f.OnConnect(); }},
        {ID_REFRESH, kGuarded, [](CMainFrame& f) { f.OnRefresh(); }},
        {ID_REFRESH_ALPHAS, kGuarded, [](CMainFrame& f) { f.OnRefreshAlphas(); }},
        {ID_EDIT_UNDO, kShown, [](CMainFrame& f) { f.m_undo.Undo(); }},
        {ID_EDIT_REDO, kShown, [](CMainFrame& f) { f.m_undo.Redo(); }},
        {ID_CONFIGURATION, kGuarded, [](CMainFrame& f) { f.OnConfiguration(); }},
        {ID_SNMP_CONFIG, kGuarded, [](CMainFrame& f) { f.OnSNMPConfig(); }},
        {ID_CV_VERSION, kGuarded, [](CMainFrame& f) { f.OnCVVersion(); }},
        {ID_COMM_STATUS, kShown, [](CMainFrame& f) { f.ShowCommStatus(); }},
        {ID_ERROR_INFO, kGuarded, [](CMainFrame& f) { f.OnErrorInfo(); }},
        {ID_RELEASE_NOTES, kShown, [](CMainFrame& f) { f.OnWhatsNew(); }},
        {ID_LOGGING_ENABLE, kGuarded, [](CMainFrame& f) { f.OnLoggingEnable(); },
         [](const CMainFrame& f, CCmdUI& ui) { ui.SetRadio(f.m_app.m_nLogging == 1); }},
        {ID_LOGGING_DISABLE, kGuarded, [](CMainFrame& f) { f.OnLoggingDisable(); },
         [](const CMainFrame& f, CCmdUI& ui) { ui.SetRadio(f.m_app.m_nLogging != 1); }},
        {ID_LOGGING_TOGGLE, kGuarded, [](CMainFrame& f) { f.OnLoggingToggle(); },
         [](const CMainFrame& f, CCmdUI& ui) { ui.SetCheck(f.m_app.m_nLogging == 1 ? 1 : 0); }},
        {ID_MAINT_MODE, kGuarded, [](CMainFrame& f) { f.OnMaintenanceMenu(ID_MAINT_MODE); }},
        {ID_NORMAL_MODE, kGuarded, [](CMainFrame& f) { f.OnMaintenanceMenu(ID_NORMAL_MODE); }},
    };
    const auto* command = std::ranges::find(kCommands, id, &Command::id);
    if (command == std::end(kCommands)) return FALSE;

    // The one availability test.
    const bool enabled = command->rule == kAlways || m_app.IsCommandEnabled(id);
    if (update) {
        update->Enable(enabled);
        if (command->mark) command->mark(*this, *update);
    } else if (enabled || command->rule == kShown) {
        command->run(*this);
    }
    return TRUE;
}

void CMainFrame::OnScreenCommand(UINT id) {
    if (!m_app.IsCommandEnabled(id)) return;
    const int screen = ScreenOfCommand(m_screens, id);
    if (!HasScreen(screen)) return;
    // The inspection opens on the trunk the current screen's focus cell stands for.
    if (id == ID_VIEW_TRUNK_INSPECT && m_pCurrentGrid) {
        const int trunk = m_pCurrentGrid->GetSelectedTrunk();
        if (trunk >= 0) GetViewContext(screen).m_params[0] = static_cast<DWORD>(trunk);
    }
    ShowScreen(screen);
}

void CMainFrame::OnBack() {
    if (!m_app.IsCommandEnabled(ID_VIEW_BACK)) return;
    const int screen = m_history.GoBack(m_nCurrent);
    if (screen >= 0) SwitchToView(screen);
}

void CMainFrame::OnForward() {
    if (!m_app.IsCommandEnabled(ID_VIEW_FORWARD)) return;
    const int screen = m_history.GoForward(m_nCurrent);
    if (screen >= 0) SwitchToView(screen);
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
        case WM_COMMAND: OnCommand(LOWORD(wParam)); break;
        case WM_TIMER:
            if (wParam == m_timer.m_nCurrentId) OnStatusTimer();
            break;
        default: result = m_link.OnLinkMessage(message, wParam, lParam); break;
    }
    // What the link or a command changed may change what is available.
    m_updater->RequestUpdate();
    return result;
}

void CMainFrame::OnStatusTimer() {
    const CStatusTicks::CDue due = m_statusTicks.Tick(m_app.GetMode() == CAppState::kModeOnline);
    CCVDataMgr& data = m_app.GetDataMgr();
    if (due.clock) data.CheckClock();
    if (due.status) data.RequestLogState();
}

void CMainFrame::UpdatePanes() {
    CZubStatusBar& bar = *m_statusBar;
    // A disabled pane shows no text.
    const auto show = [&bar](int pane, bool on, const CString& text) {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        bar.GetPaneInfo(pane, id, style, width);
        const UINT wanted = on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (wanted != style) bar.SetPaneInfo(pane, id, wanted, width);
        if (bar.GetPaneText(pane) != (on ? text : CString()))
            bar.SetPaneText(pane, on ? text : u"");
    };
    const int mode = m_app.GetMode();
    bar.SetPaneTextFit(kModePane,
                       mode == CAppState::kModeOnline ? u"ONLINE"
                       : mode == CAppState::kModeFile ? u"FILE"
                                                      : u"Connecting...",
                       false);
    show(kLogPane, m_app.m_nLogging == 1, u"LOG");
    show(kLinkPane, m_app.m_nControllerPresent != 0, u"CV");
}

// F1 asks the pane that has the focus for its help, else the screen.
void CMainFrame::OnHelp() {
    CView* target = m_pCurrentView;
    const QWidget* focus = QApplication::focusWidget();
    if (m_pCurrentPane && focus && m_pCurrentPane->GetWidget()->isAncestorOf(focus))
        target = m_pCurrentPane;
    if (target) target->SendMessage(WM_COMMANDHELP, 0, 0);
}
