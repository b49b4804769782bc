#include "screens/base/kelvardin_filter_view.h"

#include <QWidget>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "screens/base/pane_frame.h"
#include "screens/popups/popup_list.h"

namespace {

constexpr DWORD kHelpBit = 0x20000000;
constexpr DWORD kScreenHelpBase = 0x20000;
constexpr UINT kHelpContext = 0x0001;

}  // namespace

CKelvardinFilterView::CKelvardinFilterView() = default;
CKelvardinFilterView::~CKelvardinFilterView() = default;

BOOL CKelvardinFilterView::Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) {
    m_pFrame = frame;
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE, rect, parent, id)) return FALSE;
    // The control covers the pane, which therefore paints nothing itself.
    SetOpaquePaint(TRUE);
    m_edit.SetExpandable(FALSE);
    m_edit.SetFlatLabel(TRUE);
    m_edit.SetButtonOrder(cool_edit::kStepUp, cool_edit::kDropButton);
    if (!m_edit.Create(GetClientRect(), this, kEditId)) return FALSE;
    if (m_pFrame) {
        m_font = m_pFrame->GetPaneFont();
        m_edit.SetFont(m_font);
    }
    return TRUE;
}

CString& CKelvardinFilterView::GetFilterText(CString& text) const {
    if (!m_edit.IsExpanded()) {
        text = m_edit.GetCollapsedText();
        return text;
    }
    text = m_edit.GetExpandedText();
    const CString& value = m_edit.GetValueText();
    if (!text.IsEmpty() && !value.IsEmpty()) text += u" ";
    text += value;
    return text;
}

void CKelvardinFilterView::RefillList(const std::function<void(IListControl&)>& fill, LPARAM data) {
    CPopupList* list = m_edit.GetPopupList();
    if (!list) return;
    const BOOL wasUpdating = m_bUpdating;
    m_bUpdating = TRUE;
    fill(*list);
    if (list->GetItemCount() == 0) {
        m_edit.SetCurSel(-1);
    } else {
        m_edit.SelectByData(static_cast<DWORD>(data));
    }
    m_edit.Invalidate();
    m_bUpdating = wasUpdating;
}

void CKelvardinFilterView::RefillIcomList(const CKelvardinDoc& doc, int icom) {
    const CPopupList* popup = m_edit.GetPopupList();
    RefillList(
        [&doc, icom, popup](IListControl& list) {
            doc.FillIcomList(list, TRUE);
            if (!popup || icom < 0 || icom >= GetApp().GetVisibleIcomCount()) return;
            // After the all-intercoms entry; among the others by number when they stand so.
            int row = 1;
            for (int i = 0; i < popup->GetItemCount(); ++i) {
                if (popup->GetItemData(i) == icom) return;
                if (GetApp().m_bSortIntercomsByIntercomNumber && popup->GetItemData(i) < icom)
                    row = i + 1;
            }
            list.InsertItem(row, CString::Formatted(u"#%d", icom + 1), icom);
        },
        icom);
}

DWORD CKelvardinFilterView::GetActiveHelpID() const {
    if (!m_pFrame) return kHelpBit;
    if (const std::optional<DWORD> grid = m_pFrame->GetCurrentGridHelpID()) return *grid | kHelpBit;
    switch (m_pFrame->GetCurrentViewID()) {
        case kScreenCommandLine: return (kScreenHelpBase + ID_VIEW_CLP) | kHelpBit;
        case kScreenLog: return (kScreenHelpBase + ID_VIEW_LOG_FILE) | kHelpBit;
        default: return kHelpBit;
    }
}

DWORD CKelvardinFilterView::OnHelpHitTest(CPoint point) const {
    if (!m_edit.IsWindow() || !m_edit.IsWindowVisible()) return 0;
    CRect rect;
    m_edit.GetWindowRect(&rect);
    ScreenToClient(&rect);
    if (!rect.PtInRect(point)) return 0;
    // In 32 bits the help id keeps only its low half, which moves to the high half.
    return (GetActiveHelpID() << 16) + m_edit.GetDlgCtrlID();
}

LRESULT CKelvardinFilterView::OnCommandHelp() {
    if (m_pFrame) m_pFrame->WinHelp(GetActiveHelpID(), kHelpContext);
    return 1;
}

LRESULT CKelvardinFilterView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMANDHELP) return OnCommandHelp();
    return CView::WindowProc(message, wParam, lParam);
}

void CKelvardinFilterView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    // The control's buttons show their tips.
    EnableToolTips(TRUE);
}

void CKelvardinFilterView::OnUpdate(CView*, LPARAM, void*) {}

void CKelvardinFilterView::OnDraw(CDC&) {}

void CKelvardinFilterView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    if (!m_edit.IsWindow()) return;
    m_edit.MoveWindow(CRect(0, 0, cx, cy));
    m_edit.Invalidate();
}

void CKelvardinFilterView::OnSetFocus(CWnd*) {
    if (!m_pFrame) return;
    const int screen = m_pFrame->GetCurrentViewID();
    if (screen != kScreenCommandLine && screen != kScreenLog) return;
    if (CView* view = m_pFrame->GetCurrentMainView()) view->SetFocus();
}

BOOL CKelvardinFilterView::OnCmdMsg(UINT id, CCmdUI* update) {
    if (id != ID_OPEN_DROP_DOWN) return CView::OnCmdMsg(id, update);
    if (update) {
        update->Enable(m_edit.CanOpenDropDown());
    } else {
        m_edit.OpenDropDown();
    }
    return TRUE;
}
