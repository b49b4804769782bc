// Dragging selected cells out of the grid, and drops onto it.
#include <QBitmap>
#include <QPainter>
#include <QPixmap>

#include "grid/grid_ctrl.h"
#include "platform/ui/nested_loop.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/qt_dc.h"

BOOL CGridDropTarget::Register(CGridCtrl* grid) {
    if (m_bRegistered || !grid || !grid->IsWindow()) return m_bRegistered;
    m_pGridCtrl = grid;
    grid->RegisterDropTarget(TRUE);
    m_bRegistered = TRUE;
    return TRUE;
}

void CGridDropTarget::Revoke() {
    if (m_bRegistered && m_pGridCtrl && m_pGridCtrl->IsWindow())
        m_pGridCtrl->RegisterDropTarget(FALSE);
    m_bRegistered = FALSE;
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState,
                                        CPoint point) {
    if (!m_pGridCtrl || wnd != m_pGridCtrl) return DROPEFFECT_NONE;
    return m_pGridCtrl->OnDragEnter(data, keyState, point);
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState,
                                       CPoint point) {
    if (!m_pGridCtrl || wnd != m_pGridCtrl) return DROPEFFECT_NONE;
    return m_pGridCtrl->OnDragOver(data, keyState, point);
}

BOOL CGridDropTarget::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) {
    if (!m_pGridCtrl || wnd != m_pGridCtrl) return FALSE;
    return m_pGridCtrl->OnDrop(data, effect, point);
}

void CGridDropTarget::OnDragLeave(CWnd* wnd) {
    if (m_pGridCtrl && wnd == m_pGridCtrl) m_pGridCtrl->OnDragLeave();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* wnd, DWORD keyState, CPoint /*point*/) const {
    // A drag never scrolls the grid.
    if (!m_pGridCtrl || wnd != m_pGridCtrl) return DROPEFFECT_NONE;
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CGridCtrl::DoDragDrop(COleDataSource& source) {
    return source.DoDragDrop(*this, DROPEFFECT_COPY | DROPEFFECT_MOVE);
}

void CGridCtrl::OnBeginDrag() {
    if (!m_bAllowDragAndDrop) return;
    std::unique_ptr<COleDataSource> source = CopyTextFromGrid();
    if (!source) return;
    const CCellRange selection = GetSelectedCellRange();
    SendMessageToParent(selection.GetMinRow(), selection.GetMinCol(), GRIDN_BEGINDRAG);
    m_MouseMode = MOUSE_DRAGGING;
    m_bLMouseButtonDown = FALSE;

    // The cells dragged, each with the line and field of the text that carries it, as the copy
    // lays them out: hidden rows and columns have none.
    m_draggedCells.clear();
    int line = 0;
    for (int row = selection.GetMinRow(); row <= selection.GetMaxRow(); ++row) {
        if (GetRowHeight(row) <= 0) continue;
        int field = 0;
        for (int col = selection.GetMinCol(); col <= selection.GetMaxCol(); ++col) {
            if (GetColumnWidth(col) <= 0) continue;
            if (IsCellSelected(row, col)) m_draggedCells.push_back({{row, col}, line, field});
            ++field;
        }
        ++line;
    }
    m_bDragSource = true;
    m_bMoveDone = false;
    m_ownDrop.reset();
    DROPEFFECT effect = DROPEFFECT_NONE;
    {
        // However the drag runs, it is a loop inside this handler: the dragged cells are held
        // by their positions until it ends.
        const CNestedLoopScope loop;
        effect = DoDragDrop(*source);
    }
    m_bDragSource = false;
    if (m_MouseMode == MOUSE_DRAGGING) m_MouseMode = MOUSE_NOTHING;

    // Dropped here, only the cells whose text landed go; dropped elsewhere, where what landed
    // cannot be told, all of them (a target that refused answers none).
    if ((effect & DROPEFFECT_MOVE) && !m_bMoveDone)
        ClearDraggedCells(m_ownDrop ? &*m_ownDrop : nullptr);
    m_ownDrop.reset();
    m_draggedCells.clear();
}

void CGridCtrl::ClearDraggedCells(const PastedText* pasted) {
    m_bMoveDone = true;
    for (const DraggedCell& dragged : m_draggedCells) {
        const CCellID cell = dragged.cell;
        if (!IsValid(cell)) continue;
        // A cell goes empty only when its text landed, and not on the cell itself.
        if (pasted && (!pasted->fields.contains(CellKey(dragged.line, dragged.field)) ||
                       pasted->cells.contains(CellKey(cell.row, cell.col))))
            continue;
        SetTextAsIfEdited(cell.row, cell.col, CString());
    }
    Refresh();
}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point) {
    if (!m_bAllowDragAndDrop) return DROPEFFECT_NONE;
    m_bDragOver = true;
    if (!data || !data->IsTextAvailable()) return DROPEFFECT_NONE;
    m_LastDragOverCell = GetCellFromPt(point, FALSE);
    if (!IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell)) return DROPEFFECT_NONE;
    SetDropHighlight(m_LastDragOverCell);
    m_dropEffect = (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    return m_dropEffect;
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* /*data*/, DWORD keyState, CPoint point) {
    const CCellID cell = GetCellFromPt(point, FALSE);
    if (!IsValid(cell) || cell.row < m_nFixedRows || cell.col < m_nFixedCols) {
        ClearDropHighlight();
        m_LastDragOverCell = CCellID();
        return DROPEFFECT_NONE;
    }
    m_dropEffect = (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (cell != m_LastDragOverCell) {
        m_LastDragOverCell = cell;
        SetDropHighlight(cell);
    }
    return m_dropEffect;
}

void CGridCtrl::OnDragLeave() {
    m_bDragOver = false;
    ClearDropHighlight();
}

// The grid keeps which cell is the drop target: a stored cell also carries the state bit, and a
// virtual cell is lent with it.
void CGridCtrl::SetDropHighlight(const CCellID& cell) {
    ClearDropHighlight();
    if (!IsValid(cell)) return;
    m_DropHighlightCell = cell;
    if (!m_bVirtualMode)
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | CELL_DROPHILITED);
    RedrawCell(cell);
}

