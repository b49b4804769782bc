#include "screens/base/kelvardin_grid_view.h"

#include <optional>
#include <utility>
#include <vector>

#include "link/command_codes.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "platform/ui/modal.h"
#include "platform/ui/nested_loop.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/print_command.h"
#include "screens/base/record_marks.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_messages.h"
#include "screens/cells/kelvardin_grid_cell.h"

namespace {

constexpr DWORD kGridStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL;
constexpr UINT kHelpContext = 1;
constexpr char16_t kNoRoomToPrint[] =
    u"Printing failed: at this screen's width the page has no room for a row. Try the portrait "
    u"orientation.";

bool IsGridCommand(UINT id) {
    return id == ID_EDIT_CUT || id == ID_EDIT_COPY || id == ID_EDIT_PASTE ||
           id == ID_EDIT_SELECT_ALL;
}

}  // namespace

DWORD GridCellHelpId(DWORD offset, DWORD helpId, int column) {
    // Unsigned 32-bit arithmetic: the high half of the help id is shifted out on purpose.
    return offset + helpId * 0x10000u + static_cast<DWORD>(column) + 1u;
}

CKelvardinGridView::CKelvardinGridView(IScreenHost& host) : m_host(host) {}

CKelvardinGridView::~CKelvardinGridView() {
    // The window goes first, so that its widths are saved while the grid is still here.
    DestroyWindow();
}

CKelvardinDoc* CKelvardinGridView::GetDocument() const {
    return m_host.GetDocument();
}

std::unique_ptr<CKelvardinGridCtrl> CKelvardinGridView::NewGridCtrl() {
    return std::make_unique<CKelvardinGridCtrl>();
}

void CKelvardinGridView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    if (!m_pGrid) CreateGrid();
    UpdateGrid();
}

void CKelvardinGridView::CreateGrid() {
    // What the user had selected, and where the focus was, on the records they stand for.
    std::optional<CRecordMarks> marks;
    if (m_pGrid) {
        marks.emplace(*m_pGrid);
        KeepColumnWidths();
        m_pGrid.reset();
    }
    m_columnWidths.clear();

    m_pGrid = NewGridCtrl();
    CKelvardinGridCtrl& grid = *m_pGrid;
    grid.Create(GetClientRect(), this, kGridId, kGridStyle);
    grid.SetRedraw(FALSE);
    grid.SetFixedRowSelection(TRUE);
    grid.SetFixedColumnSelection(FALSE);
    grid.SetHandleTabKey(TRUE);
    grid.EnableTitleTips(TRUE);
    grid.EnableDragAndDrop(GetApp().m_bAllowDragDrop ? TRUE : FALSE);
    grid.SetTrackFocusCell(TRUE);
    grid.SetRowResize(FALSE);
    grid.SetSortColumn(0);
    grid.SetSortAscending(TRUE);
    grid.SetHeaderSort(TRUE);
    grid.EnableColumnCompare(TRUE);
    grid.SetDefaultCellType(CellClassOf<CKelvardinGridCell>());
    m_nDefColWidth = grid.GetDefaultCell(FALSE, FALSE)->GetWidth();
    for (BOOL fixedRow : {FALSE, TRUE}) {
        for (BOOL fixedCol : {FALSE, TRUE})
            grid.GetDefaultCell(fixedRow, fixedCol)->SetWidth(1);
    }

    SetupGrid();
    LoadColumnWidths();

    if (marks) marks->Restore(grid);
    // A record the filter now hides takes the focus no more.
    grid.KeepFocusOnShownRow();

    grid.SetRedraw(TRUE);
    grid.Invalidate();
    grid.ResetScrollBars();
    // A hidden screen rebuilt for a new configuration takes no focus from the one shown.
    if (IsWindowVisible()) grid.SetFocus();
}

