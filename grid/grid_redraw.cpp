// Drawing cells at once and invalidating them for the next paint.
#include "grid/grid_ctrl.h"

BOOL CGridCtrl::RedrawCell(int row, int col, CDC* dc) {
    if (!m_bAllowDraw || !IsCellVisible(row, col)) return FALSE;
    CRect rect;
    if (!GetCellRect(row, col, &rect)) return FALSE;
    // Without a device context of its own the cell is painted with the rest at the next paint.
    if (!dc) {
        CRect area(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
        InvalidateRect(&area);
        return TRUE;
    }
    BOOL result = TRUE;
    if (CGridCellBase* cell = GetCell(row, col)) result = cell->Draw(dc, row, col, rect, TRUE);
    if (!IsCellFixed(row, col)) {
        const CPen old = dc->SelectPen(CPen{PS_SOLID, 0, m_crGridLineColour});
        if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ) {
            dc->MoveTo(rect.left, rect.bottom);
            dc->LineTo(rect.right + 1, rect.bottom);
        }
        if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT) {
            dc->MoveTo(rect.right, rect.top);
            dc->LineTo(rect.right, rect.bottom + 1);
        }
        dc->SelectPen(old);
    }
    return result;
}

BOOL CGridCtrl::RedrawRow(int row) {
    if (!m_bAllowDraw || row < 0 || row >= m_nRows) return FALSE;
    for (int col = 0; col < m_nCols; ++col)
        RedrawCell(row, col);
    return TRUE;
}

BOOL CGridCtrl::InvalidateCellRect(int row, int col) {
    CRect rect;
    if (!IsWindow() || !m_bAllowDraw || !IsValid(row, col) || !IsCellVisible(row, col) ||
        !GetCellRect(row, col, &rect))
        return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(&rect, TRUE);
    return TRUE;
}

BOOL CGridCtrl::InvalidateRangeRect(const CCellRange& range) {
    if (!IsWindow() || !m_bAllowDraw) return FALSE;
    const CCellRange visible = range.Intersect(GetVisibleNonFixedCellRange());
    CRect rect;
    if (!GetCellRangeRect(visible, &rect)) return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(&rect, TRUE);
    return TRUE;
}

void CGridCtrl::Refresh() {
    if (IsWindow() && m_bAllowDraw) Invalidate(TRUE);
}
