// The main window's commands that talk to the controller: sending the changes, dropping
// them, connecting, and changing the trunks' maintenance mode.
#include <memory>

#include "link/cv_data_mgr.h"
#include "link/maint_mode_send_all.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/modal.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/kelvardin_app.h"
#include "shell/dialogs/dlg_send_all_list.h"
#include "shell/dialogs/dlg_trunk_select.h"
#include "shell/link_dialogs/dlg_send_progress.h"
#include "shell/main_frame/changes_send.h"
#include "shell/main_frame/command_basis.h"
#include "shell/main_frame/confirm_loss.h"
#include "shell/main_frame/main_frame_window.h"

void CMainFrame::OnSendChanges() {
    if (!CanSendChanges(*m_doc)) return;
    const CCommandBasis basis(m_app, m_undo, m_app.GetDataMgr(), CUndoneCommand::kSendChanges);
    CDlgSendAllList list(*m_doc, this);
    if (!basis.Accepted(list)) return;
    ClearUndoRedo();
    CDlgSendProgress progress(basis.Session(), SendOfChanges(), kIdsSendProgress,
                              kIdsSendProgressPrompt, this);
    RunOperation(progress);
    m_doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

void CMainFrame::OnAbortAllChanges() {
    if (!ConfirmLoss(kIdsAbortChanges)) return;
    ClearUndoRedo();
    m_doc->ClearAllChanges();
    m_doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

void CMainFrame::OnConnect() {
    CCVDataMgr& data = m_app.GetDataMgr();
    const bool refused = data.IsSessionRefused() != FALSE;
    if (!refused && !data.IsControllerPresent()) {
        ModalMessageBox(LoadResString(kIdsNoController), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (m_app.GetMode() != CAppState::kModeFile) return;
    if (m_doc->HasModifications()) {
        if (!ConfirmLoss(kIdsConnectChanges)) return;
        // Let go as the question said: a changed field would never take the controller's
        // value, and Send Changes would write the file's into it.
        m_doc->ClearAllChanges();
        m_doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
    }
    // The first status now compares the controller's configuration with the saved default.
    data.ForgetConfigurationCheck();
    // The setup is the controller's from now on: Save never writes it over the file open before.
    m_files.ForgetDocumentPath();
    m_app.SetMode(CAppState::kModeConnecting);
    ClearUndoRedo();
    ClearHistory();
    if (refused) data.RetrySession();
}

void CMainFrame::SetMaintMode(int trunk) {
    const CLinkSession session = CLinkSession::Of(m_app);
    CDlgTrunkSelect dialog(kIdsSetMaintCaption, kIdsSetMaintText, this);
    dialog.m_bAll = false;
    dialog.m_bSelected = false;
    dialog.m_nSelection = trunk;
    if (dialog.DoModal() != IDOK) return;
    if (dialog.m_nSelection == CDlgTrunkSelect::kDataAll ||
        dialog.m_nSelection == CDlgTrunkSelect::kDataSelected)
        return;
    // Given up, and named to the user, when the session it was chosen for has ended.
    if (m_app.GetDataMgr().SendMaintMode(session, dialog.m_nSelection)) RunMaintModeSend(session);
}

void CMainFrame::ClearMaintMode(int trunk) {
    const CLinkSession session = CLinkSession::Of(m_app);
    CDlgTrunkSelect dialog(kIdsClearMaintCaption, kIdsClearMaintText, this);
    dialog.m_bAll = true;
    dialog.m_bSelected = false;
    dialog.m_nSelection = trunk;
    if (dialog.DoModal() != IDOK) return;
    if (dialog.m_nSelection == CDlgTrunkSelect::kDataSelected) return;
    if (m_app.GetDataMgr().SendNormalMode(session, dialog.m_nSelection)) RunMaintModeSend(session);
}

void CMainFrame::RunMaintModeSend(const CLinkSession& session) {
    CDlgSendProgress progress(session, std::make_unique<CMaintModeSendAll>(m_app.GetDataMgr()),
                              kIdsMaintMode, kIdsMaintModePrompt, this);
    RunOperation(progress);
}

void CMainFrame::OnMaintenanceMenu(UINT id) {
    // The Trunk menu's items, when no trunk screen took them: no trunk is preset.
    if (id == ID_MAINT_MODE) {
        SetMaintMode(-1);
    } else {
        ClearMaintMode(-1);
    }
}