void CKelvardinGridView::OnUpdate(CView* /*sender*/, LPARAM lHint, void* /*hintObject*/) {
    if (!m_pGrid || !m_host.IsCurrentScreen(*this)) return;
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint == CUpdateHint::kRefresh || hint == CUpdateHint::kRebuild) {
        UpdateGrid();
        m_pGrid->Invalidate();
        // A setup read, restored or undone changes texts under the rows without a reply, as
        // does what the screen missed while hidden. A header sort's own refresh needs none.
        if (!m_pGrid->IsSorting()) m_bSortCheckDue = true;
        KeepSortOrderSoon();
    } else if (hint.IsReply()) {
        if (hint.IsReply(kCmdStatus)) UpdateGrid();
        // A reply may change how any cell looks, not only those of its own data (a rule that
        // reads one record to colour another), and any column's texts: every cell is compared,
        // and the rows checked against the sort column, at the paint tick.
        m_bSortCheckDue = true;
        PaintChangedCells();
    }
    ScheduleColumnFit();
}

void CKelvardinGridView::PaintChangedCells() {
    // A hidden screen is painted whole when it is shown again.
    if (!m_host.IsCurrentScreen(*this)) return;
    if (!m_paintTimer.IsRunning() && IsWindow())
        m_paintTimer.Start(this, m_host.GetScreenTiming().replyPaintMs);
}

void CKelvardinGridView::PaintPendingChanges() {
    m_paintTimer.Stop();
    if (!m_pGrid) return;
    m_pGrid->InvalidateChangedCells();
    // Once for all the replies of the interval: a check costs a pass over every row.
    KeepSortOrderSoon();
}

void CKelvardinGridView::SortDataChanged() {
    m_bSortCheckDue = true;
    KeepSortOrderSoon();
}

void CKelvardinGridView::RowFilterChanged() {
    m_bFilterDue = true;
    KeepSortOrderSoon();
}

void CKelvardinGridView::KeepSortOrderSoon() {
    const bool due = m_bSortCheckDue || m_bFilterDue || m_bRebuildDue;
    if (!due || m_bRowCheckPosted || !IsWindow()) return;
    m_bRowCheckPosted = true;
    PostMessage(WM_KEEP_ROW_ORDER);
}

bool CKelvardinGridView::AreRowsHeld() const {
    return IsNestedLoopRunning() ||
           (m_pGrid &&
            (m_pGrid->IsDragOver() || m_pGrid->GetInPlaceEditor() || m_pGrid->IsTrackingPress()));
}

bool CKelvardinGridView::DeferRebuild(LPARAM hint) {
    // An open edit or a press goes with the grid.
    const bool held = IsNestedLoopRunning() || (m_pGrid && m_pGrid->IsDragOver());
    if (CUpdateHint::FromParam(hint) != CUpdateHint::kRebuild || !held) return false;
    m_bRebuildDue = true;
    KeepSortOrderSoon();
    return true;
}

void CKelvardinGridView::RefilterRows() {
    if (AreRowsHeld()) {
        RowFilterChanged();
    } else {
        ApplyRowFilter();
    }
}

void CKelvardinGridView::KeepRowOrder() {
    m_bRowCheckPosted = false;
    if (!m_pGrid) return;
    // A loop over the screen asks again when it ends; the other holders when they let go.
    if (IsNestedLoopRunning()) {
        m_bRowCheckPosted = true;
        PostWhenNestedLoopsEnd(*this, WM_KEEP_ROW_ORDER);
        return;
    }
    if (AreRowsHeld()) return;
    if (std::exchange(m_bRebuildDue, false))
        OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    // A hidden screen checks when it is shown.
    if (!m_pGrid || !m_host.IsCurrentScreen(*this)) return;
    bool filter = std::exchange(m_bFilterDue, false);
    if (m_bSortCheckDue) {
        m_bSortCheckDue = false;
        // Hidden rows are kept by position: the filter goes with the rows that moved.
        if (m_pGrid->RestoreSortOrder()) filter = true;
    }
    if (filter) ApplyRowFilter();
}

