// The grid's shape: counts, rows and columns, their sizes and the cells that fill them.
#include <algorithm>
#include <new>

#include "grid/grid_ctrl.h"
#include "platform/ui/modal.h"

namespace {

// Counts beyond this are refused: no grid of the program comes near, and sizes stay in range.
constexpr int kMaxCount = 0x3FFFFFFF;

bool CountInRange(int n) {
    return n >= 0 && n <= kMaxCount;
}

}  // namespace

BOOL CGridCtrl::IsValid(int row, int col) const {
    return row >= 0 && row < m_nRows && col >= 0 && col < m_nCols;
}

BOOL CGridCtrl::IsValid(const CCellRange& range) const {
    return range.IsValid() && range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols;
}

void CGridCtrl::ReportOutOfMemory() {
    ModalMessageBox(u"Out of memory.", MB_OK | MB_ICONEXCLAMATION);
}

// Keys of cells beyond the counts go: in virtual mode the map is the only record of selection.
void CGridCtrl::PruneSelection() {
    for (CellMap* map : {&m_SelectedCellMap, &m_PrevSelectedCellMap}) {
        std::erase_if(*map, [this](const auto& entry) { return !IsValid(entry.second); });
    }
}

void CGridCtrl::ForgetSortColumn() {
    if (m_nSortColumn >= 0) InvalidateCellRect(0, m_nSortColumn);
    m_nSortColumn = -1;
}

BOOL CGridCtrl::GrowRows(int rows) {
    const int height = GetDefaultCell(FALSE, FALSE)->GetHeight();
    try {
        m_arRowHeights.reserve(static_cast<size_t>(rows));
        if (m_bVirtualMode) {
            m_arRowOrder.reserve(static_cast<size_t>(rows));
            while (m_nRows < rows) {
                m_arRowHeights.push_back(height);
                m_arRowOrder.push_back(m_nRows);
                ++m_nRows;
            }
            return TRUE;
        }
        m_RowData.reserve(static_cast<size_t>(rows));
        while (m_nRows < rows) {
            GridRow cells(static_cast<size_t>(m_nCols));
            for (int col = 0; col < m_nCols; ++col)
                cells[static_cast<size_t>(StoredColumn(col))] = CreateCell(m_nRows, col);
            m_RowData.push_back(std::move(cells));
            m_arRowHeights.push_back(height);
            ++m_nRows;
        }
        return TRUE;
    } catch (const std::bad_alloc&) {
        // The rows made so far stay; a half-made row goes with its cells.
        m_arRowHeights.resize(static_cast<size_t>(m_nRows));
        if (m_bVirtualMode) m_arRowOrder.resize(static_cast<size_t>(m_nRows));
        ReportOutOfMemory();
        return FALSE;
    }
}

BOOL CGridCtrl::SetRowCount(int rows) {
    if (!CountInRange(rows)) return FALSE;
    if (rows == m_nRows) return TRUE;
    EndEditing();
    m_idTopLeftCell = CCellID();
    if (rows < m_nFixedRows) m_nFixedRows = rows;
    if (m_idCurrentCell.row >= rows) SetFocusCell(-1, -1);

    BOOL result = TRUE;
    if (rows < m_nRows) {
        if (!m_bVirtualMode) {
            for (int row = rows; row < m_nRows; ++row) {
                for (int col = 0; col < m_nCols; ++col)
                    DestroyCell(row, col);
            }
            m_RowData.resize(static_cast<size_t>(rows));
        } else {
            m_arRowOrder.resize(static_cast<size_t>(rows));
            // A sort leaves model rows beyond the new count at any position: number them again.
            for (size_t i = 0; i < m_arRowOrder.size(); ++i)
                m_arRowOrder[i] = static_cast<int>(i);
        }
        m_arRowHeights.resize(static_cast<size_t>(rows));
        m_nRows = rows;
    } else {
        if (m_bVirtualMode) {
            for (size_t i = 0; i < m_arRowOrder.size(); ++i)
                m_arRowOrder[i] = static_cast<int>(i);
        }
        result = GrowRows(rows);
    }
    PruneSelection();
    SetModified(-1, -1);
    ResetScrollBars();
    if (IsWindow() && m_bAllowDraw) Invalidate();
    return result;
}

