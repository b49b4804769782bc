#include "screens/base/kelvardin_grid_ctrl.h"

#include <algorithm>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "model/validation_report.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/base/edit_scopes.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/record_marks.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_messages.h"
#include "screens/cells/kelvardin_grid_cell.h"

namespace {

// The starting character of an edit begun by an input method: the editor opens empty.
constexpr UINT kImeStart = 0x15;
constexpr UINT kHeaderFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

// Clears a flag however the scope is left.
class CFlagScope {
public:
    CFlagScope(bool& flag, bool on) : m_flag(flag) { m_flag = on; }
    ~CFlagScope() { m_flag = false; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

CKelvardinGridCtrl::CSortColumnEdit::CSortColumnEdit(CKelvardinGridCtrl& grid)
    : m_grid(grid), m_column(grid.m_nSortColumn) {}

CKelvardinGridCtrl::CSortColumnEdit::~CSortColumnEdit() {
    if (m_column < 0 || m_grid.m_nSortColumn >= 0) return;
    m_grid.SetSortColumn(m_column);
    if (CKelvardinGridView* view = m_grid.GetView()) view->SortDataChanged();
}

CKelvardinGridCtrl::CKelvardinGridCtrl() = default;

CKelvardinGridCtrl::~CKelvardinGridCtrl() = default;

CKelvardinGridView* CKelvardinGridCtrl::GetView() const {
    return dynamic_cast<CKelvardinGridView*>(GetParent());
}

IScreenHost* CKelvardinGridCtrl::GetHost() const {
    CKelvardinGridView* view = GetView();
    return view ? &view->GetHost() : nullptr;
}

CKelvardinDoc* CKelvardinGridCtrl::GetDocument() const {
    if (const CKelvardinGridView* view = GetView()) return view->GetDocument();
    IUndoHost* host = GetApp().GetUndoHost();
    return host ? host->GetActiveDocument() : nullptr;
}

BOOL CKelvardinGridCtrl::PasteWithUndo(int row, int col, COleDataObject* data) {
    const CSortColumnEdit edit(*this);
    const CUndoGroupScope group;
    return PasteTextToGrid(CCellID(row, col), data, TRUE);
}

void CKelvardinGridCtrl::CutSelectedText() {
    const CSortColumnEdit edit(*this);
    const CUndoGroupScope group;
    CGridCtrl::CutSelectedText();
}

void CKelvardinGridCtrl::OnEditPaste() {
    const CSortColumnEdit edit(*this);
    const CUndoGroupScope group;
    CGridCtrl::OnEditPaste();
}

void CKelvardinGridCtrl::OnMoveRefused() {
    // The move's paste runs in its own undo group: what landed goes back, and leaves no step.
    if (IUndoHost* host = GetApp().GetUndoHost()) host->TakeBackUndoGroup();
    TellMoveRefusal();
    if (CKelvardinDoc* doc = GetDocument())
        doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

void CKelvardinGridCtrl::BeginMovedCell() {
    BeginHoldingReports();
}

CGridCtrl::MoveTry CKelvardinGridCtrl::EndMovedCell(std::uint64_t key, bool stored, bool shown) {
    CHeldReports held = EndHoldingReports(stored);
    if (held.cancelled) {
        m_moveRefusals.clear();
        return MoveTry::kGivenUp;
    }
    const auto cell =
        std::ranges::find_if(m_moveRefusals, [key](const auto& r) { return r.first == key; });
    // A cell refused for nothing but holding its value already has landed.
    if (stored || (shown && held.reports.empty())) {
        if (cell != m_moveRefusals.end()) m_moveRefusals.erase(cell);
        return MoveTry::kLanded;
    }
    // The user's choice stands: a cell is not asked twice, and the move goes with its refusal.
    if (held.asked) {
        m_moveRefusals.assign(1, {key, std::move(held.reports)});
        return MoveTry::kGivenUp;
    }
    if (cell != m_moveRefusals.end())
        cell->second = std::move(held.reports);
    else
        m_moveRefusals.emplace_back(key, std::move(held.reports));
    return MoveTry::kRefused;
}

void CKelvardinGridCtrl::TellMoveRefusal() {
    const auto refusals = std::exchange(m_moveRefusals, {});
    // The cell refused for a reason of its own is told: one that waits on a field another
    // refused cell was to set would only mislead.
    const auto told = [](const auto& refusal) { return !refusal.second.empty(); };
    auto cell = std::ranges::find_if(refusals, [&](const auto& refusal) {
        return told(refusal) && std::ranges::none_of(refusal.second, &CHeldReport::waits);
    });
    if (cell == refusals.end()) cell = std::ranges::find_if(refusals, told);
    if (cell != refusals.end()) TellReports(cell->second);
}

void CKelvardinGridCtrl::OnBeginDrag() {
    const CSortColumnEdit edit(*this);
    CGridCtrl::OnBeginDrag();
}

void CKelvardinGridCtrl::OnDragLeave() {
    CGridCtrl::OnDragLeave();
    // The order check that waited for the drag can run now.
    if (CKelvardinGridView* view = GetView()) view->KeepSortOrderSoon();
}

// Whether the drop moves is the grid's own answer to the drag, which a move of its own cells
// follows; a drop from elsewhere is checked as typed text is, whatever its action.
BOOL CKelvardinGridCtrl::OnDrop(COleDataObject* data, DROPEFFECT /*effect*/, CPoint /*point*/) {
    const BOOL dropped = DropText(data);
    OnDragLeave();
    return dropped;
}

BOOL CKelvardinGridCtrl::DropText(COleDataObject* data) {
    m_MouseMode = MOUSE_NOTHING;
    if (!m_bAllowDragAndDrop || !m_bEditable) return FALSE;
    const CCellID target = m_LastDragOverCell;
    if (!IsValid(target) || (GetItemState(target.row, target.col) & CELL_READONLY)) return FALSE;
    ClearDropHighlight();
    // A move within this grid also clears the cells it came from, inside the same undo step.
    const CMoveDropScope move(*this, data);
    return PasteWithUndo(target.row, target.col, data);
}

void CKelvardinGridCtrl::PrintHeader(CDC* dc, CPrintInfo* info) {
    if (!dc || !info) return;
    const IScreenHost* host = GetHost();
    CString text = host ? host->GetFrameText() : CString();
    const CString filter = host ? host->GetFilterText() : CString();
    if (!filter.IsEmpty()) {
        if (!text.IsEmpty()) text += u" - ";
        text += filter;
    }
    LogFont bold = m_PrinterFont;
    bold.lfWeight = FW_BOLD;
    const LogFont previousFont = dc->SelectFont(bold);
    const int previousMode = dc->SetBkMode(TRANSPARENT);
    const CRect& rect = info->m_rectDraw;
    dc->DrawText(text, rect, kHeaderFormat);
    dc->SetBkMode(previousMode);
    dc->SelectFont(previousFont);

    const CPen previousPen = dc->SelectPen(CPen{PS_SOLID, 0, RGB(0, 0, 0)});
    dc->MoveTo(rect.left, rect.bottom);
    dc->LineTo(rect.right, rect.bottom);
    dc->SelectPen(previousPen);
}

void CKelvardinGridCtrl::OnFixedRowClick(CCellID& cell) {
    const CFlagScope sorting(m_bSorting, m_bSortOnClick != FALSE);
    ++m_nSortPass;
    if (!IsValid(cell)) return;
    if (m_bSortOnClick) {
        CWaitCursor wait;
        // Empty values stay at the end both ways: the comparisons hear -1 for an ascending
        // sort and +1 for a descending one.
        BOOL ascending = TRUE;
        LPARAM param = -1;
        if (cell.col == m_nSortColumn) {
            ascending = !m_bAscending;
            param = m_bAscending ? 1 : -1;
        }
        SortItems(cell.col, ascending, param);
        Invalidate();
        if (CKelvardinDoc* doc = GetDocument())
            doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
    }
    if (m_bFixedColumnSelection) {
        m_MouseMode = cell.col < m_nFixedCols ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
        OnSelecting(cell);
    }
}

bool CKelvardinGridCtrl::RestoreSortOrder() {
    if (!m_bSortOnClick || m_nSortColumn < 0 || m_nSortColumn >= m_nCols || GetInPlaceEditor())
        return false;
    // The parameter a header click gave the sort: empty values stay at the end both ways.
    const LPARAM param = m_bAscending ? -1 : 1;
    {
        const CFlagScope sorting(m_bSorting, true);
        ++m_nSortPass;
        if (IsInSortOrder(param)) return false;
    }
    // The marks read the records of the rows, which a cell lent for a sort's comparison may
    // not carry: they are taken and put back while no sort runs.
    const CRecordMarks marks(*this);
    {
        const CFlagScope sorting(m_bSorting, true);
        ++m_nSortPass;
        SortItems(m_nSortColumn, m_bAscending, param);
    }
    marks.Restore(*this);
    Invalidate();
    return true;
}

void CKelvardinGridCtrl::OnEndEditCell(int row, int col, const CString& text) {
    // The edit may put its row elsewhere in the order: the row is moved there, not the mark
    // dropped.
    const CSortColumnEdit edit(*this);
    CGridCtrl::OnEndEditCell(row, col, text);
}

void CKelvardinGridCtrl::OnEditorClosed() {
    // An order check that waited for the edit can run now.
    if (CKelvardinGridView* view = GetView()) view->KeepSortOrderSoon();
}

void CKelvardinGridCtrl::OnEditCell(int row, int col, CPoint point, UINT ch) {
    // Screens that edit a cell in a dialog of their own do it on Enter.
    if (ch == VK_RETURN && GetParent()) GetParent()->PostMessage(WM_COMMAND, ID_EDIT_CELL, 0);
    CGridCtrl::OnEditCell(row, col, point, ch);
}

void CKelvardinGridCtrl::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
    if (IsValid(m_idCurrentCell) && GetParent() && GetParent()->SendMessage(WM_GRID_KEYDOWN, vk, 0))
        return;
    CGridCtrl::OnKeyDown(vk, repeat, flags);
}

void CKelvardinGridCtrl::OnSysKeyDown(UINT vk, UINT repeat, UINT flags) {
    if (IsValid(m_idCurrentCell) && GetParent() &&
        GetParent()->SendMessage(WM_GRID_SYSKEYDOWN, vk, 0))
        return;
    CGridCtrl::OnSysKeyDown(vk, repeat, flags);
}

void CKelvardinGridCtrl::OnLButtonUp(UINT flags, CPoint point) {
    CGridCtrl::OnLButtonUp(flags, point);
    // An order check that waited for the press can run now.
    if (CKelvardinGridView* view = GetView()) view->KeepSortOrderSoon();
}

void CKelvardinGridCtrl::OnCaptureChanged(CWnd* wnd) {
    CGridCtrl::OnCaptureChanged(wnd);
    if (CKelvardinGridView* view = GetView()) view->KeepSortOrderSoon();
}

void CKelvardinGridCtrl::OnRButtonUp(UINT flags, CPoint point) {
    // A click outside the selection makes the clicked cell the selection; one inside keeps it.
    const CCellID cell = GetCellFromPt(point, TRUE);
    if (IsValid(cell) && !IsCellSelected(cell)) {
        SetSelectedRange(-1, -1, -1, -1);
        SetFocusCell(-1, -1);
        SetSelectedRange(cell.row, cell.col, cell.row, cell.col);
    }
    CGridCtrl::OnRButtonUp(flags, point);
}

void CKelvardinGridCtrl::OnSetFocus(CWnd* oldWnd) {
    CGridCtrl::OnSetFocus(oldWnd);
    if (IsValid(m_idCurrentCell)) return;
    const CCellID first(m_nFixedRows, m_nFixedCols);
    if (!IsValid(first)) return;
    SetFocusCell(first);
    SetSelectedRange(first.row, first.col, first.row, first.col);
}

BOOL CKelvardinGridCtrl::OnImeStartComposition() {
    const CCellID focus = m_idCurrentCell;
    if (!IsValid(focus)) return FALSE;
    OnEditCell(focus.row, focus.col, CPoint(-1, -1), kImeStart);
    const CGridCellBase* cell = GetCell(focus.row, focus.col);
    return cell && cell->IsEditing();
}

LRESULT CKelvardinGridCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ROWS_HEIGHT) return RowsHeight(lParam);
    return CGridCtrl::WindowProc(message, wParam, lParam);
}

int CKelvardinGridCtrl::RowsHeight(LPARAM n) const {
    if (m_nRows == 0) return 0;
    if (n < 0) n = m_nRows;
    return static_cast<int>(GetRowHeight(0) * n);
}

void CKelvardinGridCtrl::KeepFocusOnShownRow() {
    const CCellID focus = m_idCurrentCell;
    if (!IsValid(focus) || focus.row < m_nFixedRows || GetRowHeight(focus.row) > 0) return;
    int row = -1;
    for (int r = focus.row + 1; r < m_nRows && row < 0; ++r) {
        if (GetRowHeight(r) > 0) row = r;
    }
    for (int r = focus.row - 1; r >= m_nFixedRows && row < 0; --r) {
        if (GetRowHeight(r) > 0) row = r;
    }
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1);
    const CCellID next = row < 0 ? CCellID() : CCellID(row, focus.col);
    SetFocusCell(next);
    if (row >= 0) SetSelectedRange(row, focus.col, row, focus.col);
    m_SelectionStartCell = next;
}

void CKelvardinGridCtrl::FindCellForObject(CCellID& cell, const CObjSpec& obj,
                                           const CObjSpec& altSpec) const {
    const bool anyAlt = altSpec.IsEmpty() || altSpec.m_nFieldId == CObjSpec::kEntryAssignKey;
    for (int row = m_nFixedRows; row < m_nRows; ++row) {
        for (int col = m_nFixedCols; col < m_nCols; ++col) {
            const auto* screenCell = dynamic_cast<const CKelvardinGridCell*>(GetCell(row, col));
            if (!screenCell || !(screenCell->GetObjSpec() == obj)) continue;
            if (anyAlt || screenCell->GetAltObjSpec() == altSpec) {
                cell = CCellID(row, col);
                return;
            }
        }
    }
    cell = CCellID();
}

void CKelvardinGridCtrl::RedrawGridRow(int row) {
    InvalidateRangeRect(CCellRange(row, 0, row, m_nCols - 1));
}

void CKelvardinGridCtrl::RedrawGridColumn(int col) {
    InvalidateRangeRect(CCellRange(0, col, m_nRows - 1, col));
}
