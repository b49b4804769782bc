#pragma once

#include <array>
#include <vector>

#include "grid/grid_ctrl.h"
#include "screens/cells/bool_grid_cell.h"
#include "screens/cells/kelvardin_grid_cell.h"

class CKelvardinGridCtrl;

// One column of the trunk definitions: its header, whether a line sets it off on the left, the
// trunk field its cells show, which part of that field's assignment they show (an entry kind of
// CObjSpec, 0 for the field's own value), whether it is a yes/no column, and its comparison.
struct TrunkColumn {
    UINT headerId;
    bool leftBorder;
    DWORD field;
    DWORD entry;
    bool check;
    PFNGRIDCOMPARE compare;
};

inline constexpr int kTrunkColumnCount = 15;
const std::array<TrunkColumn, kTrunkColumnCount>& TrunkColumns();

// The cells of the trunk definitions grid, which runs in virtual mode: each request gets one of
// two plain or two yes/no cells, filled for the cell asked for. While a header sort runs, the
// texts of the sort column are read from the document once per row and kept.
class CTrunkDefsCells {
public:
    // Every grid column shows its own row of the table again; the sort cache holds rows data rows.
    void Reset(int rows);
    // The grid column is gone: the columns after it move left over the table.
    void EraseColumn(int col);
    // The row of the table the grid column shows; -1 outside the grid.
    int TableRow(int col) const;
    int ColumnCount() const { return static_cast<int>(m_columnMap.size()); }
    // A new sort starts: the texts kept from the last one may be out of date.
    void ForgetSortTexts() { m_nCachedColumn = -1; }

    // The cell for a row in data order, a stored column and the grid's state bits.
    CGridCellBase* Lend(int row, int col, UINT state, CKelvardinGridCtrl& grid, bool readOnlyView);

private:
    // While the grid sorts: the kept text of a data row of the sort column, null when the row's
    // text is not kept yet.
    const CString* SortText(int tableRow, int dataRow);
    void KeepSortText(CKelvardinGridCell& cell, int dataRow);

    std::array<CKelvardinGridCell, 2> m_plain;
    std::array<CBoolGridCell, 2> m_check;
    int m_nLent = 0;
    std::vector<int> m_columnMap;
    std::vector<CString> m_texts;
    std::vector<bool> m_valid;
    int m_nCachedColumn = -1;
    unsigned m_nCachedPass = 0;  // the grid's sort pass the texts were kept for
};
