#include "screens/intercoms/icom_alpha_filter_view.h"

#include <algorithm>
#include <memory>

#include "link/command_codes.h"
#include "link/wire_labels.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "model/view_context.h"
#include "res/command_ids.h"
#include "screens/base/screen_host.h"
#include "screens/popups/popup_list.h"

namespace {

CKelvardinDoc* Document() {
    IUndoHost* host = GetApp().GetUndoHost();
    return host ? host->GetActiveDocument() : nullptr;
}

// The width that shows the control's label, its widest entry and its two kinds of buttons.
int FittingWidth(CCoolEdit& edit, int height) {
    const int button = std::max(height / 2, 9) + 1;
    const std::unique_ptr<CDC> dc = edit.GetDC();
    int widest = 0;
    if (const CPopupList* list = edit.GetPopupList()) {
        for (int i = 0; i < list->GetItemCount(); ++i)
            widest = std::max(widest, dc->GetTextExtent(list->GetItemText(i)).cx);
    }
    const CString& label = edit.GetCollapsedText();
    const int labelWidth =
        label.IsEmpty() ? 0 : dc->GetTextExtent(label).cx + cool_edit::kTextPadding;
    return labelWidth + widest + cool_edit::kTextPadding + 2 * button;
}

}  // namespace

CIcomAlphaFilterView::CIcomAlphaFilterView(IScreenHost& host) : m_host(host) {}

CIcomAlphaFilterView::~CIcomAlphaFilterView() = default;

BOOL CIcomAlphaFilterView::Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) {
    if (!CKelvardinFilterView::Create(frame, rect, parent, id)) return FALSE;
    m_type.SetExpandable(FALSE);
    m_type.SetFlatLabel(TRUE);
    m_type.SetButtonOrder(cool_edit::kStepUp, cool_edit::kDropButton);
    if (!m_type.Create(CRect(0, 0, 0, rect.Height()), this, kTypeEditId)) return FALSE;
    m_type.SetText(u"Showing:");
    // No click expands it, so it shows its choice from the start.
    m_type.Expand();
    for (CCoolEdit* edit : {&m_edit, &m_type}) {
        edit->SetListMode(TRUE);
        edit->SetFont(m_font);
        // Each list opens under its value, as a selector's list does.
        edit->SetPopupAnchor(cool_edit::kValue, cool_edit::kLeftBottom, cool_edit::kLeftTop);
    }
    LayOut();
    return TRUE;
}

CContext& CIcomAlphaFilterView::Context() const {
    return m_host.GetViewContext(kScreen);
}

int CIcomAlphaFilterView::ContextParam(int i) const {
    return static_cast<int>(Context().m_params[static_cast<size_t>(i)]);
}

void CIcomAlphaFilterView::FillIntercoms() {
    const CKelvardinDoc* doc = Document();
    if (!doc) return;
    RefillIcomList(*doc, ContextParam(0));
}

void CIcomAlphaFilterView::FillTypes() {
    const CKelvardinDoc* doc = Document();
    CPopupList* list = m_type.GetPopupList();
    if (!doc || !list) return;
    // As the base refills its own control: the choice the context holds is selected again, and
    // that is no choice of the user's.
    const BOOL wasUpdating = m_bUpdating;
    m_bUpdating = TRUE;
    doc->FillTypeList(*list, TRUE);
    if (list->GetItemCount() == 0) {
        m_type.SetCurSel(-1);
    } else {
        m_type.SelectByData(static_cast<DWORD>(ContextParam(1)));
    }
    m_type.Invalidate();
    m_bUpdating = wasUpdating;
}

void CIcomAlphaFilterView::OnInitialUpdate() {
    CKelvardinFilterView::OnInitialUpdate();
    FillIntercoms();
    FillTypes();
    LayOut();
}

void CIcomAlphaFilterView::OnUpdate(CView* /*sender*/, LPARAM lHint, void* hintObject) {
    const BOOL wasUpdating = m_bUpdating;
    m_bUpdating = TRUE;
    const auto hint = CUpdateHint::FromParam(lHint);
    const bool names = hint.IsReply(kCmdNames) &&
                       reinterpret_cast<LPARAM>(hintObject) == CWireLabelRange::kNameKind;
    if (hint == CUpdateHint::kRefresh || hint == CUpdateHint::kRebuild || names) {
        FillIntercoms();
        // Another controller may offer other alpha types.
        if (hint == CUpdateHint::kRebuild) FillTypes();
        LayOut();
    } else if (hint == CUpdateHint::kSelection) {
        // The intercom chosen elsewhere may be one the list has no entry for yet.
        FillIntercoms();
        LayOut();
        m_type.SelectByData(static_cast<DWORD>(ContextParam(1)));
        m_edit.Invalidate();
        m_type.Invalidate();
    }
    m_bUpdating = wasUpdating;
}

BOOL CIcomAlphaFilterView::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != cool_edit::kSelChange)
        return CKelvardinFilterView::OnCommand(wParam, lParam);
    if (m_bUpdating) return TRUE;
    if (LOWORD(wParam) == kEditId) {
        OnChoice(m_edit, 0);
    } else if (LOWORD(wParam) == kTypeEditId) {
        OnChoice(m_type, 1);
    } else {
        return CKelvardinFilterView::OnCommand(wParam, lParam);
    }
    return TRUE;
}

void CIcomAlphaFilterView::OnChoice(CCoolEdit& edit, int param) {
    const CPopupList* list = edit.GetPopupList();
    const LPARAM data = list && list->GetItemCount() > 0 ? edit.GetCurSelData() : -1;
    Context().m_params[static_cast<size_t>(param)] = static_cast<DWORD>(data);
    if (CKelvardinDoc* doc = Document()) doc->UpdateAllFrameViews(this, CUpdateHint::kRefresh);
    const BOOL wasUpdating = m_bUpdating;
    m_bUpdating = TRUE;
    edit.SelectByData(static_cast<DWORD>(data));
    m_bUpdating = wasUpdating;
    LayOut();
}

void CIcomAlphaFilterView::OnSize(UINT type, int cx, int cy) {
    CKelvardinFilterView::OnSize(type, cx, cy);
    LayOut();
}

void CIcomAlphaFilterView::LayOut() {
    if (!m_edit.IsWindow() || !m_type.IsWindow()) return;
    const CRect client = GetClientRect();
    const int first = std::clamp(FittingWidth(m_edit, client.Height()), 0, client.Width());
    m_edit.MoveWindow(CRect(0, 0, first, client.Height()));
    m_type.MoveWindow(CRect(first, 0, client.Width(), client.Height()));
    m_edit.Invalidate();
    m_type.Invalidate();
}

BOOL CIcomAlphaFilterView::OnCmdMsg(UINT id, CCmdUI* update) {
    // Enter on the screen opens the type list, as a click on its button would.
    if (id != ID_EDIT_CELL) return CKelvardinFilterView::OnCmdMsg(id, update);
    if (!update) m_type.OpenDropDown();
    return TRUE;
}
