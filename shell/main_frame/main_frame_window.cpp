#include "shell/main_frame/main_frame_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStackedWidget>
#include <QToolBar>

#include "model/kelvardin_doc.h"
#include "platform/base/profile.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "screens/base/screen_ids.h"
#include "screens/memory/memory_dump_view.h"
#include "shell/app/command_updater.h"
#include "shell/app/kelvardin_app.h"
#include "shell/app/menu_table.h"
#include "shell/app/screen_table.h"
#include "shell/app/toolbar_icons.h"
#include "shell/controls/kelvardin_splitter_wnd.h"
#include "shell/dialogs/dlg_select_alpha.h"
#include "shell/main_frame/wp_saver.h"
#include "shell/main_frame/zub_status_bar.h"
#include "shell/nav/kelvardin_nav_view.h"

namespace {

constexpr int kStatusBarHeight = 23;
constexpr int kToolBarHeight = 30;
constexpr int kSpacer = 1;
constexpr char16_t kToolBarSection[] = u"Windows\\ToolBars";
constexpr char16_t kToolBarState[] = u"State";

// The toolbar's buttons, 0 for a gap.
constexpr UINT kToolButtons[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE,    0, ID_VIEW_BACK,  ID_VIEW_FORWARD, ID_REFRESH,
    0,           ID_CONNECT,   ID_SEND_CHANGES, 0, ID_FILE_PRINT, ID_APP_ABOUT};

}  // namespace

CMainFrame::CMainFrame(CKelvardinApp& app, const CScreenTable& screens)
    : m_app(app),
      m_screens(screens),
      m_doc(std::make_unique<CKelvardinDoc>()),
      m_sink([this](UINT message, WPARAM wParam, LPARAM lParam) {
          return WindowProc(message, wParam, lParam);
      }),
      m_undo(*m_doc, m_history,
             {.current = [this] { return m_nCurrent; },
              .showing = [this] { return m_pCurrentView != nullptr; },
              .show = [this](int screen) { SwitchToView(screen); }}),
      m_files(app, *m_doc, m_undo, m_history, *this,
              [this](CKelvardinDialog& dialog) { return RunOperation(dialog); }),
      m_link(app, *m_doc, m_files, *this, [this](int lamp) { m_statusBar->SetIndicator(lamp, 1); }),
      m_fileDrops(*this, [this](const QString& path) { OpenFile(FromQString(path)); }) {
    setObjectName(QStringLiteral("MainFrame"));
    // The size it has before it is maximised, or where nothing maximises it.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 4 / 5);
    m_doc->SetViews(this);
    m_doc->SetMemoryPage(&m_app.GetDataMgr());
    m_doc->OnNewDocument();
    m_alphaChooser = std::make_unique<CAlphaChooser>(*m_doc, this);
    m_doc->SetSelectAlpha(m_alphaChooser.get());
    m_wnd.Create(WS_CHILD, CRect(0, 0, 0, 0), static_cast<QWidget*>(this), 0);

    m_updater = std::make_unique<CCommandUpdater>([this](UINT id) {
        CCmdUI update(id);
        update.Enable(FALSE);
        OnCmdMsg(id, &update);
        if (QAction* action = GetAction(id); action && action->isCheckable())
            action->setChecked(update.GetCheck().value_or(0) != 0);
        return update.IsEnabled() ? TRUE : FALSE;
    });
    m_updater->AddUpdateHandler([this] { UpdatePanes(); });
    m_updater->AddUpdateHandler([this] { MemoryScreenFollowsMode(); });
    // A controller with other abilities, or other restrictions, make another menu bar; it is
    // not replaced under an open menu.
    m_updater->AddUpdateHandler([this] {
        if (GetMenuRules() != m_menuRules && !QApplication::activePopupWidget()) SetUpMenus();
    });
    CreateBars();
    CreateClient();
    SetUpMenus();
    m_timer.Start(&m_wnd, kStatusMs);
    UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
    m_timer.Stop();
    // The views go first; nothing they do on the way reaches the window any more.
    m_doc->SetViews(nullptr);
    m_doc->SetSelectAlpha(nullptr);
    for (CScreenSlot& slot : m_slots) {
        slot.view.reset();
        slot.pane.reset();
    }
    m_navView.reset();
}