void CGridCtrl::ClearDropHighlight() {
    const CCellID cell = m_DropHighlightCell;
    m_DropHighlightCell = CCellID();
    if (!IsValid(cell)) return;
    if (!m_bVirtualMode)
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~CELL_DROPHILITED);
    RedrawCell(cell);
}

// The base grid takes a drop only as a row moved within itself; the dropped text is not read.
BOOL CGridCtrl::OnDrop(COleDataObject* data, DROPEFFECT /*effect*/, CPoint /*point*/) {
    m_MouseMode = MOUSE_NOTHING;
    m_bDragOver = false;
    if (!m_bAllowDragAndDrop) return FALSE;
    ClearDropHighlight();
    const int from = m_nClickDownRow;
    const int to = m_LastDragOverCell.row;
    const auto movable = [this](int row) { return row >= m_nFixedRows && row < m_nRows; };
    if (!m_bDragSource || !data || data->GetSourceWindow() != this || !movable(from) ||
        !movable(to) || from == to)
        return FALSE;

    // The row lands just after the drop row; heights stay with the positions.
    const int at = to < from ? to + 1 : to;
    if (m_bVirtualMode) {
        const int model = m_arRowOrder[static_cast<size_t>(from)];
        m_arRowOrder.erase(m_arRowOrder.begin() + from);
        m_arRowOrder.insert(m_arRowOrder.begin() + at, model);
    } else {
        GridRow moved = std::move(m_RowData[static_cast<size_t>(from)]);
        m_RowData.erase(m_RowData.begin() + from);
        m_RowData.insert(m_RowData.begin() + at, std::move(moved));
    }
    // The row itself moved: nothing is left behind to clear.
    m_bMoveDone = true;
    ResetSelectedRange();
    Invalidate();
    return TRUE;
}

// A move within the grid pasted in one go: the cells whose text landed are cleared in the same
// step, so that an owner who groups the paste's undo groups the whole move.
void CGridCtrl::FinishDropMove(COleDataObject* data, PastedText pasted) {
    if (!m_bDragSource || m_bMoveDone || !data || data->GetSourceWindow() != this) return;
    const bool move = IsOwnDragMove(data);
    m_ownDrop = std::move(pasted);
    if (move) ClearDraggedCells(&*m_ownDrop);
}

bool CGridCtrl::IsOwnDragMove(const COleDataObject* data) const {
    return m_bDragSource && !m_bMoveDone && data && data->GetSourceWindow() == this &&
           m_dropEffect == DROPEFFECT_MOVE;
}

std::vector<CCellID> CGridCtrl::GetMovedCells(const COleDataObject* data) const {
    std::vector<CCellID> cells;
    if (!IsOwnDragMove(data)) return cells;
    for (const DraggedCell& dragged : m_draggedCells)
        cells.push_back(dragged.cell);
    return cells;
}

std::unique_ptr<QPixmap> CGridCtrl::CreateDragImage(CPoint* hotSpot) {
    CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col);
    CRect rect;
    if (!cell || !GetCellRect(m_idCurrentCell, &rect)) return nullptr;
    auto image = std::make_unique<QPixmap>(rect.Width(), rect.Height());
    const COLORREF mask = GetDefaultCell(FALSE, FALSE)->GetBackClr();
    image->fill(ToQColor(mask));
    {
        QPainter painter(image.get());
        CQtPainterDC dc(painter, CRect(0, 0, rect.Width(), rect.Height()));
        cell->Draw(&dc, m_idCurrentCell.row, m_idCurrentCell.col,
                   CRect(0, 0, rect.Width() - 1, rect.Height() - 1), TRUE);
    }
    image->setMask(image->createMaskFromColor(ToQColor(mask)));
    if (hotSpot) *hotSpot = m_LastMousePoint - rect.TopLeft();
    return image;
}
