// The emptiness of the main window's history stacks, and the dialogs it opens for the screens.
#include "link/cv_data_mgr.h"
#include "link/link_session.h"
#include "model/kelvardin_doc.h"
#include "shell/app/kelvardin_app.h"
#include "shell/dialogs/dlg_clear_changes.h"
#include "shell/dialogs/dlg_icom_select.h"
#include "shell/main_frame/main_frame_window.h"
#include "shell/search/dlg_search_for_icom.h"

bool CMainFrame::IsStackEmpty(Stack stack) const {
    switch (stack) {
        case Stack::kUndo: return m_undo.UndoStack().IsEmpty();
        case Stack::kRedo: return m_undo.RedoStack().IsEmpty();
        case Stack::kBack: return m_history.Back().IsEmpty();
        default: return m_history.Forward().IsEmpty();
    }
}

int CMainFrame::AskClearChanges(int preset) {
    CDlgClearChanges dialog(this);
    dialog.m_nChoice = preset;
    if (dialog.DoModal() != IDOK) return -1;
    return dialog.m_nChoice;
}

void CMainFrame::ClearAllocations(int icom) {
    const CLinkSession session = CLinkSession::Of(m_app);
    CDlgIcomSelect dialog(this);
    dialog.m_nSelection = icom;
    if (dialog.DoModal() == IDOK) m_app.GetDataMgr().ClearAllocations(session, dialog.m_nSelection);
}

bool CMainFrame::SearchForIntercom(int /*icom*/, const CString& name, CString& foundName,
                                   CString& primary, CString& backup) {
    CDlgSearchForIcom search(name, TRUE, this);
    if (search.DoModal() != IDOK) return false;
    foundName = search.GetName();
    primary = search.GetIPAddress();
    backup = search.GetPartnerAddress();
    return true;
}
