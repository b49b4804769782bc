// The screen grid's columns: the table that describes them, the widths kept in the profile and
// the sort the user last chose.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/app_state.h"
#include "platform/base/profile.h"
#include "platform/ui/sys_info.h"
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

bool CKelvardinGridView::KeepColumnWidths() {
    if (!m_pGrid || std::ssize(m_columnWidths) != m_pGrid->GetColumnCount()) return false;
    const std::vector<CString> keys = ColumnKeys();
    bool applied = false;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        ColumnWidthState& column = m_columnWidths[static_cast<size_t>(col)];
        const CString& key = keys[static_cast<size_t>(col)];
        const int width = m_pGrid->GetColumnWidth(col);
        const bool headingChanged = key != column.key;
        column.key = key;
        // Any other width than the one fitted or applied is the user's drag, and stays with
        // its column whatever its heading becomes.
        if (column.kind == ColumnWidthState::kDragged || width != column.width) {
            column.kind = ColumnWidthState::kDragged;
            column.width = width;
            m_widths.Remember(key, width);
        } else if (headingChanged) {
            // The heading arrived (a group's name) or changed: the width stored for it, if any.
            if (const std::optional<int> stored = m_widths.Find(key)) {
                m_pGrid->SetColumnWidth(col, *stored);
                column = {key, ColumnWidthState::kStored, *stored};
                applied = true;
            } else {
                column.kind = ColumnWidthState::kFitted;
            }
        } else if (column.kind == ColumnWidthState::kFitted) {
            m_sessionFits[key] = width;
        }
    }
    return applied;
}

void CKelvardinGridView::LayOutColumns(const std::function<void()>& layOut) {
    const bool tracked = m_pGrid && std::ssize(m_columnWidths) == m_pGrid->GetColumnCount();
    // A drag not yet taken in is the user's before the layout overwrites it.
    if (tracked) KeepColumnWidths();
    layOut();
    if (!tracked) return;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        ColumnWidthState& column = m_columnWidths[static_cast<size_t>(col)];
        if (column.kind == ColumnWidthState::kFitted) {
            column.width = m_pGrid->GetColumnWidth(col);
        } else {
            m_pGrid->SetColumnWidth(col, column.width);
        }
    }
    m_pGrid->ResetScrollBars();
}

void CKelvardinGridView::ScheduleColumnFit() {
    // A column the user has not sized may widen, or find its stored width once its heading
    // comes.
    const bool open = std::ranges::any_of(m_columnWidths, [](const ColumnWidthState& c) {
        return c.kind != ColumnWidthState::kDragged;
    });
    if (!open || m_fitTimer.IsRunning()) return;
    m_fitTimer.Start(this, m_host.GetScreenTiming().columnFitMs);
}

void CKelvardinGridView::FitColumnsWithNewData() {
    // A hint while the screen sets its grid up comes before there are widths to keep.
    if (!m_pGrid || std::ssize(m_columnWidths) != m_pGrid->GetColumnCount()) return;
    bool changed = KeepColumnWidths();
    std::unique_ptr<CDC> dc = m_pGrid->GetDC();
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        ColumnWidthState& column = m_columnWidths[static_cast<size_t>(col)];
        // The user's columns keep their width, and a hidden one stays hidden.
        if (column.kind != ColumnWidthState::kFitted || column.width <= 0) continue;
        const int needed = VisibleRowsWidth(col, *dc);
        if (needed <= column.width) continue;
        m_pGrid->SetColumnWidth(col, needed);
        column.width = needed;
        m_sessionFits[column.key] = needed;
        changed = true;
    }
    if (!changed) return;
    m_pGrid->ResetScrollBars();
    m_pGrid->Invalidate();
}

// The widths of the columns shown first, in display order, two bytes each, high byte first;
// the keys that tie them to their columns beside them. Only the widths the user set in this
// copy are written over what the store holds now, which another copy may have changed.
void CKelvardinGridView::SaveColumnWidths() {
    if (!m_pGrid || m_pGrid->GetColumnCount() < 1) return;
    KeepColumnWidths();
    std::vector<int> widths;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col)
        widths.push_back(m_pGrid->GetColumnWidth(col));
    IProfile& profile = GetApp().GetProfile();
    const CString keysValue = m_strWidthsValue + kKeysSuffix;
    profile.Reread(kWidthsSection, m_strWidthsValue);
    profile.Reread(kWidthsSection, keysValue);
    const StoredColumnWidths stored = m_widths.Merge(
        profile.GetProfileBinary(kWidthsSection, m_strWidthsValue)
            .value_or(std::vector<std::uint8_t>()),
        profile.GetProfileString(kWidthsSection, keysValue, {}), ColumnKeys(), widths);
    profile.WriteProfileBinary(kWidthsSection, m_strWidthsValue, stored.widths);
    profile.WriteProfileString(kWidthsSection, keysValue, stored.keys);
}

WidthBounds CKelvardinGridView::UsableWidths() {
    WidthBounds bounds;
    bounds.most = std::max(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CXSCREEN));
    return bounds;
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
                      UsableWidths());
    }
    m_columnWidths.assign(keys.size(), ColumnWidthState());
    bool fitted = false;
    for (int col = 0; col < m_pGrid->GetColumnCount(); ++col) {
        const CString& key = keys[static_cast<size_t>(col)];
        ColumnWidthState& column = m_columnWidths[static_cast<size_t>(col)];
        column.key = key;
        if (const std::optional<int> width = m_widths.Find(key)) {
            m_pGrid->SetColumnWidth(col, *width);
            column.kind = ColumnWidthState::kStored;
            column.width = *width;
            continue;
        }
        // A rebuild takes the fit of this session's grid, which the rows in view widen.
        if (const auto it = m_sessionFits.find(key); it != m_sessionFits.end()) {
            m_pGrid->SetColumnWidth(col, std::max(it->second, m_pGrid->GetColumnWidth(col)));
        } else {
            FitColumn(col);
            fitted = true;
        }
        column.width = m_pGrid->GetColumnWidth(col);
    }
    // Written at once, for a run that ends before its screens close.
    if (fitted) SaveColumnWidths();
    m_pGrid->ResetScrollBars();
}
