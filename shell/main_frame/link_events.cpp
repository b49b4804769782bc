#include "shell/main_frame/link_events.h"

#include <QTimer>

#include <utility>

#include "link/cv_data_mgr.h"
#include "link/link_messages.h"
#include "model/ip_text.h"
#include "model/kelvardin_doc.h"
#include "model/validation_report.h"
#include "platform/base/message_box.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/modal.h"
#include "platform/ui/nested_loop.h"
#include "platform/ui/sys_info.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/kelvardin_app.h"
#include "shell/link_dialogs/dlg_icom_status.h"
#include "shell/link_dialogs/dlg_save_as_online_progress.h"
#include "shell/link_dialogs/dlg_send_progress.h"
#include "shell/link_dialogs/operation_dialog.h"
#include "shell/link_dialogs/timed_ari_dlg.h"
#include "shell/main_frame/dialog_parent.h"
#include "shell/main_frame/setup_file_commands.h"

namespace {

constexpr int kErrorIcomNotVisible = 34;
constexpr int kErrorRemoteTrunkAssign = 35;
constexpr int kErrorLogElsewhere = 36;

constexpr char16_t kNakText[] =
    u"A NAK was received for message type %d (0x%02.2x).\nThis could indicate a mismatch in "
    u"capabilities\nbetween Kelvardin and the Corvane.";
// The NAK question's end when the link no longer waits for it: the answer is to go on.
constexpr int kQuestionWithdrawn = 0;
// How often an open NAK question checks whether the link still waits for it.
constexpr int kWithdrawnCheckMs = 20;

// A link error besides the engine's own codes: the reply was too long to use.
constexpr int kReplyUnusable = -2;
// An upload given up by the user after a refusal, and a read failure that only timed out.
constexpr WPARAM kUploadAborted = static_cast<WPARAM>(-1);
constexpr LPARAM kTimedOut = -6;

// Resets the re-entry guard however the handler leaves.
class CGuard {
public:
    explicit CGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~CGuard() { m_flag = false; }
    CGuard(const CGuard&) = delete;
    CGuard& operator=(const CGuard&) = delete;

private:
    bool& m_flag;
};

}  // namespace

CLinkEvents::CLinkEvents(CKelvardinApp& app, CKelvardinDoc& doc, CSetupFileCommands& files,
                         QWidget& window, ActivityLamp showActivity)
    : m_app(app),
      m_doc(doc),
      m_files(files),
      m_window(window),
      m_showActivity(std::move(showActivity)) {}

int CLinkEvents::RunOperation(CKelvardinDialog& dialog) {
    IOperationDialog* outer = std::exchange(m_pOperation, dynamic_cast<IOperationDialog*>(&dialog));
    const int result = dialog.DoModal();
    m_pOperation = outer;
    return result;
}

LRESULT CLinkEvents::OnLinkMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    CCVDataMgr& link = m_app.GetDataMgr();
    switch (message) {
        case WM_LINK_PULL:
            RelayToOperation(message, wParam, lParam);
            link.PullFromSource(-1);
            return 0;
        case WM_LINK_QUEUE_FILLED:
            RelayToOperation(message, wParam, lParam);
            link.BeginSendQueue();
            return 0;
        case WM_LINK_SEND_FAILED:
            RelayToOperation(message, wParam, lParam);
            link.Abort();
            return 0;
        case WM_LINK_SEND_PROGRESS:
        case WM_LINK_UPLOAD_PROGRESS: RelayToOperation(message, wParam, lParam); return 0;
        case WM_LINK_SEND_DONE: OnOperationEnd(RelayToOperation(message, wParam, lParam)); return 0;
        case WM_LINK_QUEUE_SENT:
            RelayToOperation(message, wParam, lParam);
            link.EndSendQueue();
            return 0;
        case WM_LINK_REPLIES: link.OnResponse(&m_doc); return 0;
        case WM_LINK_ERROR:
            return OnCommError(static_cast<int>(wParam),
                               reinterpret_cast<const CDualMessage*>(lParam));
        case WM_LINK_ACTIVITY: OnActivityLamp(wParam, lParam); return 0;
        case WM_LINK_SESSION_REFUSED: OnSessionRefused(static_cast<int>(wParam)); return 0;
        case WM_LINK_NOT_DONE: OnCommandsNotDone(); return 0;
        case WM_LINK_ICOM_WARNING:
        case WM_LINK_TRUNK_WARNING:
        case WM_LINK_LOG_ELSEWHERE: OnValidationWarning(message, wParam, lParam); return 0;
        default: return 0;
    }
}