BOOL CGridCtrl::GrowColumns(int cols) {
    const int width = GetDefaultCell(FALSE, TRUE)->GetWidth();
    try {
        while (m_nCols < cols) {
            const int col = m_nCols;
            m_arColWidths.push_back(width);
            m_arColCompareFunctions.push_back(nullptr);
            m_arColOrder.push_back(col);
            if (!m_bVirtualMode) {
                for (int row = 0; row < m_nRows; ++row)
                    m_RowData[static_cast<size_t>(row)].push_back(CreateCell(row, col));
            }
            ++m_nCols;
        }
        return TRUE;
    } catch (const std::bad_alloc&) {
        // The columns made so far stay; a half-made column goes with its cells.
        const auto keep = static_cast<size_t>(m_nCols);
        m_arColWidths.resize(keep);
        m_arColCompareFunctions.resize(keep);
        m_arColOrder.resize(keep);
        for (GridRow& cells : m_RowData)
            cells.resize(keep);
        ReportOutOfMemory();
        return FALSE;
    }
}

BOOL CGridCtrl::SetColumnCount(int cols) {
    if (!CountInRange(cols)) return FALSE;
    if (cols == m_nCols) return TRUE;
    EndEditing();
    m_idTopLeftCell = CCellID();
    if (cols < m_nFixedCols) m_nFixedCols = cols;
    if (m_idCurrentCell.col >= cols) SetFocusCell(-1, -1);

    BOOL result = TRUE;
    if (cols < m_nCols) {
        if (!m_bVirtualMode) {
            for (int row = 0; row < m_nRows; ++row) {
                for (int col = cols; col < m_nCols; ++col)
                    DestroyCell(row, col);
                m_RowData[static_cast<size_t>(row)].resize(static_cast<size_t>(cols));
            }
        }
        m_arColWidths.resize(static_cast<size_t>(cols));
        m_arColCompareFunctions.resize(static_cast<size_t>(cols));
        m_nCols = cols;
    } else {
        result = GrowColumns(cols);
    }
    // Nothing reorders columns: the order is the identity again.
    m_arColOrder.resize(static_cast<size_t>(m_nCols));
    for (size_t i = 0; i < m_arColOrder.size(); ++i)
        m_arColOrder[i] = static_cast<int>(i);
    PruneSelection();
    SetModified(-1, -1);
    ResetScrollBars();
    if (IsWindow() && m_bAllowDraw) Invalidate();
    return result;
}

BOOL CGridCtrl::SetFixedRowCount(int fixedRows) {
    if (!CountInRange(fixedRows)) return FALSE;
    if (fixedRows == m_nFixedRows) return TRUE;
    EndEditing();
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
    m_idTopLeftCell = CCellID();
    if (fixedRows > m_nRows && !SetRowCount(fixedRows)) return FALSE;

    if (!m_bVirtualMode) {
        const bool growing = fixedRows > m_nFixedRows;
        const int from = growing ? m_nFixedRows : fixedRows;
        const int to = growing ? fixedRows : m_nFixedRows;
        for (int row = from; row < to; ++row) {
            for (int col = 0; col < m_nCols; ++col) {
                const UINT state = GetItemState(row, col);
                if (growing) {
                    SetItemState(row, col, state | CELL_FIXED | CELL_FIXEDROW);
                } else if (col < m_nFixedCols) {
                    // Still fixed by its column.
                    SetItemState(row, col, state & ~CELL_FIXEDROW);
                    continue;
                } else {
                    SetItemState(row, col, state & ~(CELL_FIXED | CELL_FIXEDROW));
                }
                SetItemBkColour(row, col);
                ResetItemFgColour(row, col);
            }
        }
    }
    m_nFixedRows = fixedRows;
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int fixedCols) {
    if (!CountInRange(fixedCols)) return FALSE;
    if (fixedCols == m_nFixedCols) return TRUE;
    EndEditing();
    if (fixedCols > m_nCols && !SetColumnCount(fixedCols)) return FALSE;
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
    m_idTopLeftCell = CCellID();

    if (!m_bVirtualMode) {
        const bool growing = fixedCols > m_nFixedCols;
        const int from = growing ? m_nFixedCols : fixedCols;
        const int to = growing ? fixedCols : m_nFixedCols;
        for (int col = from; col < to; ++col) {
            for (int row = 0; row < m_nRows; ++row) {
                const UINT state = GetItemState(row, col);
                if (growing) {
                    SetItemState(row, col, state | CELL_FIXED | CELL_FIXEDCOL);
                } else if (row < m_nFixedRows) {
                    SetItemState(row, col, state & ~CELL_FIXEDCOL);
                    continue;
                } else {
                    SetItemState(row, col, state & ~(CELL_FIXED | CELL_FIXEDCOL));
                }
                SetItemBkColour(row, col);
                ResetItemFgColour(row, col);
            }
        }
    }
    m_nFixedCols = fixedCols;
    Refresh();
    return TRUE;
}

