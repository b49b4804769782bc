// The screen grid's columns: the table that describes them, the widths kept in the profile and
// the sort the user last chose.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/app_state.h"
#include "platform/base/profile.h"
#include "res/string_table.h"
#include "screens/column_widths.h"
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

std::vector<CString> CKelvardinGridView::ColumnKeys() const {
    std::vector<CString> headings;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col)
        headings.push_back(m_pGrid->GetFixedRowCount() > 0 ? m_pGrid->GetItemText(0, col)
                                                           : CString());
    return ::ColumnKeys(headings);
}

int CKelvardinGridView::ProbedRows() const {
    const int first = m_pGrid->GetFixedRowCount();
    return std::clamp(m_pGrid->GetRowCount() - first, 0, kDataProbeRows);
}

int CKelvardinGridView::FilledRows(int col) const {
    const int first = m_pGrid->GetFixedRowCount();
    int filled = 0;
    for (int row = first; row < first + ProbedRows(); ++row) {
        if (!m_pGrid->GetItemText(row, col).IsEmpty()) ++filled;
    }
    return filled;
}

// Fits a column to its header and rows, never narrower than it is: the screen may have laid
// it out for contents still to come.
void CKelvardinGridView::FitColumn(int col) {
    const int laidOut = m_pGrid->GetColumnWidth(col);
    m_pGrid->AutoSizeColumn(col, GVS_BOTH, FALSE);
    if (m_pGrid->GetColumnWidth(col) < laidOut) m_pGrid->SetColumnWidth(col, laidOut);
}

// A column whose rows are not all filled yet (replies arrive a few rows at a time) keeps
// fitting as they fill, until all are or the user drags it.
bool CKelvardinGridView::FitColumnToData(int col, PendingFit& pending) {
    const int filled = FilledRows(col);
    if (pending.width != kWidthKnown && filled <= pending.filled) return false;
    FitColumn(col);
    pending = {m_pGrid->GetColumnWidth(col), filled};
    if (filled == 0 || filled < ProbedRows()) return false;
    pending.width = kWidthKnown;
    return true;
}

void CKelvardinGridView::KeepColumnWidths() {
    if (!m_pGrid) return;
    const std::vector<CString> keys = ColumnKeys();
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        const int width = m_pGrid->GetColumnWidth(col);
        const size_t at = static_cast<size_t>(col);
        // A width fitted before the rows were filled is the user's only once dragged.
        if (at < m_pending.size() && m_pending[at].width == width) continue;
        if (at < m_pending.size()) m_pending[at].width = kWidthKnown;
        m_widths.Remember(keys[at], width);
    }
}

void CKelvardinGridView::FitColumnsWithNewData() {
    const auto known = [](const PendingFit& pending) { return pending.width == kWidthKnown; };
    if (!m_pGrid || std::ranges::all_of(m_pending, known)) return;
    KeepColumnWidths();
    bool measured = false;
    bool fitted = false;
    for (int col = 0; col < std::ssize(m_pending) && col < m_pGrid->GetColumnCount(); ++col) {
        PendingFit& pending = m_pending[static_cast<size_t>(col)];
        if (known(pending)) continue;
        const int before = m_pGrid->GetColumnWidth(col);
        measured |= FitColumnToData(col, pending);
        fitted |= m_pGrid->GetColumnWidth(col) != before;
    }
    if (measured) SaveColumnWidths();
    if (!fitted) return;
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
                      profile.GetProfileString(kWidthsSection, m_strWidthsValue + kKeysSuffix, {}),
                      keys);
    }
    m_pending.assign(keys.size(), PendingFit());
    bool measured = false;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        const CString& key = keys[static_cast<size_t>(col)];
        if (const std::optional<int> width = m_widths.Find(key)) {
            m_pGrid->SetColumnWidth(col, *width);
        } else if (FitColumnToData(col, m_pending[static_cast<size_t>(col)])) {
            m_widths.Remember(key, m_pGrid->GetColumnWidth(col));
            measured = true;
        }
    }
    // Kept at once, so that a rebuild (a new configuration, a reset) does not measure every
    // row again.
    if (measured) SaveColumnWidths();
    m_pGrid->ResetScrollBars();
}
