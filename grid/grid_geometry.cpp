// Where cells lie in the client area, which are visible, and what lies under a point.
#include "grid/grid_ctrl.h"

namespace {

// The line under an offset along one axis: the fixed lines from the start, the scrolled ones
// from the first shown; -1 before the start, past the last line, and in the fixed lines
// unless they are allowed.
template <class Extent>
int LineAt(int offset, int fixedLines, int fixedExtent, int firstShown, int lines, BOOL allowFixed,
           Extent extent) {
    if (offset < 0) return -1;
    if (offset < fixedExtent) {
        if (!allowFixed) return -1;
        int end = 0;
        int line = 0;
        for (; line < fixedLines; ++line) {
            end += extent(line);
            if (end > offset) break;
        }
        return std::min(line, fixedLines - 1);
    }
    int end = fixedExtent;
    int line = firstShown;
    for (; line < lines; ++line) {
        end += extent(line);
        if (end > offset) break;
    }
    return line < lines ? line : -1;
}

}  // namespace

int CGridCtrl::GetVirtualHeight() const {
    long long height = 0;
    for (int h : m_arRowHeights)
        height += h;
    return static_cast<int>(std::min<long long>(height, INT_MAX));
}

int CGridCtrl::GetVirtualWidth() const {
    long long width = 0;
    for (int w : m_arColWidths)
        width += w;
    return static_cast<int>(std::min<long long>(width, INT_MAX));
}

int CGridCtrl::GetFixedRowHeight() const {
    int height = 0;
    for (int row = 0; row < m_nFixedRows; ++row)
        height += GetRowHeight(row);
    return height;
}

int CGridCtrl::GetFixedColumnWidth() const {
    int width = 0;
    for (int col = 0; col < m_nFixedCols; ++col)
        width += GetColumnWidth(col);
    return width;
}

