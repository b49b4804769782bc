// The focus cell and the selection. The selected-cell map holds exactly the cells whose state
// has the selected bit; in virtual mode it is the only record of the selection.
#include "grid/grid_ctrl.h"
#include "platform/ui/sys_info.h"

CCellID CGridCtrl::SetFocusCell(int row, int col) {
    const CCellID previous = m_idCurrentCell;
    if (CCellID(row, col) == previous) return previous;
    if (row != -1 && row < m_nFixedRows) row = m_nFixedRows;
    if (col != -1 && col < m_nFixedCols) col = m_nFixedCols;
    m_idCurrentCell = CCellID(row, col);

    // The headers in the focus cell's row and column show it: they are redrawn as it moves.
    const auto redrawHeaders = [this](const CCellID& cell, const CCellID& other) {
        if (!m_bTrackFocusCell) return;
        if (cell.col != other.col) {
            for (int r = 0; r < m_nFixedRows; ++r)
                RedrawCell(r, cell.col);
        }
        if (cell.row != other.row) {
            for (int c = 0; c < m_nFixedCols; ++c)
                RedrawCell(cell.row, c);
        }
    };
    if (IsValid(previous)) {
        SetItemState(previous.row, previous.col,
                     GetItemState(previous.row, previous.col) & ~CELL_FOCUSED);
        RedrawCell(previous);
        redrawHeaders(previous, m_idCurrentCell);
    }
    if (IsValid(m_idCurrentCell)) {
        SetItemState(row, col, GetItemState(row, col) | CELL_FOCUSED);
        RedrawCell(m_idCurrentCell);
        redrawHeaders(m_idCurrentCell, previous);
    }
    return previous;
}

void CGridCtrl::SetSelectedRange(const CCellRange& range, BOOL forceRepaint, BOOL select) {
    SetSelectedRange(range.GetMinRow(), range.GetMinCol(), range.GetMaxRow(), range.GetMaxCol(),
                     forceRepaint, select);
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, BOOL forceRepaint,
                                 BOOL select) {
    if (!m_bEnableSelection) return;
    CWaitCursor wait;
    std::unique_ptr<CDC> dc = forceRepaint && IsWindow() ? GetDC() : nullptr;
    const CCellRange visible = GetVisibleNonFixedCellRange();
    const CCellRange visibleFixed = GetVisibleFixedCellRange();
    const auto redraw = [&](int row, int col) {
        if (!visible.InRange(row, col) && !visibleFixed.InRange(row, col)) return;
        if (dc) {
            RedrawCell(row, col, dc.get());
        } else {
            InvalidateCellRect(row, col);
        }
    };

    const auto clamp = [](int bound, int fixed) {
        return bound >= 0 && bound < fixed ? fixed : bound;
    };
    minRow = clamp(minRow, m_nFixedRows);
    maxRow = clamp(maxRow, m_nFixedRows);
    minCol = clamp(minCol, m_nFixedCols);
    maxCol = clamp(maxCol, m_nFixedCols);
    const CCellRange range(minRow, minCol, maxRow, maxCol);
    const bool boundsGiven = minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0;

    if (select) {
        // Unselecting a cell takes it out of the map: walk a copy.
        const CellMap selected = m_SelectedCellMap;
        for (const auto& [key, cell] : selected) {
            if (!IsValid(cell)) {
                m_SelectedCellMap.erase(key);
                continue;
            }
            SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~CELL_SELECTED);
            if (!range.InRange(cell)) redraw(cell.row, cell.col);
        }
        if (!(m_bListMode && m_bSingleRowSelection) && boundsGiven) {
            for (const auto& [key, cell] : m_PrevSelectedCellMap) {
                if (!IsValid(cell)) continue;
                SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | CELL_SELECTED);
                redraw(cell.row, cell.col);
            }
        }
    }

    if (boundsGiven && maxRow < m_nRows && maxCol < m_nCols && minRow <= maxRow &&
        minCol <= maxCol) {
        for (int row = minRow; row <= maxRow; ++row) {
            for (int col = minCol; col <= maxCol; ++col) {
                if ((IsCellSelected(row, col) != FALSE) == (select != FALSE)) continue;
                const UINT state = GetItemState(row, col);
                SetItemState(row, col, select ? state | CELL_SELECTED : state & ~CELL_SELECTED);
                redraw(row, col);
            }
        }
    }
}

CCellRange CGridCtrl::GetSelectedCellRange() const {
    CCellRange range(m_nRows, m_nCols, -1, -1);
    for (const auto& [key, cell] : m_SelectedCellMap) {
        range.SetMinRow(std::min(range.GetMinRow(), cell.row));
        range.SetMinCol(std::min(range.GetMinCol(), cell.col));
        range.SetMaxRow(std::max(range.GetMaxRow(), cell.row));
        range.SetMaxCol(std::max(range.GetMaxCol(), cell.col));
    }
    return range;
}

void CGridCtrl::SelectAllCells() {
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
}

void CGridCtrl::SelectColumns(CCellID cell, BOOL forceRedraw, BOOL select) {
    if (cell.col < m_nFixedCols || !IsValid(cell)) return;
    if (m_bSingleColSelection) {
        SetSelectedRange(m_nFixedRows, cell.col, m_nRows - 1, cell.col, forceRedraw, select);
    } else {
        SetSelectedRange(m_nFixedRows, std::min(m_SelectionStartCell.col, cell.col), m_nRows - 1,
                         std::max(m_SelectionStartCell.col, cell.col), forceRedraw, select);
    }
}

void CGridCtrl::SelectRows(CCellID cell, BOOL forceRedraw, BOOL select) {
    if (cell.row < m_nFixedRows || !IsValid(cell)) return;
    if (m_bListMode && m_bSingleRowSelection) {
        SetSelectedRange(cell.row, m_nFixedCols, cell.row, m_nCols - 1, forceRedraw, select);
    } else {
        SetSelectedRange(std::min(m_SelectionStartCell.row, cell.row), m_nFixedCols,
                         std::max(m_SelectionStartCell.row, cell.row), m_nCols - 1, forceRedraw,
                         select);
    }
}

void CGridCtrl::SelectCells(CCellID cell, BOOL forceRedraw, BOOL select) {
    if (!IsValid(cell) || cell.row < m_nFixedRows || cell.col < m_nFixedCols) return;
    SetSelectedRange(std::min(m_SelectionStartCell.row, cell.row),
                     std::min(m_SelectionStartCell.col, cell.col),
                     std::max(m_SelectionStartCell.row, cell.row),
                     std::max(m_SelectionStartCell.col, cell.col), forceRedraw, select);
}

void CGridCtrl::OnSelecting(const CCellID& cell) {
    switch (m_MouseMode) {
        case MOUSE_SELECT_ALL: SelectAllCells(); break;
        case MOUSE_SELECT_COL: SelectColumns(cell, FALSE); break;
        case MOUSE_SELECT_ROW: SelectRows(cell, FALSE); break;
        case MOUSE_SELECT_CELLS: SelectCells(cell, FALSE); break;
        default: break;
    }
}