bool CKelvardinGridView::TakeHint(CView* sender, LPARAM lHint, void* hintObject) {
    if (!m_pGrid || DeferRebuild(lHint)) return false;
    if (CUpdateHint::FromParam(lHint) == CUpdateHint::kRebuild) {
        CreateGrid();
        UpdateGrid();
        // The rows were sorted on the texts of the moment, which a file read may still change.
        SortDataChanged();
        return false;
    }
    CKelvardinGridView::OnUpdate(sender, lHint, hintObject);
    return true;
}

void CKelvardinGridView::OnColumnClick(int /*column*/, int /*ascending*/) {}

LRESULT CKelvardinGridView::OnGridRClick(NM_GRIDVIEW* /*record*/) {
    return 0;
}

CPoint CKelvardinGridView::GetContextMenuPoint(const NM_GRIDVIEW* record) {
    const CPoint cursor = GetCursorPos();
    CRect rect;
    if (!m_pGrid || !record || !m_pGrid->GetCellRect(record->iRow, record->iColumn, &rect))
        return cursor;
    m_pGrid->ClientToScreen(&rect);
    // The rectangle holds its last pixel.
    const CRect inside(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
    return inside.PtInRect(cursor) ? cursor : rect.CenterPoint();
}

// The keyboard's context menu needs a focus cell in sight to stand at.
bool CKelvardinGridView::HasContextMenuCell() const {
    if (!m_pGrid) return false;
    const CCellID focus = m_pGrid->GetFocusCell();
    CRect rect;
    return focus.row >= 0 && focus.col >= 0 && m_pGrid->IsCellVisible(focus) &&
           m_pGrid->GetCellRect(focus, &rect);
}

void CKelvardinGridView::OnContextMenuKey() {
    if (!HasContextMenuCell()) return;
    const CCellID focus = m_pGrid->GetFocusCell();
    NM_GRIDVIEW record;
    record.hdr.hwndFrom = m_pGrid.get();
    record.hdr.idFrom = kGridId;
    record.hdr.code = NM_RCLICK;
    record.iRow = focus.row;
    record.iColumn = focus.col;
    OnGridRClick(&record);
}

void CKelvardinGridView::OnUpdateCommand(CCmdUI* update) {
    if (update) update->Enable(GetApp().IsCommandEnabled(update->m_nID));
}

BOOL CKelvardinGridView::OnCmdMsg(UINT id, CCmdUI* update) {
    // The grid's own commands come first.
    if (m_pGrid && m_pGrid->IsWindow() && IsGridCommand(id)) {
        if (!update) {
            m_pGrid->OnCommand(id, 0);
        } else if (id == ID_EDIT_CUT) {
            update->Enable(m_pGrid->CanCut());
        } else if (id == ID_EDIT_COPY) {
            update->Enable(m_pGrid->CanCopy());
        } else if (id == ID_EDIT_PASTE) {
            update->Enable(m_pGrid->CanPaste());
        } else {
            // Select All does nothing on a grid whose selection is turned off.
            update->Enable(m_pGrid->IsSelectable() && m_pGrid->GetRowCount() > 0);
        }
        return TRUE;
    }
    switch (id) {
        case ID_CELL_CONTEXT_MENU:
            if (update) {
                update->Enable(HasContextMenuCell());
            } else {
                OnContextMenuKey();
            }
            return TRUE;
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
            if (update) {
                OnUpdateCommand(update);
            } else {
                RunPrint(id);
            }
            return TRUE;
        case ID_FILE_PRINT_DIRECT:
            if (!update) RunPrint(id);
            return TRUE;
        default: return CView::OnCmdMsg(id, update);
    }
}

BOOL CKelvardinGridView::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    return OnCmdMsg(LOWORD(wParam), nullptr);
}

