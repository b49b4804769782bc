// The main window's undo history, and the dialogs it opens for the screens.
#include "link/cv_data_mgr.h"
#include "model/kelvardin_doc.h"
#include "shell/dlg_clear_changes.h"
#include "shell/dlg_icom_select.h"
#include "shell/dlg_search_for_icom.h"
#include "shell/dlg_trunk_select.h"
#include "shell/kelvardin_app.h"
#include "shell/main_frame_window.h"

namespace {

constexpr UINT kClearMaintCaption = 2242;
constexpr UINT kClearMaintPrompt = 2243;
constexpr UINT kSetMaintCaption = 2244;
constexpr UINT kSetMaintPrompt = 2245;

}  // namespace

void CMainFrame::PushUndoStep(std::unique_ptr<CUndoStep> step) {
    m_undo.Push(std::move(step));
    m_redo.RemoveAll();
}

void CMainFrame::AddUndo(std::unique_ptr<CUndoObject> record) {
    if (m_group) {
        m_group->Add(std::move(record));
    } else {
        PushUndoStep(std::move(record));
    }
}

void CMainFrame::AddUndoList(std::unique_ptr<CUndoObList> list) {
    if (m_group) {
        m_group->Append(std::move(*list));
    } else {
        PushUndoStep(std::move(list));
    }
}

void CMainFrame::BeginUndoGroup(bool open) {
    if (std::unique_ptr<CUndoObList> group = std::move(m_group); group && !group->IsEmpty())
        PushUndoStep(std::move(group));
    if (open) m_group = std::make_unique<CUndoObList>();
}

void CMainFrame::ClearUndoRedo() {
    m_undo.RemoveAll();
    m_redo.RemoveAll();
}

bool CMainFrame::IsStackEmpty(Stack stack) const {
    switch (stack) {
        case Stack::kUndo: return m_undo.IsEmpty();
        case Stack::kRedo: return m_redo.IsEmpty();
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
    CDlgIcomSelect dialog(this);
    dialog.m_nSelection = icom;
    if (dialog.DoModal() == IDOK) m_app.GetDataMgr().ClearAllocations(dialog.m_nSelection);
}

// Maintenance mode is set for one trunk at a time; it is cleared for one or for all.
void CMainFrame::SetMaintMode(int trunk) {
    CDlgTrunkSelect dialog(kSetMaintCaption, kSetMaintPrompt, this);
    dialog.m_bAll = false;
    dialog.m_bSelected = false;
    dialog.m_nSelection = trunk;
    if (dialog.DoModal() != IDOK || dialog.m_nSelection < 0) return;
    m_app.GetDataMgr().SendMaintMode(dialog.m_nSelection);
}

void CMainFrame::ClearMaintMode(int trunk) {
    CDlgTrunkSelect dialog(kClearMaintCaption, kClearMaintPrompt, this);
    dialog.m_bAll = true;
    dialog.m_bSelected = false;
    dialog.m_nSelection = trunk;
    if (dialog.DoModal() != IDOK || dialog.m_nSelection == CDlgTrunkSelect::kDataSelected) return;
    m_app.GetDataMgr().SendNormalMode(dialog.m_nSelection);
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
