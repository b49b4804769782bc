// Sizing rows and columns to their contents. Hidden rows and columns are never measured and
// stay hidden; a missing cell measures nothing.
#include "grid/grid_ctrl.h"

namespace {

// Header rows get this much more room in a column sized on its own.
constexpr int kHeaderAllowance = 13;

}  // namespace

BOOL CGridCtrl::AutoSizeColumn(int col, UINT style, BOOL resetScroll) {
    if (col < 0 || col >= m_nCols || GetColumnWidth(col) <= 0) return FALSE;
    if (style == 0) style = m_nAutoSizeColumnStyle;
    const int firstRow = (style & GVS_HEADER) ? 0 : m_nFixedRows;
    const int lastRow = (style & GVS_DATA) ? m_nRows - 1 : m_nFixedRows - 1;
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange(firstRow, col, lastRow, col));

    std::unique_ptr<CDC> dc = GetDC();
    int width = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (GetRowHeight(row) <= 0) continue;
        CGridCellBase* cell = GetCell(row, col);
        if (!cell) continue;
        int cx = cell->GetCellExtent(dc.get()).cx;
        if (row < m_nFixedRows && (style & GVS_HEADER)) cx += kHeaderAllowance;
        width = std::max(width, cx);
    }
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange());
    m_arColWidths[static_cast<size_t>(StoredColumn(col))] = width;
    if (resetScroll) ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int row) {
    if (row < 0 || row >= m_nRows || GetRowHeight(row) <= 0) return FALSE;
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange(row, 0, row, m_nCols - 1));

    std::unique_ptr<CDC> dc = GetDC();
    int height = 0;
    for (int col = 0; col < m_nCols; ++col) {
        if (GetColumnWidth(col) <= 0) continue;
        if (CGridCellBase* cell = GetCell(row, col))
            height = std::max(height, cell->GetCellExtent(dc.get()).cy);
    }
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange());
    m_arRowHeights[static_cast<size_t>(row)] = height;
    ResetScrollBars();
    return TRUE;
}

void CGridCtrl::AutoSize(UINT style) {
    if (style == 0) style = m_nAutoSizeColumnStyle;
    const int firstRow = (style & GVS_HEADER) ? 0 : m_nFixedRows;
    const int lastRow = (style & GVS_DATA) ? m_nRows - 1 : m_nFixedRows - 1;
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange(firstRow, 0, lastRow, m_nCols - 1));

    for (int row = firstRow; row <= lastRow; ++row) {
        if (GetRowHeight(row) > 0) m_arRowHeights[static_cast<size_t>(row)] = 1;
    }
    std::unique_ptr<CDC> dc = GetDC();
    for (int col = 0; col < m_nCols; ++col) {
        if (GetColumnWidth(col) <= 0) continue;
        int width = 0;
        for (int row = firstRow; row <= lastRow; ++row) {
            if (GetRowHeight(row) <= 0) continue;
            CGridCellBase* cell = GetCell(row, col);
            if (!cell) continue;
            const CSize size = cell->GetCellExtent(dc.get());
            width = std::max(width, size.cx);
            int& height = m_arRowHeights[static_cast<size_t>(row)];
            height = std::max(height, size.cy);
        }
        m_arColWidths[static_cast<size_t>(StoredColumn(col))] = width;
    }
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange());
    ResetScrollBars();
    Refresh();
}

void CGridCtrl::AutoSizeColumns(UINT style) {
    for (int col = 0; col < m_nCols; ++col) {
        if (GetColumnWidth(col) > 0) AutoSizeColumn(col, style, FALSE);
    }
    ResetScrollBars();
}