LRESULT CLinkEvents::RelayToOperation(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_pOperation ? m_pOperation->OnLinkMessage(message, wParam, lParam) : 0;
}

void CLinkEvents::OnOperationEnd(LRESULT answer) {
    // A send of trunk modes carries none of the setup's changes: they stay marked.
    if (m_pOperation && answer == 0 && m_app.GetDataMgr().SendClearsChanges())
        m_doc.ClearAllChanges();
}

void CLinkEvents::OnActivityLamp(WPARAM kind, LPARAM result) {
    if (kind > LINK_ACTIVITY_READ_FAILED) return;
    if (kind == LINK_ACTIVITY_READ_FAILED && result == kTimedOut) return;
    m_showActivity(static_cast<int>(kind) + 1);
}

void CLinkEvents::OnValidationWarning(UINT message, WPARAM wParam, LPARAM lParam) {
    int error = kErrorLogElsewhere;
    CString text;
    if (message == WM_LINK_ICOM_WARNING || message == WM_LINK_TRUNK_WARNING) {
        const bool icom = message == WM_LINK_ICOM_WARNING;
        error = icom ? kErrorIcomNotVisible : kErrorRemoteTrunkAssign;
        text =
            SubstituteArgs(LoadResString(icom ? kIdsIcomNotVisible : kIdsRemoteTrunkAssign).str(),
                           {NumberText(static_cast<int>(wParam) + 1)});
    } else if (static_cast<BYTE>(wParam) == 0) {
        text = LoadResString(kIdsLogToSerialSession);
    } else {
        text = SubstituteArgs(LoadResString(kIdsLogToNetworkSession).str(),
                              {DottedIPAddress(static_cast<DWORD>(lParam))});
    }
    m_app.m_nLastError = error;
    // Shown through Error Information, or only a beep once the user suppressed it.
    ReportValidationError(error, text, TRUE);
}

LRESULT CLinkEvents::OnCommError(int code, const CDualMessage* pair) {
    if (m_pIcomStatus) m_pIcomStatus->UpdateStatus(false);
    // The link reports again while this handler's own dialog runs.
    if (m_bInCommError) return 0;
    CGuard guard(m_bInCommError);
    CCVDataMgr& link = m_app.GetDataMgr();
    if (link.IsNetwork()) link.RequestSessionSetup();
    const int mode = m_app.GetMode();
    if (mode == CAppState::kModeFile) return 0;

    if (code == LINK_ERROR_SESSION_LOST) {
        link.PausePolling();
        ClearControllerFlags();
        if (mode == CAppState::kModeOnline) AbortOperation(kSendLostLink);
        link.ResumePolling();
        return 0;
    }
    if (code == LINK_ERROR_NAK) return m_pOperation ? AskAboutNak(pair) : 0;
    // No answer from the controller: its state number, or a reply it could not use.
    if (code < 0 && code != kReplyUnusable && code != LINK_ERROR_NO_SESSION) return 0;
    ClearControllerFlags();
    // A closing program offers neither the controller back nor FILE mode.
    if (m_bClosing) return 0;
    if (mode == CAppState::kModeOnline) return RunConnectionStatus();
    m_app.SetMode(CAppState::kModeFile);
    ModalMessageBox(LoadResString(kIdsUnableToContact), MB_OK | MB_ICONINFORMATION);
    // Changes made while connecting may stay, in a setup of its own.
    if (m_files.LetUnsentChangesGo(kIdsNoContactUnsent)) {
        m_files.EnterFileMode();
    } else {
        m_files.ForgetDocumentPath();
    }
    return 0;
}

