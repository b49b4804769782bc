#include "screens/memory/memory_filter_view.h"

#include <algorithm>

#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/doc_views.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "screens/base/pane_frame.h"
#include "screens/memory/memory_rules.h"
#include "screens/popups/popup_list.h"

namespace {

constexpr int kMinButtonWidth = 9;

}  // namespace

CMemoryFilterView::CMemoryFilterView(CCVDataMgr& data) : m_data(data) {}

CMemoryFilterView::~CMemoryFilterView() {
    m_data.SetMemoryCpu(0);
}

BOOL CMemoryFilterView::Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) {
    if (!CKelvardinFilterView::Create(frame, rect, parent, id)) return FALSE;
    m_bUpdating = TRUE;
    m_edit.SetSpinMode();
    m_edit.SetEditable(TRUE);
    m_edit.SetStep(kAddressStep);
    m_cpu.SetExpandable(FALSE);
    m_cpu.SetFlatLabel(TRUE);
    if (!m_cpu.Create(GetClientRect(), this, kCpuId)) return FALSE;
    m_cpu.SetListMode(FALSE);
    m_cpu.SetText(u"Corvane:");
    // No click expands it, so it shows its choice from the start.
    m_cpu.Expand();
    m_cpu.SetFont(m_font);
    FillCpuList();
    m_bUpdating = FALSE;
    LayOut();
    return TRUE;
}

void CMemoryFilterView::FillCpuList() {
    CPopupList* list = m_cpu.GetPopupList();
    if (!list) return;
    list->DeleteAll();
    if (list->GetColumnCount() == 0) list->AddColumn(u"CV");
    list->InsertItem(-1, LoadResString(kIdsActive), 0);
    if (m_data.GetStandbyAddress() != 0) list->InsertItem(-1, LoadResString(kIdsStandby), 1);
    m_cpu.SetCurSel(0);
}

CKelvardinDoc* CMemoryFilterView::GetDocument() const {
    IUndoHost* host = GetApp().GetUndoHost();
    return host ? host->GetActiveDocument() : nullptr;
}

void CMemoryFilterView::SendHint(CUpdateHint hint, LPARAM object) {
    if (CKelvardinDoc* doc = GetDocument()) doc->UpdateAllFrameViews(nullptr, hint, object);
}

void CMemoryFilterView::OnInitialUpdate() {
    CKelvardinFilterView::OnInitialUpdate();
    ShowWindow(SW_SHOW);
    OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
}

void CMemoryFilterView::OnUpdate(CView* /*sender*/, LPARAM lHint, void* /*hintObject*/) {
    if (CUpdateHint::FromParam(lHint) != CUpdateHint::kRefresh || !GetFrame()) return;
    const BOOL wasUpdating = m_bUpdating;
    m_bUpdating = TRUE;
    m_edit.SetValue(memory_rules::CurrentAddress(GetFrame()->GetViewContext(kScreenMemory)));
    m_edit.Invalidate();
    m_bUpdating = wasUpdating;
}

BOOL CMemoryFilterView::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != cool_edit::kSelChange || m_bUpdating)
        return CKelvardinFilterView::OnCommand(wParam, lParam);
    if (LOWORD(wParam) == kCpuId) {
        OnCpuChosen();
        return TRUE;
    }
    if (LOWORD(wParam) == kEditId) {
        SendHint(CUpdateHint::kMemoryPage, static_cast<LPARAM>(m_edit.GetValue()));
        return TRUE;
    }
    return CKelvardinFilterView::OnCommand(wParam, lParam);
}

void CMemoryFilterView::OnCpuChosen() {
    // The old processor's pending writes are settled first.
    SendHint(CUpdateHint::kMemoryContent);
    const LPARAM cpu = m_cpu.GetCurSelData();
    // Only the two processors there are can be chosen; anything else leaves the choice be.
    if (cpu == 0 || cpu == 1) {
        m_data.SetMemoryCpu(static_cast<int>(cpu));
        m_bUpdating = TRUE;
        m_cpu.SelectByData(static_cast<DWORD>(cpu));
        m_bUpdating = FALSE;
    }
    SendHint(CUpdateHint::kMemoryPage, static_cast<LPARAM>(m_edit.GetValue()));
    LayOut();
}

void CMemoryFilterView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    LayOut();
}

void CMemoryFilterView::LayOut() {
    if (!m_cpu.IsWindow() || !m_edit.IsWindow()) return;
    const CRect client = GetClientRect();
    // Laid out over the whole pane first, the processor field tells how wide its label, text
    // and button are; its button is as wide as half its height.
    m_cpu.MoveWindow(client);
    const int button = std::max(client.Height() / 2, kMinButtonWidth);
    const int width =
        std::min(m_cpu.GetAreaRect(cool_edit::kDropButton).left + button, client.Width());
    m_cpu.MoveWindow(CRect(client.left, client.top, client.left + width, client.bottom));
    m_edit.MoveWindow(CRect(client.left + width, client.top, client.right, client.bottom));
    m_cpu.Invalidate();
    m_edit.Invalidate();
}
