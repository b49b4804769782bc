// The main window's commands beside files and sends: refreshing, the tools, the help's error
// information and release notes, and logging.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenuBar>
#include <QToolBar>
#include <QUrl>

#include <optional>
#include <utility>

#include "link/cv_data_mgr.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "shell/app/kelvardin_app.h"
#include "shell/dialogs/dlg_cv_version.h"
#include "shell/dialogs/dlg_snmp_config.h"
#include "shell/dialogs/ext_message_box.h"
#include "shell/link_dialogs/dlg_comm_status.h"
#include "shell/main_frame/main_frame_window.h"
#include "shell/sheets/preferences_sheet.h"

namespace {

// The misc item that reads the controller's SNMP configuration, and how long it is waited for.
constexpr int kReadSnmpItem = 27;
constexpr int kSnmpWaitSeconds = 5;
// Error information: the error ids shown as warnings, the one without a suppress box, and the
// help ids of the errors.
constexpr UINT kWarningStyle = MB_DONT_DISPLAY_AGAIN | MB_ICONEXCLAMATION;
constexpr UINT kStopStyle = MB_DONT_DISPLAY_AGAIN | MB_ICONSTOP;
constexpr int kUnsuppressibleError = 28;
constexpr UINT kErrorHelpBase = 0x30000;
constexpr int kCommStatusMargin = 8;

UINT ErrorStyle(int error) {
    switch (error) {
        case 8:
        case 13:
        case 23:
        case 26: return kWarningStyle;
        case kUnsuppressibleError: return MB_ICONSTOP;
        default: return kStopStyle;
    }
}

}  // namespace

void CMainFrame::OnRefresh() {
    m_doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

void CMainFrame::OnRefreshAlphas() {
    m_app.GetDataMgr().RefreshAlphas();
}

void CMainFrame::OnConfiguration() {
    CPreferencesSheet sheet(this, this);
    if (sheet.DoModal() != IDOK) return;
    SetUpMenus();
    m_doc->UpdateAllViews(nullptr, CUpdateHint::kRebuild);
}

bool CMainFrame::LeaveController() {
    return m_files.DropUnsentChanges(kIdsCommChangeUnsent);
}

void CMainFrame::OnSNMPConfig() {
    // Apply writes only to the controller that the record was read from: the session is the
    // one the read was asked in. Outside ONLINE nothing is read, and nothing is applied.
    const CLinkSession session = CLinkSession::Of(m_app);
    const bool read = m_app.GetMode() == CAppState::kModeOnline;
    if (!m_app.GetDataMgr().RequestMiscAndWait(kReadSnmpItem, kSnmpWaitSeconds)) return;
    CDlgSNMPConfig dialog(read ? std::optional(session) : std::nullopt, this);
    dialog.DoModal();
}

void CMainFrame::OnCVVersion() {
    CDlgCVVersion dialog(CDlgCVVersion::kTemplateId, this);
    dialog.m_strVersion = m_doc->GetCVVersionText();
    dialog.DoModal();
}

void CMainFrame::ShowCommStatus() {
    const bool placed = m_commStatus != nullptr;
    CDlgCommStatus* dialog = CDlgCommStatus::Show(m_commStatus, this);
    if (placed) return;
    // At the upper right, level with the toolbar, or under the menu bar without it.
    const bool toolBar = m_toolBar->isVisible();
    const int top = toolBar ? m_toolBar->geometry().top() : menuBar()->geometry().bottom() + 1;
    const QPoint corner = mapToGlobal(QPoint(width() - kCommStatusMargin, top));
    dialog->move(corner.x() - dialog->frameGeometry().width(), corner.y());
}

void CMainFrame::OnErrorInfo() {
    // The box may post another Error Info while it shows; that one finds nothing to do.
    if (m_bInErrorInfo) return;
    const CString text = m_app.GetValidationErrorText();
    if (text.IsEmpty()) return;
    m_bInErrorInfo = true;
    const int error = m_app.m_nLastError;
    UINT style = ErrorStyle(error);
    if (m_app.IsErrorSuppressed(error)) style |= MB_DEFAULT_CHECKED;
    const auto answer =
        static_cast<DWORD>(ModalMessageBox(text, style, static_cast<UINT>(error) | kErrorHelpBase));
    m_app.SetErrorSuppressed(error, (answer & kSuppressChecked) != 0);
    m_app.m_nLastError = -1;
    m_bInErrorInfo = false;
}

void CMainFrame::OnWhatsNew() {
    // Installed beside the program.
    const QString notes = QCoreApplication::applicationDirPath() + QStringLiteral("/WHATSNEW.HTM");
    if (QFileInfo::exists(notes) && QDesktopServices::openUrl(QUrl::fromLocalFile(notes))) return;
    // Otherwise the command would seem to do nothing at all.
    ModalMessageBox(FromQString(QStringLiteral("The release notes could not be opened.\n\n%1 is "
                                               "missing, or no program here opens web pages.")
                                    .arg(notes)),
                    MB_OK | MB_ICONEXCLAMATION);
}

void CMainFrame::SetLogging(int on) {
    CCVDataMgr& data = m_app.GetDataMgr();
    m_app.m_nLogging = on;
    const CLinkSession session = CLinkSession::Of(m_app);
    if (on && m_app.m_bSyncCorvaneClock) data.SetClock(session);
    data.SetLogging(session, on);
    data.RequestLogState();
}

void CMainFrame::OnLoggingEnable() {
    SetLogging(1);
}

void CMainFrame::OnLoggingDisable() {
    SetLogging(0);
}

// "Automatically enable logging at startup": once a run, and not over the user's own choice.
void CMainFrame::EnteredOnlineMode() {
    if (m_app.m_nAutoLog == 1 && m_app.m_nLogging == -1) OnCommand(ID_LOGGING_ENABLE);
}

// The controller changed under the setup: nothing of it is undone into the default setup that
// replaces it, and edits not sent are offered for saving first. The question waits for this
// window's own loop, so that the reply that brought the change is done with and the link goes
// on meanwhile.
bool CMainFrame::HoldSetupReset() {
    ClearUndoRedo();
    if (!m_files.HasChanges()) return false;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_files.OfferUnsentChanges(kIdsControllerChangedUnsent);
            ClearUndoRedo();
            m_app.GetDataMgr().ResetForController(m_doc.get());
        },
        Qt::QueuedConnection);
    return true;
}

void CMainFrame::OnLoggingToggle() {
    SetLogging(m_app.m_nLogging == 1 ? 0 : 1);
}