BOOL CKelvardinGridView::OnNotify(WPARAM id, NMHDR* header, LRESULT* result) {
    if (id != kGridId || !header) return CView::OnNotify(id, header, result);
    switch (header->code) {
        case GRIDN_GETDISPINFO: {
            auto* record = reinterpret_cast<GridDisplayRecord*>(header);
            record->text.Format(u"Cell %d,%d", record->row, record->column);
            break;
        }
        case GRIDN_ODCACHEHINT: break;
        case GRIDN_COLUMNCLICK: {
            // A sort is under way: the rows will stand in its order.
            m_bSortCheckDue = false;
            const auto* record = reinterpret_cast<NM_GRIDVIEW*>(header);
            OnColumnClick(record->iColumn, record->iRow);
            break;
        }
        case NM_RCLICK: {
            const LRESULT answer = OnGridRClick(reinterpret_cast<NM_GRIDVIEW*>(header));
            if (result) *result = answer;
            return TRUE;
        }
        default: return CView::OnNotify(id, header, result);
    }
    if (result) *result = 1;
    return TRUE;
}

LRESULT CKelvardinGridView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SCREEN_HAS_CHANGES: return 0;
        case WM_SCREEN_CLEAR_CHANGES: return OnClearChanges();
        case WM_COMMANDHELP: OnCommandHelp(); return 1;
        case WM_KEEP_ROW_ORDER: KeepRowOrder(); return 0;
        case WM_SCREEN_LEAVING:
            // Hidden, the screen hears no replies: its order is checked when it is shown.
            m_bSortCheckDue = true;
            m_paintTimer.Stop();
            return CView::WindowProc(message, wParam, lParam);
        default: return CView::WindowProc(message, wParam, lParam);
    }
}

void CKelvardinGridView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    if (m_pGrid && m_pGrid->IsWindow()) m_pGrid->MoveWindow(CRect(0, 0, cx, cy), TRUE);
}

void CKelvardinGridView::OnSetFocus(CWnd* oldWnd) {
    if (m_pGrid && m_pGrid->IsWindow()) {
        m_pGrid->SetFocus();
        return;
    }
    CView::OnSetFocus(oldWnd);
}

void CKelvardinGridView::OnDestroy() {
    SaveColumnWidths();
    CView::OnDestroy();
}

void CKelvardinGridView::OnTimer(UINT_PTR id) {
    if (id != 0 && id == m_paintTimer.m_nCurrentId) return PaintPendingChanges();
    if (id == 0 || id != m_fitTimer.m_nCurrentId) return CView::OnTimer(id);
    m_fitTimer.Stop();
    if (m_host.IsCurrentScreen(*this)) FitColumnsWithNewData();
}

DWORD CKelvardinGridView::OnHelpHitTest(CPoint point) {
    const DWORD helpId = GetHelpID();
    if (!m_pGrid) return helpId;
    const CCellID cell = m_pGrid->GetCellFromPt(point, TRUE);
    if (cell.row < 0 || cell.col < 0) return helpId;
    return GridCellHelpId(m_nHelpOffset, helpId, cell.col);
}

void CKelvardinGridView::OnCommandHelp() {
    m_host.WinHelp(GetHelpID(), kHelpContext);
}

BOOL CKelvardinGridView::OnPreparePrinting(CPrintInfo& /*info*/) {
    return TRUE;
}

void CKelvardinGridView::OnBeginPrinting(CDC& dc, CPrintInfo& info) {
    if (!m_pGrid) return;
    m_pGrid->OnBeginPrinting(&dc, &info);
    // The grid's page count is 0 when the page it scales to has no room for any row.
    m_bNoRoomToPrint = info.GetMaxPage() == 0;
}

void CKelvardinGridView::OnPrint(CDC& dc, CPrintInfo& info) {
    if (m_pGrid) m_pGrid->OnPrint(&dc, &info);
}

void CKelvardinGridView::OnEndPrinting(CDC& dc, CPrintInfo& info) {
    if (m_pGrid) m_pGrid->OnEndPrinting(&dc, &info);
}

void CKelvardinGridView::RunPrint(UINT command) {
    m_bNoRoomToPrint = false;
    RunPrintCommand(*this, command, m_host.GetWindow());
    if (m_bNoRoomToPrint) ModalMessageBox(kNoRoomToPrint, MB_OK | MB_ICONEXCLAMATION);
}
