#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <map>
#include <memory>

#include "model/bounded_stack.h"
#include "model/doc_views.h"
#include "model/undo_object.h"
#include "platform/ui/cmd_target.h"
#include "platform/ui/menu_loop_filter.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/view.h"
#include "platform/ui/wnd.h"
#include "platform/ui/wnd_timer.h"
#include "screens/base/pane_frame.h"
#include "screens/base/screen_host.h"
#include "screens/base/undo_stacks.h"
#include "screens/trunks/trunk_defs_host.h"
#include "shell/app/app_screen_services.h"
#include "shell/app/menu_table.h"
#include "shell/app/screen_table.h"
#include "shell/main_frame/file_drop_filter.h"
#include "shell/main_frame/file_mode_host.h"
#include "shell/main_frame/link_events.h"
#include "shell/main_frame/main_frame.h"
#include "shell/main_frame/setup_file_commands.h"
#include "shell/main_frame/status_ticks.h"
#include "shell/main_frame/undo_history.h"
#include "shell/nav/nav_history.h"

class CAlphaChooser;
class CLinkSession;
class CCommandUpdater;
class CDlgCommStatus;
class CKelvardinApp;
class CKelvardinDialog;
class CKelvardinDoc;
class CKelvardinGridView;
class CKelvardinSplitterWnd;
class CZubStatusBar;
class QAction;
class QStackedWidget;
class QToolBar;

