// The screen grid's columns: the table that describes them, the widths kept in the profile and
// the sort the user last chose.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/app_state.h"
#include "platform/base/profile.h"
#include "res/string_table.h"
#include "screens/base/column_widths.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_host.h"

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

std::vector<CString> CKelvardinGridView::ColumnKeys() const {
    std::vector<CString> headings;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col)
        headings.push_back(m_pGrid->GetFixedRowCount() > 0 ? m_pGrid->GetItemText(0, col)
                                                           : CString());
    return ::ColumnKeys(headings);
}

// Fits a column to its header and rows, never narrower than it is: the screen may have laid
// it out for contents still to come.
void CKelvardinGridView::FitColumn(int col) {
    const int laidOut = m_pGrid->GetColumnWidth(col);
    m_pGrid->AutoSizeColumn(col, GVS_BOTH, FALSE);
    if (m_pGrid->GetColumnWidth(col) < laidOut) m_pGrid->SetColumnWidth(col, laidOut);
}

// The widest of the rows in view: replies change a few rows at a time, and measuring only
// what is shown keeps a large screen quick.
int CKelvardinGridView::VisibleRowsWidth(int col, CDC& dc) const {
    const CCellRange visible = m_pGrid->GetVisibleNonFixedCellRange();
    if (!visible.IsValid()) return 0;
    int width = 0;
    for (int row = visible.GetMinRow(); row <= visible.GetMaxRow(); ++row) {
        if (CGridCellBase* cell = m_pGrid->GetCell(row, col))
            width = std::max(width, cell->GetCellExtent(&dc).cx);
    }
    return width;
}

void CKelvardinGridView::KeepColumnWidths() {
    if (!m_pGrid) return;
    const std::vector<CString> keys = ColumnKeys();
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        const int width = m_pGrid->GetColumnWidth(col);
        const size_t at = static_cast<size_t>(col);
        const bool fitted = at < m_fittedWidths.size() && m_fittedWidths[at] != kUsersWidth;
        if (fitted && m_fittedWidths[at] == width) {
            m_sessionFits[keys[at]] = width;
            continue;
        }
        // Any other width than the last fitted one is the user's drag.
        if (at < m_fittedWidths.size()) m_fittedWidths[at] = kUsersWidth;
        m_widths.Remember(keys[at], width);
    }
}

void CKelvardinGridView::ScheduleColumnFit() {
    const bool fitted = std::ranges::any_of(m_fittedWidths, [](int w) { return w != kUsersWidth; });
    if (!fitted || m_fitTimer.IsRunning()) return;
    m_fitTimer.Start(this, m_host.GetScreenTiming().columnFitMs);
}

void CKelvardinGridView::FitColumnsWithNewData() {
    // A hint while the screen sets its grid up comes before there are widths to keep.
    if (!m_pGrid || std::ssize(m_fittedWidths) != m_pGrid->GetColumnCount()) return;
    KeepColumnWidths();
    std::unique_ptr<CDC> dc = m_pGrid->GetDC();
    bool grown = false;
    const int columns =
        std::min(static_cast<int>(m_fittedWidths.size()), m_pGrid->GetColumnCount());
    for (int col = 0; col < columns; ++col) {
        int& fitted = m_fittedWidths[static_cast<size_t>(col)];
        // The user's columns keep their width, and a hidden one stays hidden.
        if (fitted <= 0) continue;
        const int needed = VisibleRowsWidth(col, *dc);
        if (needed <= fitted) continue;
        m_pGrid->SetColumnWidth(col, needed);
        fitted = needed;
        grown = true;
    }
    if (!grown) return;
    KeepColumnWidths();
    m_pGrid->ResetScrollBars();
    m_pGrid->Invalidate();
}

// The widths of the columns shown first, in display order, two bytes each, high byte first;
// the keys that tie them to their columns beside them.
void CKelvardinGridView::SaveColumnWidths() {
    if (!m_pGrid || m_pGrid->GetColumnCount() < 1) return;
    KeepColumnWidths();
    std::vector<int> widths;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col)
        widths.push_back(m_pGrid->GetColumnWidth(col));
    const StoredColumnWidths stored = m_widths.Store(ColumnKeys(), widths);
    IProfile& profile = GetApp().GetProfile();
    profile.WriteProfileBinary(kWidthsSection, m_strWidthsValue, stored.widths);
    profile.WriteProfileString(kWidthsSection, m_strWidthsValue + kKeysSuffix, stored.keys);
}

void CKelvardinGridView::LoadColumnWidths() {
    if (!m_pGrid) return;
    const std::vector<CString> keys = ColumnKeys();
    if (!m_widths.IsLoaded()) {
        IProfile& profile = GetApp().GetProfile();
        const std::vector<std::uint8_t> value =
            profile.GetProfileBinary(kWidthsSection, m_strWidthsValue)
                .value_or(std::vector<std::uint8_t>());
        m_widths.Load(value,
                      profile.GetProfileString(kWidthsSection, m_strWidthsValue + kKeysSuffix, {}));
    }
    m_fittedWidths.assign(keys.size(), kUsersWidth);
    bool fitted = false;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        const CString& key = keys[static_cast<size_t>(col)];
        if (const std::optional<int> width = m_widths.Find(key)) {
            m_pGrid->SetColumnWidth(col, *width);
            continue;
        }
        // A rebuild takes the fit of this session's grid, which the rows in view widen.
        if (const auto it = m_sessionFits.find(key); it != m_sessionFits.end()) {
            m_pGrid->SetColumnWidth(col, std::max(it->second, m_pGrid->GetColumnWidth(col)));
        } else {
            FitColumn(col);
            fitted = true;
        }
        m_fittedWidths[static_cast<size_t>(col)] = m_pGrid->GetColumnWidth(col);
    }
    // Written at once, for a run that ends before its screens close.
    if (fitted) SaveColumnWidths();
    m_pGrid->ResetScrollBars();
}
