// Sorting the rows by a column, in normal and in virtual mode, and the header clicks.
#include <algorithm>

#include "grid/grid_ctrl.h"
#include "grid/stable_sort.h"
#include "platform/ui/sys_info.h"

void CGridCtrl::SetSortColumn(int col) {
    if (m_nSortColumn >= 0) InvalidateCellRect(0, m_nSortColumn);
    m_nSortColumn = col;
    if (col >= 0) InvalidateCellRect(0, col);
}

void CGridCtrl::SetColumnCompareFunction(int col, PFNGRIDCOMPARE compare) {
    if (col < 0 || col >= m_nCols) return;
    m_arColCompareFunctions[static_cast<size_t>(StoredColumn(col))] = compare;
}

BOOL CGridCtrl::SortItems(int col, BOOL ascending, LPARAM param) {
    // An open edit ends on the row it was opened on, before the rows move.
    EndEditing();
    SetSortColumn(col);
    m_bAscending = ascending;
    ResetSelectedRange();
    return SortItemsWithNotify(SortCompare(col), col, ascending, param);
}

PFNGRIDCOMPARE CGridCtrl::SortCompare(int col) const {
    PFNGRIDCOMPARE compare = m_pfnCompare;
    if (m_bEnableColCompare && col >= 0 && col < m_nCols)
        compare = m_arColCompareFunctions[static_cast<size_t>(StoredColumn(col))];
    return compare ? compare : CompareCellsText;
}

BOOL CGridCtrl::IsInSortOrder(LPARAM param) {
    const int col = m_nSortColumn;
    if (col < 0 || col >= m_nCols) return TRUE;
    const PFNGRIDCOMPARE compare = SortCompare(col);
    const BOOL ascending = m_bAscending;
    // A row is out of place when the sort would put it before the row above it.
    if (m_bVirtualMode) {
        m_CurCol = StoredColumn(col);
        for (int row = m_nFixedRows + 1; row < m_nRows; ++row) {
            const int above = m_arRowOrder[static_cast<size_t>(row - 1)];
            const int here = m_arRowOrder[static_cast<size_t>(row)];
            const bool before = ascending ? CompareVirtualRows(compare, here, above, -1) < 0
                                          : CompareVirtualRows(compare, above, here, 1) < 0;
            if (before) return FALSE;
        }
        return TRUE;
    }
    for (int row = m_nFixedRows + 1; row < m_nRows; ++row) {
        const int order = compare(StoredCell(row, col), StoredCell(row - 1, col), param);
        if (ascending ? order < 0 : order > 0) return FALSE;
    }
    return TRUE;
}

BOOL CGridCtrl::SortItemsWithNotify(PFNGRIDCOMPARE compare, int col, BOOL ascending, LPARAM param) {
    SendMessageToParent(ascending ? 1 : 0, col, GRIDN_COLUMNCLICK);
    EndEditing();
    SetSortColumn(col);
    m_bAscending = ascending;
    ResetSelectedRange();
    return SortRange(compare ? compare : CompareCellsText, col, ascending, param, m_nFixedRows);
}

BOOL CGridCtrl::SortRange(PFNGRIDCOMPARE compare, int col, BOOL ascending, LPARAM param,
                          int firstRow) {
    if (!compare || col < 0 || col >= m_nCols || firstRow < 0 || m_nRows - firstRow < 2)
        return FALSE;
    EndEditing();
    m_idTopLeftCell = CCellID();

    if (m_bVirtualMode) {
        m_CurCol = StoredColumn(col);
        // Empty values sort last both ways: the comparison hears -1 ascending and 1 descending,
        // with the operands swapped.
        StableSortWithin(m_arRowOrder, static_cast<size_t>(m_nFixedRows), m_arRowOrder.size(),
                         [&](int a, int b) {
                             return ascending ? CompareVirtualRows(compare, a, b, -1) < 0
                                              : CompareVirtualRows(compare, b, a, 1) < 0;
                         });
        return TRUE;
    }

    // Rows are sorted by their sort column's cell; the heights stay with the positions.
    struct Entry {
        CGridCellBase* cell;
        std::u16string_view text;  // for the text comparison, read once per row
        bool hasText;
        size_t row;
    };
    const bool byText = compare == CompareCellsText;
    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(m_nRows - firstRow));
    for (int row = firstRow; row < m_nRows; ++row) {
        CGridCellBase* cell = StoredCell(row, col);
        const bool hasText = byText && cell;
        entries.push_back(
            {cell, hasText ? std::u16string_view(cell->GetText().str()) : std::u16string_view(),
             hasText, static_cast<size_t>(row)});
    }
    const bool everyText = byText && std::all_of(entries.begin(), entries.end(),
                                                 [](const Entry& e) { return e.hasText; });
    if (everyText) {
        // Texts compared unit by unit are a proper order: the library's sort is safe with them.
        std::stable_sort(entries.begin(), entries.end(),
                         [ascending](const Entry& a, const Entry& b) {
                             return ascending ? a.text < b.text : b.text < a.text;
                         });
    } else if (byText) {
        StableSortWithin(entries, 0, entries.size(), [ascending](const Entry& a, const Entry& b) {
            if (!a.hasText || !b.hasText) return false;
            const int order = a.text.compare(b.text);
            return ascending ? order < 0 : order > 0;
        });
    } else {
        StableSortWithin(entries, 0, entries.size(), [&](const Entry& a, const Entry& b) {
            const int order = compare(a.cell, b.cell, param);
            return ascending ? order < 0 : order > 0;
        });
    }
    std::vector<GridRow> sorted;
    sorted.reserve(entries.size());
    for (const Entry& entry : entries)
        sorted.push_back(std::move(m_RowData[entry.row]));
    std::move(sorted.begin(), sorted.end(), m_RowData.begin() + firstRow);
    return TRUE;
}

int CGridCtrl::CompareVirtualRows(PFNGRIDCOMPARE compare, int modelRow1, int modelRow2,
                                  LPARAM param) {
    if (m_pfnCallback) {
        CGridCellBase* cell1 = m_pfnCallback(modelRow1, m_CurCol, 0, m_lParam, this);
        CGridCellBase* cell2 = m_pfnCallback(modelRow2, m_CurCol, 0, m_lParam, this);
        return compare(cell1, cell2, param);
    }
    const int rows[2] = {modelRow1, modelRow2};
    for (int i = 0; i < 2; ++i) {
        GridDisplayRecord record;
        record.row = rows[i];
        record.column = m_CurCol;
        SendDisplayRequestToParent(&record);
        m_sortCells[i].SetText(record.text);
    }
    return compare(&m_sortCells[0], &m_sortCells[1], param);
}

void CGridCtrl::OnFixedRowClick(CCellID& cell) {
    if (!IsValid(cell)) return;
    if (m_bSortOnClick) {
        CWaitCursor wait;
        SortItems(cell.col, cell.col == m_nSortColumn ? !m_bAscending : TRUE);
        Invalidate();
    }
    if (m_bFixedColumnSelection) {
        m_MouseMode = cell.col < m_nFixedCols ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(CCellID& cell) {
    if (!IsValid(cell) || !m_bFixedRowSelection) return;
    m_MouseMode = cell.row < m_nFixedRows ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW;
    OnSelecting(cell);
}