void CMainFrame::CreateBars() {
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("ctl%1").arg(ID_VIEW_TOOLBAR));
    m_toolBar->setMovable(true);
    m_toolBar->setFixedHeight(kToolBarHeight);
    for (UINT id : kToolButtons) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = m_toolBar->addAction(ToolBarIcon(id), ToQString(CommandTitle(id)));
        action->setData(id);
        action->setStatusTip(ToQString(LoadResString(id)));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_updater->AddAction(action);
    }
    if (const auto state = m_app.GetProfile().GetProfileBinary(kToolBarSection, kToolBarState)) {
        restoreState(QByteArray(reinterpret_cast<const char*>(state->data()),
                                static_cast<qsizetype>(state->size())));
    }

    m_statusBar = new CZubStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("ctl%1").arg(ID_VIEW_STATUS_BAR));
    setStatusBar(m_statusBar);
    m_statusBar->SetIndicators(
        {0, 0, ID_INDICATOR_LOG, 0, ID_INDICATOR_MODE, ID_INDICATOR_CV, 0, ID_INDICATOR_LAMPS, 0});
    m_statusBar->SetPaneInfo(0, 0, SBPS_STRETCH | SBPS_NOBORDERS, 1);
    for (int spacer : {1, 3, 6, 8})
        m_statusBar->SetPaneInfo(spacer, 0, SBPS_NOBORDERS, kSpacer);
    m_statusBar->SizePaneToText(2, ID_INDICATOR_LOG, SBPS_NORMAL, u"LOG");
    m_statusBar->SizePaneToText(4, ID_INDICATOR_MODE, SBPS_NORMAL, u"Connecting...");
    m_statusBar->SizePaneToText(5, ID_INDICATOR_CV, SBPS_NORMAL, u"CV");
    m_statusBar->SetPaneInfo(CZubStatusBar::kLampPane, ID_INDICATOR_LAMPS, SBPS_DISABLED, 31);
    m_statusBar->setMinimumHeight(kStatusBarHeight);
}

QWidget* CMainFrame::NewPaneSlotWidget() {
    auto* slot = new QStackedWidget;
    // An empty page stands where a screen has no pane of its own yet.
    slot->addWidget(new QWidget);
    return slot;
}

void CMainFrame::CreateClient() {
    m_outer = new CKelvardinSplitterWnd(Qt::Horizontal, this);
    m_outer->setObjectName(QStringLiteral("OuterSplitter"));
    m_navSlot = static_cast<QStackedWidget*>(NewPaneSlotWidget());
    m_inner = new CKelvardinSplitterWnd(Qt::Vertical);
    m_paneSlot = static_cast<QStackedWidget*>(NewPaneSlotWidget());
    m_paneSlot->setFixedHeight(GetSystemMetrics(SM_CYMENU) + 4);
    m_viewSlot = static_cast<QStackedWidget*>(NewPaneSlotWidget());
    m_inner->addWidget(m_paneSlot);
    m_inner->addWidget(m_viewSlot);
    m_inner->setStretchFactor(1, 1);
    m_inner->setHandleWidth(0);
    m_outer->addWidget(m_navSlot);
    m_outer->addWidget(m_inner);
    m_outer->setStretchFactor(1, 1);
    m_outer->SetDoubleClickAction([this] { PostCommand(ID_VIEW_NAVBAR); });
    setCentralWidget(m_outer);
    auto nav = std::make_unique<CKelvardinNavView>();
    if (nav->Create(this, m_doc.get(), CRect(0, 0, GetNavWidth(), 400), m_navSlot, 0))
        SetNavView(std::move(nav));

    // The first screen the program has.
    m_nCurrent = 0;
    while (m_nCurrent < kScreens - 1 && !HasScreen(m_nCurrent))
        ++m_nCurrent;
    ShowPane(m_nCurrent, false);
    ShowView(m_nCurrent, false);
    m_bNavVisible = m_app.GetProfile().GetProfileInt(u"Windows\\NavBars", u"Visible", 1) != 0;
    ApplyNavBarState();
}

void CMainFrame::SetNavView(std::unique_ptr<CView> view) {
    if (m_navView) m_navSlot->removeWidget(m_navView->GetWidget());
    m_navView = std::move(view);
    if (!m_navView) return;
    m_navSlot->addWidget(m_navView->GetWidget());
    m_navSlot->setCurrentWidget(m_navView->GetWidget());
    m_navView->OnInitialUpdate();
}

int CMainFrame::GetNavWidth() const {
    const int width = static_cast<int>(m_app.GetProfile().GetProfileInt(
        u"Windows\\NavBars", u"Width", static_cast<std::uint32_t>(kDefaultNavWidth)));
    // Narrower, or a negative width typed into the file, the pane could never be used again.
    return width < kDefaultNavWidth ? kDefaultNavWidth : width;
}

void CMainFrame::ApplyNavBarState() {
    IProfile& profile = m_app.GetProfile();
    const QList<int> sizes = m_outer->sizes();
    // Before the window is laid out the splitter has no size: the right side takes the rest.
    const int total = std::max(sizes.value(0) + sizes.value(1), 10000);
    if (m_bNavVisible) {
        m_outer->SetResizable(true);
        const int width = GetNavWidth();
        m_navSlot->setMinimumWidth(0);
        m_outer->setSizes({width, std::max(total - width, 1)});
    } else {
        const int width = sizes.value(0);
        if (width > 0)
            profile.WriteProfileInt(u"Windows\\NavBars", u"Width",
                                    static_cast<std::uint32_t>(std::max(width, kDefaultNavWidth)));
        m_outer->SetResizable(false);
        m_outer->setSizes({0, total});
    }
    profile.WriteProfileInt(u"Windows\\NavBars", u"Visible", m_bNavVisible ? 1 : 0);
}