// Asked while the link engine waits for the answer: 1 sends the refused request again, 0 goes
// on without it. Should the engine stop waiting (the link is closed, the program ends), the
// question goes away unanswered.
LRESULT CLinkEvents::AskAboutNak(const CDualMessage* pair) {
    const int command = pair ? static_cast<int>(pair->reply.command) : 0;
    CTimedARIDlg question(DialogParent(m_window));
    question.m_strError = CString::Formatted(kNakText, command, command);
    QTimer watch;
    if (auto withdrawn = CWindowMessageSink::CurrentSendWithdrawn()) {
        QObject::connect(&watch, &QTimer::timeout, &question, [&question, withdrawn] {
            if (*withdrawn && question.isVisible()) question.done(kQuestionWithdrawn);
        });
        watch.start(kWithdrawnCheckMs);
    }
    m_pNakQuestion = &question;
    const int answer = question.DoModal();
    m_pNakQuestion = nullptr;
    switch (answer) {
        case CTimedARIDlg::kRetry: return 1;
        case CTimedARIDlg::kAbort: AbortOperation(kSendUserAbort); return 0;
        default: return 0;
    }
}

LRESULT CLinkEvents::RunConnectionStatus() {
    CDlgIcomStatus status(DialogParent(m_window));
    m_pIcomStatus = &status;
    int answer = status.DoModal();
    // Unsent changes are not given up without a word: the user may save them, or wait on.
    while (answer == IDCANCEL && !m_files.LetUnsentChangesGo(kIdsLeaveWithChanges)) {
        if (status.GetState() == CDlgIcomStatus::kRestored) {
            answer = IDOK;
            break;
        }
        if (m_app.GetMode() != CAppState::kModeOnline) break;
        answer = status.DoModal();
    }
    // The link gave up while the question was open and left for FILE mode with the setup kept:
    // there is nothing to wait for, and the setup is not let go for the default one.
    if (answer == IDCANCEL && m_app.GetMode() != CAppState::kModeOnline) answer = IDABORT;
    m_pIcomStatus = nullptr;
    // OK: the connection came back. Cancel, the only way out while it is down: FILE mode.
    // Abort: the controller refused the session and the link has left for FILE mode itself,
    // with the setup kept as it is.
    if (answer == IDCANCEL) m_files.EnterFileMode();
    if (answer == IDCANCEL || answer == IDABORT) AbortOperation(kSendLostLink);
    return answer;
}

// The link has set FILE mode. A setup that was the controller's keeps what it holds, but is
// neither shown as ONLINE nor saved over the file opened before without a name being asked.
void CLinkEvents::OnSessionRefused(int modeBefore) {
    if (m_pIcomStatus) m_pIcomStatus->LinkGaveUp();
    if (modeBefore == CAppState::kModeFile) return;
    ClearControllerFlags();
    m_files.ForgetDocumentPath();
}

// Told once no dialog, question or menu is open: over one of them the box would wait for it,
// or it for the box.
void CLinkEvents::OnCommandsNotDone() {
    if (IsNestedLoopRunning()) {
        RunWhenNestedLoopsEnd(m_window, [this] { OnCommandsNotDone(); });
        return;
    }
    const std::vector<CUndoneCommand> undone = m_app.GetDataMgr().TakeUndone();
    if (undone.empty()) return;
    ModalMessageBox(UndoneCommandsText(undone), MB_OK | MB_ICONEXCLAMATION);
}

void CLinkEvents::LinkRestored() {
    if (m_pIcomStatus) m_pIcomStatus->UpdateStatus(true);
}

// The abort cascade: the running operation learns that it failed, and why.
void CLinkEvents::AbortOperation(int reason) {
    IOperationDialog* operation = m_pOperation;
    if (!operation) return;
    if (dynamic_cast<CDlgSendProgress*>(operation)) {
        m_app.GetDataMgr().Abort();
        operation->OnLinkMessage(WM_LINK_SEND_FAILED, static_cast<WPARAM>(reason), 0);
    } else if (dynamic_cast<CDlgSaveAsOnlineProgress*>(operation)) {
        const WPARAM failure =
            reason == kSendUserAbort ? kUploadAborted : static_cast<WPARAM>(LINK_UPLOAD_LOST);
        operation->OnLinkMessage(WM_LINK_UPLOAD_PROGRESS, failure, 0);
    } else if (auto* dialog = dynamic_cast<QDialog*>(operation)) {
        dialog->done(IDCANCEL);
    }
}

void CLinkEvents::ClearControllerFlags() {
    m_app.m_nControllerPresent = 0;
    m_app.m_nControllerLogging = 0;
}

void CLinkEvents::EndLinkQuestions() {
    if (m_pNakQuestion && m_pNakQuestion->isVisible()) m_pNakQuestion->done(kQuestionWithdrawn);
}
