#include "screens/trunks/trunk_numb_filter_view.h"

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "res/command_ids.h"
#include "screens/base/screen_host.h"
#include "screens/popups/popup_list.h"

CTrunkNumbFilterView::CTrunkNumbFilterView(IScreenHost& host) : m_host(host) {}

BOOL CTrunkNumbFilterView::Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) {
    if (!CKelvardinFilterView::Create(frame, rect, parent, id)) return FALSE;
    m_edit.SetExpandable(TRUE);
    m_edit.SetListMode(TRUE);
    // The list opens under the value, not at the far end of the stretched button.
    m_edit.SetPopupAnchor(cool_edit::kValue, cool_edit::kLeftBottom, cool_edit::kLeftTop);
    return TRUE;
}

CContext* CTrunkNumbFilterView::GetContext() const {
    if (m_nViewID < 0 || m_nViewID >= kScreenCount) return nullptr;
    return &m_host.GetViewContext(m_nViewID);
}

CKelvardinDoc* CTrunkNumbFilterView::GetDocument() const {
    IUndoHost* host = GetApp().GetUndoHost();
    return host ? host->GetActiveDocument() : nullptr;
}

int CTrunkNumbFilterView::GetInspectedTrunk() const {
    const CContext* context = GetContext();
    return context ? static_cast<int>(context->m_params[0]) : 0;
}

void CTrunkNumbFilterView::OnInitialUpdate() {
    CKelvardinFilterView::OnInitialUpdate();
    RefillTrunks();
    OnUpdate(nullptr, CUpdateHint::kSelection.ToParam(), nullptr);
}

void CTrunkNumbFilterView::RefillTrunks() {
    const CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    RefillList([doc](IListControl& list) { doc->FillTrunkList(list); },
               static_cast<LPARAM>(GetInspectedTrunk()));
}

void CTrunkNumbFilterView::OnUpdate(CView* /*sender*/, LPARAM lHint, void* /*hintObject*/) {
    const BOOL wasUpdating = m_bUpdating;
    m_bUpdating = TRUE;
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint == CUpdateHint::kRefresh || hint == CUpdateHint::kRebuild) {
        RefillTrunks();
    } else if (hint == CUpdateHint::kSelection) {
        m_edit.SelectByData(static_cast<DWORD>(GetInspectedTrunk()));
        m_edit.Invalidate();
    }
    m_bUpdating = wasUpdating;
}

BOOL CTrunkNumbFilterView::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == kEditId && HIWORD(wParam) == cool_edit::kSelChange) {
        OnTrunkSelected();
        return TRUE;
    }
    return CKelvardinFilterView::OnCommand(wParam, lParam);
}

void CTrunkNumbFilterView::OnTrunkSelected() {
    CContext* context = GetContext();
    if (!context) return;
    // A choice the pane makes itself while it follows the screen is no step of the user's.
    if (!m_bUpdating) m_host.PushHistory(*context);
    const CPopupList* list = m_edit.GetPopupList();
    const bool any = list && list->GetItemCount() > 0;
    context->m_params[0] = static_cast<DWORD>(any ? m_edit.GetCurSelData() : -1);
    SendHint(CUpdateHint::kRefresh);
}

BOOL CTrunkNumbFilterView::OnCmdMsg(UINT id, CCmdUI* update) {
    if (id != ID_NEXT_ENTRY && id != ID_PREV_ENTRY)
        return CKelvardinFilterView::OnCmdMsg(id, update);
    if (update) {
        update->Enable(GetContext() != nullptr);
    } else {
        StepTrunk(id == ID_NEXT_ENTRY ? 1 : -1);
    }
    return TRUE;
}

void CTrunkNumbFilterView::StepTrunk(int step) {
    CContext* context = GetContext();
    if (!context || !GetDocument()) return;
    const int trunk = static_cast<int>(context->m_params[0]) + step;
    if (trunk < 0 || trunk >= GetApp().GetVisibleTrunkCount()) return;
    m_host.PushHistory(*context);
    context->m_params[0] = static_cast<DWORD>(trunk);
    SendHint(CUpdateHint::kSelection);
    SendHint(CUpdateHint::kRefresh);
}

void CTrunkNumbFilterView::SendHint(CUpdateHint hint) {
    if (CKelvardinDoc* doc = GetDocument()) doc->UpdateAllFrameViews(nullptr, hint);
}