int CGridCtrl::InsertRow(const CString& heading, int position) {
    EndEditing();
    m_idTopLeftCell = CCellID();
    ResetSelectedRange();
    if (m_nCols == 0 && !SetColumnCount(1)) return -1;
    if (m_bVirtualMode || position < 0 || position > m_nRows) position = m_nRows;
    const auto at = static_cast<size_t>(position);

    try {
        m_arRowHeights.insert(m_arRowHeights.begin() + position, 0);
        if (m_bVirtualMode) {
            m_arRowOrder.push_back(m_nRows);
        } else {
            m_RowData.insert(m_RowData.begin() + position, GridRow(static_cast<size_t>(m_nCols)));
        }
    } catch (const std::bad_alloc&) {
        m_arRowHeights.resize(static_cast<size_t>(m_nRows));
        ReportOutOfMemory();
        return -1;
    }
    ++m_nRows;
    // A row put among the header rows is a header row itself.
    if (position < m_nFixedRows) ++m_nFixedRows;

    if (!m_bVirtualMode) {
        for (int col = 0; col < m_nCols; ++col)
            m_RowData[at][static_cast<size_t>(StoredColumn(col))] = CreateCell(position, col);
        if (CGridCellBase* first = StoredCell(position, 0)) first->SetText(heading);
        SetModified(position, 0);
    }
    if (heading.IsEmpty()) {
        m_arRowHeights[at] = GetDefaultCell(TRUE, FALSE)->GetHeight();
    } else {
        CGridCellBase* first = GetCell(position, 0);
        m_arRowHeights[at] = first ? first->GetTextExtent(heading).cy : 0;
    }
    ResetScrollBars();
    SetModified(-1, -1);
    return position;
}

int CGridCtrl::AppendRows(int count) {
    if (count < 1 || !CountInRange(m_nRows + count)) return -1;
    EndEditing();
    m_idTopLeftCell = CCellID();
    ResetSelectedRange();
    if (m_nCols == 0 && !SetColumnCount(1)) return -1;
    const int first = m_nRows;
    // GrowRows numbers the new rows of virtual mode on from the count, whatever the order of
    // those before them.
    GrowRows(first + count);
    if (m_nRows == first) return -1;
    const int height = GetDefaultCell(TRUE, FALSE)->GetHeight();
    std::fill(m_arRowHeights.begin() + first, m_arRowHeights.end(), height);
    if (!m_bVirtualMode) {
        for (int row = first; row < m_nRows; ++row)
            SetModified(row, 0);
    }
    ResetScrollBars();
    SetModified(-1, -1);
    return first;
}

BOOL CGridCtrl::DeleteRow(int row) {
    if (row < 0 || row >= m_nRows) return FALSE;
    EndEditing();
    ResetSelectedRange();
    if (!m_bVirtualMode) {
        for (int col = 0; col < m_nCols; ++col)
            DestroyCell(row, col);
        m_RowData.erase(m_RowData.begin() + row);
    } else {
        ShiftRowOrder(row, -1);
    }
    m_arRowHeights.erase(m_arRowHeights.begin() + row);
    --m_nRows;
    if (row < m_nFixedRows) --m_nFixedRows;
    PruneSelection();
    ResetScrollBars();
    ForgetSortColumn();
    return TRUE;
}

BOOL CGridCtrl::DeleteColumn(int col) {
    if (col < 0 || col >= m_nCols) return FALSE;
    EndEditing();
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1);
    const int stored = StoredColumn(col);
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            DestroyCell(row, col);
            GridRow& cells = m_RowData[static_cast<size_t>(row)];
            cells.erase(cells.begin() + stored);
        }
    }
    m_arColWidths.erase(m_arColWidths.begin() + stored);
    m_arColCompareFunctions.erase(m_arColCompareFunctions.begin() + stored);
    --m_nCols;
    if (col < m_nFixedCols) --m_nFixedCols;
    m_arColOrder.resize(static_cast<size_t>(m_nCols));
    for (size_t i = 0; i < m_arColOrder.size(); ++i)
        m_arColOrder[i] = static_cast<int>(i);
    if (m_idCurrentCell.col == col) {
        m_idCurrentCell = CCellID();
    } else if (m_idCurrentCell.col > col) {
        --m_idCurrentCell.col;
    }
    m_idTopLeftCell = CCellID();
    PruneSelection();
    ResetScrollBars();
    ForgetSortColumn();
    return TRUE;
}

BOOL CGridCtrl::DeleteNonFixedRows() {
    EndEditing();
    ResetSelectedRange();
    if (m_nRows > m_nFixedRows) {
        // All at once: row by row would add up every row's height for each one deleted.
        SetRowCount(m_nFixedRows);
        SetFocusCell(-1, -1);
        ResetScrollBars();
        ForgetSortColumn();
    }
    return TRUE;
}

