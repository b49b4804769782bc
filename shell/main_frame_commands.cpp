// The main window's commands: the menu bar and keys, the routing of a command to the panes
// and the screen before the window, the messages it hears, its status panes and its timer.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "link/cv_data_mgr.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/print.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screens/kelvardin_grid_view.h"
#include "screens/screen_messages.h"
#include "shell/command_updater.h"
#include "shell/kelvardin_app.h"
#include "shell/main_frame_window.h"
#include "shell/menu_table.h"
#include "shell/screen_table.h"
#include "shell/zub_status_bar.h"

namespace {

// The status timer's clock check comes every 60th tick.
constexpr int kClockTicks = 60;
constexpr int kStatusTicks = 1;
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
    const auto toggle = [update](bool on, const auto& flip) {
        if (update) {
            update->Enable(TRUE);
            update->SetCheck(on ? 1 : 0);
        } else {
            flip();
        }
        return TRUE;
    };
    switch (id) {
        case ID_VIEW_BACK:
        case ID_VIEW_FORWARD:
            if (update) {
                update->Enable(m_app.IsCommandEnabled(id));
            } else if (id == ID_VIEW_BACK) {
                OnBack();
            } else {
                OnForward();
            }
            return TRUE;
        case ID_VIEW_NAVBAR: return toggle(m_bNavVisible, [this] { OnToggleNavBar(); });
        case ID_VIEW_TOOLBAR:
            return toggle(m_toolBar->isVisible(),
                          [this] { m_toolBar->setVisible(!m_toolBar->isVisible()); });
        case ID_VIEW_STATUS_BAR:
            return toggle(m_statusBar->isVisible(),
                          [this] { m_statusBar->setVisible(!m_statusBar->isVisible()); });
        case ID_CANCEL_CHANGES:
            if (update) {
                update->Enable(m_app.IsCommandEnabled(id));
            } else if (m_app.IsCommandEnabled(id) && m_pCurrentView &&
                       m_pCurrentView->SendMessage(WM_SCREEN_CLEAR_CHANGES, 0, 0) != 0) {
                ClearUndoRedo();
            }
            return TRUE;
        case ID_CLEAR_ALLOCATIONS:
            if (update) {
                update->Enable(m_app.IsCommandEnabled(id));
            } else if (m_app.IsCommandEnabled(id)) {
                ClearAllocations(-1);
            }
            return TRUE;
        case ID_APP_ABOUT:
            if (update) {
                update->Enable(m_app.IsCommandEnabled(id));
            } else if (m_app.IsCommandEnabled(id)) {
                m_app.OnAppAbout();
            }
            return TRUE;
        case ID_HELP:
            if (update) {
                update->Enable(m_app.IsCommandEnabled(id));
            } else if (m_app.IsCommandEnabled(id)) {
                OnHelp();
            }
            return TRUE;
        case ID_FILE_PRINT_SETUP:
            if (update) {
                update->Enable(m_app.IsCommandEnabled(id));
            } else if (m_app.IsCommandEnabled(id)) {
                RunPrintSetup(this);
            }
            return TRUE;
        case ID_APP_EXIT:
            if (update) {
                update->Enable(TRUE);
            } else {
                close();
            }
            return TRUE;
        default: return OnMainCommand(id, update);
    }
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
        default: result = OnLinkMessage(message, wParam, lParam); break;
    }
    // What the link or a command changed may change what is available.
    m_updater->RequestUpdate();
    return result;
}

void CMainFrame::OnStatusTimer() {
    if (m_app.GetMode() != CAppState::kModeOnline) return;
    CCVDataMgr& data = m_app.GetDataMgr();
    if (++m_nClockTicks >= kClockTicks) {
        m_nClockTicks = 0;
        data.CheckClock();
    }
    if (++m_nStatusTicks >= kStatusTicks) {
        m_nStatusTicks = 0;
        data.RequestLogState();
    }
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