void CMainFrame::OnToggleNavBar() {
    m_bNavVisible = !m_bNavVisible;
    ApplyNavBarState();
}

CString CMainFrame::GetFrameText() const {
    return FromQString(windowTitle());
}

bool CMainFrame::ConfirmClose() {
    return ConfirmLeavingSetup() && ConfirmUnwrittenMemory();
}

bool CMainFrame::ConfirmLeavingSetup() {
    if (m_app.GetMode() == CAppState::kModeOnline && m_files.HasChanges())
        return m_files.LetUnsentChangesGo(kIdsExitUnsent);
    UINT question = 0;
    if (m_files.HasChanges()) {
        question =
            m_app.GetMode() == CAppState::kModeOnline ? kIdsUnsentChanges : kIdsUnsavedChanges;
    } else if (m_app.m_bConfirmExit) {
        question = kIdsExitQuestion;
    }
    if (question == 0) return true;
    const int answer = ModalMessageBox(LoadResString(question), MB_OKCANCEL | MB_ICONEXCLAMATION);
    return answer == IDOK || answer == IDYES;
}

bool CMainFrame::ConfirmUnwrittenMemory() {
    if (!m_app.GetDataMgr().HasUnwrittenMemory()) return true;
    auto* memory = dynamic_cast<CMemoryDumpView*>(GetScreenView(kScreenMemory));
    if (!memory) return true;
    // A write chosen that cannot go is not told as kept for later: the exit would lose it,
    // and the one question below says so.
    if (memory->CanWriteNow() && memory->ConfirmPendingWrites(TRUE, false)) return true;
    return ModalMessageBox(LoadResString(kIdsMemoryLostAtExit), MB_OKCANCEL | MB_ICONEXCLAMATION) ==
           IDOK;
}

void CMainFrame::WaitForMemoryWrites() {
    setEnabled(false);
    m_statusBar->showMessage(ToQString(LoadResString(kIdsWaitingForMemoryWrites)));
    {
        const CWaitCursor wait;
        CCVDataMgr& link = m_app.GetDataMgr();
        link.WaitForMemoryWrites();
        // Writes unanswered or given back are told while the window still shows, the link
        // let go first, not after a pause with no window at all.
        if (link.HasMemoryWritesUntold()) m_app.CloseLinkAndReportWrites();
    }
    m_statusBar->clearMessage();
    setEnabled(true);
}

// Every change of mode comes with a message or the user's input, after which the updater runs.
void CMainFrame::MemoryScreenFollowsMode() {
    if (auto* memory = dynamic_cast<CMemoryDumpView*>(GetScreenView(kScreenMemory)))
        memory->FollowMode();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A window shown again after it closed is closing no more.
    if (!event->spontaneous()) m_link.SetClosing(false);
    if (m_bShown) return;
    // Once the window is up, the navigation pane has its width and lays its groups out.
    m_bShown = true;
    ApplyNavBarState();
    if (auto* nav = dynamic_cast<CKelvardinNavView*>(m_navView.get())) {
        nav->SetLayoutReady(TRUE);
        nav->RecalcLayout();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Asked again while the close under way waits or asks: that one goes on.
    if (m_link.IsClosing()) {
        event->ignore();
        return;
    }
    // While the close asks and waits, a lost link offers no way back to the controller.
    m_link.SetClosing(true);
    // A print preview that shows ends with its window.
    if (!m_app.m_bPrintPreview && !ConfirmClose()) {
        m_link.SetClosing(false);
        event->ignore();
        return;
    }
    WaitForMemoryWrites();
    if (m_app.m_bSavePosition) CWPSaver(this, u"Windows\\Application", m_app.GetProfile()).Save();
    const QByteArray state = saveState();
    m_app.GetProfile().WriteProfileBinary(kToolBarSection, kToolBarState,
                                          std::vector<std::uint8_t>(state.begin(), state.end()));
    m_link.EndLinkQuestions();
    event->accept();
}

void CMainFrame::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    m_wnd.PostMessage(message, wParam, lParam);
}

void CMainFrame::PostCommand(UINT id) {
    m_wnd.PostMessage(WM_COMMAND, id, 0);
}

void CMainFrame::MessageBeep(UINT type) {
    ::MessageBeep(type);
}

void CMainFrame::BeginWaitCursor() {
    if (m_nWaitCursors++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CMainFrame::EndWaitCursor() {
    if (m_nWaitCursors > 0 && --m_nWaitCursors == 0) QApplication::restoreOverrideCursor();
}

void CMainFrame::WinHelp(DWORD id, UINT command) {
    m_app.WinHelp(id, command);
}

CCVDataMgr& CMainFrame::GetDataMgr() {
    return m_app.GetDataMgr();
}

LogFont CMainFrame::GetPaneFont() const {
    return m_app.GetBoldFont();
}
