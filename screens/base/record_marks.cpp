#include "screens/base/record_marks.h"

#include <map>

#include "grid/grid_ctrl.h"
#include "screens/cells/kelvardin_grid_cell.h"

CRecordMarks::CRecordMarks(const CGridCtrl& grid) {
    const CCellID focus = grid.GetFocusCell();
    if (grid.IsValid(focus)) m_focus = MarkOf(grid, focus);
    const CCellID start = grid.GetSelectionStartCell();
    if (grid.IsValid(start)) m_start = MarkOf(grid, start);
    const CCellRange range = grid.GetSelectedCellRange();
    if (!range.IsValid()) return;
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
        for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
            if (grid.IsCellSelected(row, col))
                m_selected.push_back(MarkOf(grid, CCellID(row, col)));
        }
    }
}

std::optional<CRecordMarks::RecordKey> CRecordMarks::RecordOfRow(const CGridCtrl& grid, int row) {
    if (row < grid.GetFixedRowCount() || grid.GetColumnCount() == 0) return std::nullopt;
    const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(row, 0));
    if (!cell || cell->GetObjSpec().IsEmpty()) return std::nullopt;
    const CObjSpec& obj = cell->GetObjSpec();
    return RecordKey(obj.m_nType, obj.m_nIndex);
}

CRecordMarks::CMark CRecordMarks::MarkOf(const CGridCtrl& grid, CCellID cell) const {
    return {RecordOfRow(grid, cell.row), cell};
}

void CRecordMarks::Restore(CGridCtrl& grid) const {
    if (!m_focus && !m_start && m_selected.empty()) return;
    std::map<RecordKey, int> rows;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        if (const auto record = RecordOfRow(grid, row)) rows.emplace(*record, row);
    }
    // Where the mark's cell is now; invalid when its record is gone.
    const auto placed = [&](const CMark& mark) {
        if (!mark.record) return mark.cell;
        const auto found = rows.find(*mark.record);
        return found == rows.end() ? CCellID() : CCellID(found->second, mark.cell.col);
    };
    for (const CMark& mark : m_selected) {
        const CCellID cell = placed(mark);
        if (grid.IsValid(cell))
            grid.SetItemState(cell.row, cell.col,
                              grid.GetItemState(cell.row, cell.col) | CELL_SELECTED);
    }
    CCellID focus;
    if (m_focus) {
        focus = placed(*m_focus);
        if (!grid.IsValid(focus)) focus = m_focus->cell;
        if (grid.IsValid(focus)) grid.SetFocusCell(focus);
    }
    // Shift goes on extending the selection from the record it was started on.
    const CCellID start = m_start ? placed(*m_start) : CCellID();
    grid.SetSelectionStartCell(grid.IsValid(start) ? start : grid.GetFocusCell());
}