CCellID CGridCtrl::GetTopleftNonFixedCell(BOOL forceRecalculation) const {
    if (m_idTopLeftCell.IsValid() && !forceRecalculation) return m_idTopLeftCell;

    // The first column whose left edge, counted from the first non-fixed column, is at or past
    // the scroll position, but never past the last column; rows likewise.
    const int hPos = GetScrollPos32(SB_HORZ);
    int col = m_nFixedCols;
    for (int right = 0; hPos > 0 && col < m_nCols - 1;) {
        right += GetColumnWidth(col++);
        if (right >= hPos) break;
    }
    const int vPos = GetScrollPos32(SB_VERT);
    int row = m_nFixedRows;
    for (int bottom = 0; vPos > 0 && row < m_nRows - 1;) {
        bottom += GetRowHeight(row++);
        if (bottom >= vPos) break;
    }
    m_idTopLeftCell = CCellID(row, col);
    return m_idTopLeftCell;
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(CRect* rect) const {
    const CRect client = GetClientRect();
    const CCellID topLeft = GetTopleftNonFixedCell();

    int bottom = GetFixedRowHeight();
    int row = topLeft.row;
    for (; row < m_nRows; ++row) {
        bottom += GetRowHeight(row);
        if (bottom >= client.bottom) {
            bottom = client.bottom;
            break;
        }
    }
    int right = GetFixedColumnWidth();
    int col = topLeft.col;
    for (; col < m_nCols; ++col) {
        right += GetColumnWidth(col);
        if (right >= client.right) {
            right = client.right;
            break;
        }
    }
    if (rect) *rect = CRect(0, 0, right, bottom);
    return CCellRange(topLeft.row, topLeft.col, std::min(row, m_nRows - 1),
                      std::min(col, m_nCols - 1));
}

CCellRange CGridCtrl::GetVisibleFixedCellRange() const {
    const CRect client = GetClientRect();
    const CCellID topLeft = GetTopleftNonFixedCell();

    int bottom = GetFixedRowHeight();
    int row = topLeft.row;
    for (; row < m_nRows; ++row) {
        bottom += GetRowHeight(row);
        if (bottom >= client.bottom) break;
    }
    int right = 0;
    int col = 0;
    for (; col < m_nFixedCols; ++col) {
        right += GetColumnWidth(col);
        if (right >= client.right) break;
    }
    return CCellRange(topLeft.row, 0, std::min(row, m_nRows - 1), std::min(col, m_nCols - 1));
}

BOOL CGridCtrl::GetCellOrigin(int row, int col, CPoint* origin) const {
    if (!IsValid(row, col)) return FALSE;
    CCellID topLeft;
    if (row >= m_nFixedRows || col >= m_nFixedCols) topLeft = GetTopleftNonFixedCell();
    if ((row >= m_nFixedRows && row < topLeft.row) || (col >= m_nFixedCols && col < topLeft.col))
        return FALSE;

    int x = 0;
    if (col < m_nFixedCols) {
        for (int i = 0; i < col; ++i)
            x += GetColumnWidth(i);
    } else {
        x = GetFixedColumnWidth();
        for (int i = topLeft.col; i < col; ++i)
            x += GetColumnWidth(i);
    }
    int y = 0;
    if (row < m_nFixedRows) {
        for (int i = 0; i < row; ++i)
            y += GetRowHeight(i);
    } else {
        y = GetFixedRowHeight();
        for (int i = topLeft.row; i < row; ++i)
            y += GetRowHeight(i);
    }
    *origin = CPoint(x, y);
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(int row, int col, CRect* rect) const {
    CPoint origin;
    if (!GetCellOrigin(row, col, &origin)) return FALSE;
    *rect = CRect(origin.x, origin.y, origin.x + GetColumnWidth(col) - 1,
                  origin.y + GetRowHeight(row) - 1);
    return TRUE;
}

BOOL CGridCtrl::GetCellRangeRect(const CCellRange& range, CRect* rect) const {
    CPoint minOrigin;
    CPoint maxOrigin;
    if (!GetCellOrigin(range.GetMinRow(), range.GetMinCol(), &minOrigin) ||
        !GetCellOrigin(range.GetMaxRow(), range.GetMaxCol(), &maxOrigin))
        return FALSE;
    *rect = CRect(minOrigin.x, minOrigin.y, maxOrigin.x + GetColumnWidth(range.GetMaxCol()) - 1,
                  maxOrigin.y + GetRowHeight(range.GetMaxRow()) - 1);
    return TRUE;
}

CCellID CGridCtrl::GetCellFromPt(CPoint point, BOOL allowFixedCells) const {
    const CCellID topLeft = GetTopleftNonFixedCell();
    CCellID cell;
    if (!allowFixedCells && !IsValid(topLeft)) return cell;

    cell.col = LineAt(point.x, m_nFixedCols, GetFixedColumnWidth(), topLeft.col, m_nCols,
                      allowFixedCells, [this](int col) { return GetColumnWidth(col); });
    cell.row = LineAt(point.y, m_nFixedRows, GetFixedRowHeight(), topLeft.row, m_nRows,
                      allowFixedCells, [this](int row) { return GetRowHeight(row); });
    return cell;
}

BOOL CGridCtrl::IsCellVisible(int row, int col) const {
    if (!IsWindow()) return FALSE;
    const CCellID topLeft = GetTopleftNonFixedCell();
    if ((row >= m_nFixedRows && row < topLeft.row) || (col >= m_nFixedCols && col < topLeft.col))
        return FALSE;

    // Every left edge on the way, the cell's own included, must lie inside the client area.
    const CRect client = GetClientRect();
    int x = 0;
    int first = 0;
    if (col >= m_nFixedCols) {
        x = GetFixedColumnWidth();
        first = topLeft.col;
    }
    for (int i = first; i <= col; ++i) {
        if (x >= client.right) return FALSE;
        x += GetColumnWidth(i);
    }
    int y = 0;
    first = 0;
    if (row >= m_nFixedRows) {
        y = GetFixedRowHeight();
        first = topLeft.row;
    }
    for (int i = first; i <= row; ++i) {
        if (y >= client.bottom) return FALSE;
        y += GetRowHeight(i);
    }
    return TRUE;
}

BOOL CGridCtrl::MouseOverColumnResizeArea(CPoint point) const {
    if (point.y >= GetFixedRowHeight()) return FALSE;
    const CCellID cell = GetCellFromPt(point, TRUE);
    CPoint start;
    if (!GetCellOrigin(cell, &start)) return FALSE;
    const int d = point.x - start.x;
    if (d < m_nResizeCaptureRange && cell.col != 0) return TRUE;
    return GetColumnWidth(cell.col) - d < m_nResizeCaptureRange;
}

BOOL CGridCtrl::MouseOverRowResizeArea(CPoint point) const {
    if (point.x >= GetFixedColumnWidth()) return FALSE;
    const CCellID cell = GetCellFromPt(point, TRUE);
    CPoint start;
    if (!GetCellOrigin(cell, &start)) return FALSE;
    const int d = point.y - start.y;
    if (d < m_nResizeCaptureRange && cell.row != 0) return TRUE;
    return GetRowHeight(cell.row) - d < m_nResizeCaptureRange;
}