// The one main window: the navigation pane on the left and, on the right, the selector pane
// above the current screen. It shows one of twelve screens at a time (each made on first use
// and kept), keeps the navigation history, owns the document, the menu, toolbar and status bar,
// and routes the commands. The undo history, the setup-file commands and the link's events are
// jobs of their own that it owns and calls.
class CMainFrame : public QMainWindow,
                   public IMainFrame,
                   public IDocViews,
                   public IScreenHost,
                   public IPaneFrame,
                   public IUndoStacks,
                   public IFileModeHost,
                   public ITrunkDefsHost {
public:
    static constexpr int kScreens = CNavHistory::kScreens;
    static constexpr UINT kStatusMs = 5000;
    static constexpr int kDefaultNavWidth = 160;

    // The screens are the program's unless a table is given.
    explicit CMainFrame(CKelvardinApp& app, const CScreenTable& screens = ScreenTable());
    ~CMainFrame() override;

    // Screens and history.
    // Shows the screen; the history is left alone. The current screen again is refreshed.
    void SwitchToView(int screen);
    // The screen, with the current context saved on Back first.
    void ShowScreen(int screen);
    void GoToContext(const CContext& context, CStack<CContext>& other);
    int GetCurrentScreen() const { return m_nCurrent; }
    CKelvardinGridView* GetCurrentGridScreen() const { return m_pCurrentGrid; }
    CView* GetCurrentPane() const override { return m_pCurrentPane; }
    // The view or pane made for a screen so far; null before its first showing.
    CView* GetScreenView(int screen) const;
    CNavHistory& GetHistory() { return m_history; }
    // The screens' poll intervals; a screen reads them when it starts its polls.
    void SetScreenTiming(const CScreenTiming& timing) { m_screenTiming = timing; }

    // The navigation pane: its stored width (never below 160 once stored) and whether it
    // shows.
    int GetNavWidth() const;
    bool IsNavBarVisible() const { return m_bNavVisible; }
    void ApplyNavBarState();
    void OnToggleNavBar();
    // Places the view in the navigation pane's slot (the pane's own view).
    void SetNavView(std::unique_ptr<CView> view);
    CView* GetNavView() const { return m_navView.get(); }

    // The menu bar from the table, as the restrictions and the controller leave it.
    void SetUpMenus();
    // What the menu bar depends on now: the restrictions and the controller's abilities.
    CMenuRules GetMenuRules() const;
    // "Kelvardin - [name]".
    void SetFrameTitle(const CString& name) { m_files.SetFrameTitle(name); }
    // A command as the menu, a key or a posted WM_COMMAND gives it: the panes and the screen
    // first, then the window. With an update object, the command's state is asked.
    BOOL OnCmdMsg(UINT id, CCmdUI* update);
    void OnCommand(UINT id) { OnCmdMsg(id, nullptr); }
    // The window's messages: the link's, posted commands and the status timer.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Brings menus, toolbar and status panes up to date now.
    void UpdateCommandUI();
    CZubStatusBar& GetStatusBar() { return *m_statusBar; }
    QAction* GetAction(UINT id) const;

    // IUndoHost
    CKelvardinDoc* GetActiveDocument() override { return m_doc.get(); }
    void AddUndo(std::unique_ptr<CUndoObject> record) override { m_undo.Add(std::move(record)); }
    void AddUndoList(std::unique_ptr<CUndoObList> list) override {
        m_undo.AddList(std::move(list));
    }
    void BeginUndoGroup(bool open) override { m_undo.BeginGroup(open); }
    void TakeBackUndoGroup() override { m_undo.TakeBackGroup(); }
    std::optional<CContext> GetCurrentContext() const override {
        return m_undo.GetCurrentContext();
    }
    void GoToContext(const CContext& context) override { m_undo.GoToContext(context); }
    void EmptyForward() override { m_history.Forward().RemoveAll(); }
    bool FindGridCell(const CObjSpec& objSpec, const CObjSpec& fieldSpec, int& row,
                      int& col) override;
    void SelectGridCell(int row, int col, bool select) override;
    void RepaintCurrentGrid() override;
    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void MessageBeep(UINT type) override;
    void ClearUndoRedo() { m_undo.Clear(); }

    // IUndoStacks
    CStack<CUndoStep>& GetUndoStack() override { return m_undo.UndoStack(); }
    CStack<CUndoStep>& GetRedoStack() override { return m_undo.RedoStack(); }

    // The folders, log file and save picker the console and the log viewer use.
    IScreenServices& GetScreenServices() { return m_services; }

    // ILinkWindow
    void SetFrameTitle() override { m_files.SetFrameTitle(); }
    void EnteredOnlineMode() override;
    void LinkRestored() override { m_link.LinkRestored(); }
    bool HoldSetupReset() override;

    // IMainFrame
    QWidget* GetWindow() override { return this; }
    IMessageSink* GetLinkSink() override { return &m_sink; }
    bool IsStackEmpty(Stack stack) const override;
    LRESULT AskActiveViewForChanges() override;

    // IDocViews
    void UpdateAllViews(CView* sender, CUpdateHint hint, LPARAM object) override;
    void UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // IScreenHost
    CKelvardinDoc* GetDocument() override { return m_doc.get(); }
    bool IsCurrentScreen(const CView& view) const override;
    CContext& GetViewContext(int screen) override { return m_history.GetViewContext(screen); }
    void PushHistory(const CContext& context) override;
    CString GetFrameText() const override;
    CString GetFilterText() const override;
    int AskClearChanges(int preset) override;
    void WinHelp(DWORD id, UINT command) override;
    void PostCommand(UINT id) override;
    void ClearAllocations(int icom) override;
    void SetMaintMode(int trunk) override;
    void ClearMaintMode(int trunk) override;
    bool SearchForIntercom(int icom, const CString& name, CString& foundName, CString& primary,
                           CString& backup) override;
    CCVDataMgr& GetDataMgr() override;
    const CScreenTiming& GetScreenTiming() const override { return m_screenTiming; }

    // ITrunkDefsHost
    int SelectIntercom(int preselect, int excluded) override;
    bool SelectAssign(CAssign& assign, int fixedIcom, int typeFilter, int excluded) override;
    void SetMaintenanceMode(int trunk) override;
    void ClearMaintenanceMode(int trunk) override;
    bool IsCommandAvailable(UINT id) override;

    // IPaneFrame
    CView* GetCurrentMainView() override { return m_pCurrentView; }
    int GetCurrentViewID() const override { return m_pCurrentView ? m_nCurrent : -1; }
    std::optional<DWORD> GetCurrentGridHelpID() const override;
    void SendCommand(UINT id) override { OnCommand(id); }
    LogFont GetPaneFont() const override;

    // IFileModeHost
    void EnterFileMode() override { m_files.EnterFileMode(); }
    bool LeaveController() override;
    // The save behind Save, Save As and Partial Save.
    void SaveSetupFile(BOOL partial, BOOL saveAs) { m_files.Save(partial, saveAs); }
    // Open with the file given instead of the picker (the command line, a file dropped).
    bool OpenFile(const CString& path) override { return m_files.OpenFile(path); }
    void ClearHistory() { m_history.Clear(); }
    bool IsPathFile() const { return m_files.IsPathFile(); }

    // Runs a progress dialog (a send or an upload) modally as the running operation.
    int RunOperation(CKelvardinDialog& dialog) { return m_link.RunOperation(dialog); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Receives what is posted or sent to the main window and the status timer's ticks.
    class CMessageWnd : public CWnd {
    public:
        explicit CMessageWnd(CMainFrame& frame) : m_frame(frame) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            return m_frame.WindowProc(message, wParam, lParam);
        }

    private:
        CMainFrame& m_frame;
    };

    struct CScreenSlot {
        std::unique_ptr<CView> view;
        std::unique_ptr<CView> pane;
    };

    void CreateBars();
    void CreateClient();
    QWidget* NewPaneSlotWidget();
    bool HasScreen(int screen) const;
    void ShowPane(int screen, bool cached);
    void ShowView(int screen, bool cached);
    // The questions before the window closes, about what goes with it; true when it may
    // close.
    bool ConfirmClose();
    bool ConfirmLeavingSetup();
    // The memory bytes typed and not written, on either processor, asked about as leaving the
    // screen asks, or, when nothing can write them, as lost with the program; false while they
    // stay.
    bool ConfirmUnwrittenMemory();
    // The memory writes made go out and are answered while the window shows, taking no new
    // command, before the link closes with it.
    void WaitForMemoryWrites();
    // The memory screen's cells follow the mode, whichever way it changed.
    void MemoryScreenFollowsMode();
    // A command of the window's table: carried out, or its state given; FALSE for any other id.
    BOOL OnFrameCommand(UINT id, CCmdUI* update);
    void OnScreenCommand(UINT id);
    void OnBack();
    void OnForward();
    void OnHelp();
    void OnStatusTimer();
    void UpdatePanes();

    // ---- The commands beside the setup files: sends and the controller (main_frame_sends.cpp),
    // tools and logging (main_frame_tools.cpp) ------------------------------------------------
    void OnSendChanges();
    void OnAbortAllChanges();
    void OnConnect();
    void OnRefresh();
    void OnRefreshAlphas();
    void OnConfiguration();
    void OnSNMPConfig();
    void OnCVVersion();
    void ShowCommStatus();
    void OnErrorInfo();
    void OnWhatsNew();
    void OnLoggingEnable();
    void OnLoggingDisable();
    void OnLoggingToggle();
    void OnMaintenanceMenu(UINT id);
    void RunMaintModeSend(const CLinkSession& session);
    void SetLogging(int on);

    QPointer<CDlgCommStatus> m_commStatus;
    bool m_bInErrorInfo = false;
    std::unique_ptr<CAlphaChooser> m_alphaChooser;

    CKelvardinApp& m_app;
    const CScreenTable& m_screens;
    std::unique_ptr<CKelvardinDoc> m_doc;
    CMessageWnd m_wnd{*this};
    CWindowMessageSink m_sink;
    CZubStatusBar* m_statusBar = nullptr;
    QToolBar* m_toolBar = nullptr;
    CKelvardinSplitterWnd* m_outer = nullptr;
    CKelvardinSplitterWnd* m_inner = nullptr;
    QStackedWidget* m_navSlot = nullptr;
    QStackedWidget* m_paneSlot = nullptr;
    QStackedWidget* m_viewSlot = nullptr;
    std::unique_ptr<CCommandUpdater> m_updater;
    std::map<UINT, QAction*> m_actions;
    // What the menu bar was built for; it is built again when that changes.
    CMenuRules m_menuRules;
    CWndTimer m_timer;
    CScreenTiming m_screenTiming;
    CStatusTicks m_statusTicks;

    int m_nCurrent = 1;
    CView* m_pCurrentView = nullptr;
    CKelvardinGridView* m_pCurrentGrid = nullptr;
    CView* m_pCurrentPane = nullptr;
    CNavHistory m_history;
    CUndoHistory m_undo;
    CSetupFileCommands m_files;
    CLinkEvents m_link;
    CFileDropFilter m_fileDrops;
    CMenuLoopFilter m_menuLoops;
    bool m_bNavVisible = true;
    bool m_bShown = false;
    int m_nWaitCursors = 0;
    CAppScreenServices m_services{m_app, this};

    // Last, so that the views go before everything they use.
    std::unique_ptr<CView> m_navView;
    std::array<CScreenSlot, kScreens> m_slots;
};