BOOL CGridCtrl::DeleteAllItems() {
    EndEditing();
    ResetSelectedRange();
    m_arColWidths.clear();
    m_arRowHeights.clear();
    m_arColCompareFunctions.clear();
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            for (int col = 0; col < m_nCols; ++col)
                DestroyCell(row, col);
        }
    }
    m_RowData.clear();
    m_arRowOrder.clear();
    m_arColOrder.clear();
    m_SelectedCellMap.clear();
    m_PrevSelectedCellMap.clear();
    m_idCurrentCell = CCellID();
    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    ResetScrollBars();
    SetModified(-1, -1);
    return TRUE;
}

int CGridCtrl::GetRowHeight(int row) const {
    if (row < 0 || row >= m_nRows) return -1;
    return m_arRowHeights[static_cast<size_t>(row)];
}

int CGridCtrl::GetColumnWidth(int col) const {
    if (col < 0 || col >= m_nCols) return -1;
    return m_arColWidths[static_cast<size_t>(StoredColumn(col))];
}

BOOL CGridCtrl::SetRowHeight(int row, int height) {
    if (row < 0 || row >= m_nRows) return FALSE;
    m_arRowHeights[static_cast<size_t>(row)] = std::max(height, 0);
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int col, int width) {
    if (col < 0 || col >= m_nCols) return FALSE;
    m_arColWidths[static_cast<size_t>(StoredColumn(col))] = std::max(width, 0);
    ResetScrollBars();
    return TRUE;
}

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int row, int col) {
    if (!m_pRtcDefault) return nullptr;
    std::unique_ptr<CGridCellBase> cell = m_pRtcDefault->create();
    if (!cell) return nullptr;
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    DWORD state = cell->GetState();
    if (col < m_nFixedCols) state |= CELL_FIXED | CELL_FIXEDCOL;
    if (row < m_nFixedRows) state |= CELL_FIXED | CELL_FIXEDROW;
    cell->SetState(state);
    if (const CGridDefaultCell* def = cell->GetDefaultCell()) cell->SetFormat(def->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col) {
    SetItemState(row, col, 0);
    if (!m_bVirtualMode && IsValid(row, col))
        m_RowData[static_cast<size_t>(row)][static_cast<size_t>(StoredColumn(col))].reset();
}

BOOL CGridCtrl::SetCell(int row, int col, std::unique_ptr<CGridCellBase> cell) {
    if (m_bVirtualMode || !IsValid(row, col)) return FALSE;
    if (cell) cell->SetCoords(row, col);
    m_RowData[static_cast<size_t>(row)][static_cast<size_t>(StoredColumn(col))] = std::move(cell);
    return TRUE;
}

BOOL CGridCtrl::SetDefaultCellType(const CCellClass* cellClass) {
    if (!cellClass || !cellClass->create) return FALSE;
    m_pRtcDefault = cellClass;
    return TRUE;
}

BOOL CGridCtrl::SetCellType(int row, int col, const CCellClass* cellClass) {
    if (m_bVirtualMode || !IsValid(row, col) || !cellClass || !cellClass->create) return FALSE;
    std::unique_ptr<CGridCellBase> cell = cellClass->create();
    if (!cell) return FALSE;
    if (CGridCellBase* old = StoredCell(row, col)) {
        *cell = *old;
    } else {
        cell->SetGrid(this);
    }
    return SetCell(row, col, std::move(cell));
}

void CGridCtrl::SetModified(int row, int col) {
    // A change to the sorted column, or to the whole grid, leaves the order unknown.
    if (col < 0 || col == m_nSortColumn) ForgetSortColumn();
    if (row >= 0 && col >= 0) {
        const CGridCellBase* cell = GetCell(row, col);
        SetItemState(row, col, (cell ? cell->GetState() : 0) | CELL_MODIFIED);
    }
}

void CGridCtrl::ShiftRowOrder(int row, int delta) {
    if (!m_bVirtualMode || row < 0 || row >= static_cast<int>(m_arRowOrder.size())) return;
    const int model = m_arRowOrder[static_cast<size_t>(row)];
    if (delta < 1) {
        for (int& entry : m_arRowOrder)
            if (entry > model) entry += delta;
        m_arRowOrder.erase(m_arRowOrder.begin() + row);
    } else {
        for (int& entry : m_arRowOrder)
            if (entry >= model) entry += delta;
        m_arRowOrder.insert(m_arRowOrder.begin() + row, model);
    }
}
