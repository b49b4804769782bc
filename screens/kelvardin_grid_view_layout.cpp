// The screen grid's columns: the table that describes them, the widths kept in the profile and
// the sort the user last chose.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/app_state.h"
#include "platform/base/profile.h"
#include "res/string_table.h"
#include "screens/kelvardin_grid_ctrl.h"
#include "screens/kelvardin_grid_view.h"

void CKelvardinGridView::ApplyColumnTable(std::span<const ColumnDesc> table, int firstColumn) {
    if (!m_pGrid) return;
    CKelvardinGridCtrl& grid = *m_pGrid;
    for (size_t i = 0; i < table.size(); ++i) {
        const ColumnDesc& column = table[i];
        const int col = firstColumn + static_cast<int>(i);
        if (col >= grid.GetColumnCount()) break;
        if (!grid.GetVirtualMode() && grid.GetFixedRowCount() > 0)
            grid.SetItemText(0, col, LoadResString(column.headerId));
        grid.SetColumnCompareFunction(col, column.compare);
        if (!column.cellClass || grid.GetVirtualMode()) continue;
        for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row)
            grid.SetCellType(row, col, column.cellClass);
    }
}

void CKelvardinGridView::ReplaySort(int column, BOOL ascending) {
    if (!m_pGrid || column < 0 || column >= m_pGrid->GetColumnCount()) return;
    // The header click sorts a new column ascending and reverses the sort column's direction.
    m_pGrid->SetSortAscending(TRUE);
    m_pGrid->SetSortColumn(ascending ? -1 : column);
    CCellID header(0, column);
    m_pGrid->OnFixedRowClick(header);
}

// One width per column in display order, two bytes each, high byte first.
void CKelvardinGridView::SaveColumnWidths() {
    if (!m_pGrid || m_pGrid->GetColumnCount() < 1) return;
    std::vector<std::uint8_t> value;
    value.reserve(static_cast<size_t>(m_pGrid->GetColumnCount()) * 2);
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        const int width = std::clamp(m_pGrid->GetColumnWidth(col), 0, 0xFFFF);
        value.push_back(static_cast<std::uint8_t>(width >> 8));
        value.push_back(static_cast<std::uint8_t>(width & 0xFF));
    }
    GetApp().GetProfile().WriteProfileBinary(kWidthsSection, m_strWidthsValue, value);
}

void CKelvardinGridView::LoadColumnWidths() {
    if (!m_pGrid) return;
    const std::vector<std::uint8_t> value = GetApp()
                                                .GetProfile()
                                                .GetProfileBinary(kWidthsSection, m_strWidthsValue)
                                                .value_or(std::vector<std::uint8_t>());
    // Columns the stored value does not reach fit their headers and their rows, but never get
    // narrower than the screen made them for contents still to come.
    bool fitted = false;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        const size_t at = static_cast<size_t>(col) * 2;
        if (at + 1 < value.size()) {
            m_pGrid->SetColumnWidth(col, (value[at] << 8) | value[at + 1]);
        } else {
            const int laidOut = m_pGrid->GetColumnWidth(col);
            m_pGrid->AutoSizeColumn(col, GVS_BOTH, FALSE);
            if (m_pGrid->GetColumnWidth(col) < laidOut) m_pGrid->SetColumnWidth(col, laidOut);
            fitted = true;
        }
    }
    // Kept at once, so that a rebuild (a new configuration, a reset) does not measure every
    // row again.
    if (fitted) SaveColumnWidths();
    m_pGrid->ResetScrollBars();
}
