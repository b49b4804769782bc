#include "screens/trunks/trunk_defs_cells.h"

#include <algorithm>

#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "res/string_table.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/cells/cell_compare.h"

namespace {

constexpr DWORD kIcom = CObjSpec::kEntryIcom;
constexpr DWORD kPort = CObjSpec::kEntryAssignText;
constexpr DWORD kAlpha = CObjSpec::kEntryAlphaLabel;

}  // namespace

const std::array<TrunkColumn, kTrunkColumnCount>& TrunkColumns() {
    static const std::array<TrunkColumn, kTrunkColumnCount> columns = {{
        {2274, false, CTrunk::kFieldRecord, 0, false, CompareCellNumbers},
        {2275, false, CTrunk::kFieldState, 0, false, CompareCellText},
        {5505, false, CTrunk::kFieldOutOfService, 0, true, CompareCellText},
        {2276, true, CTrunk::kFieldEnd1, kIcom, false, CompareCellText},
        {2279, false, CTrunk::kFieldEnd1, kPort, false, CompareCellText},
        {2278, false, CTrunk::kFieldEnd1, kAlpha, false, CompareCellText},
        {2277, true, CTrunk::kFieldEnd2, kIcom, false, CompareCellText},
        {2279, false, CTrunk::kFieldEnd2, kPort, false, CompareCellText},
        {2278, false, CTrunk::kFieldEnd2, kAlpha, false, CompareCellText},
        {2280, true, CTrunk::kFieldCascadable, 0, true, CompareCellText},
        {2281, false, CTrunk::kFieldFixed, 0, true, CompareCellText},
        {2330, true, CTrunk::kFieldFixed1, kPort, false, CompareCellText},
        {2278, false, CTrunk::kFieldFixed1, kAlpha, false, CompareCellText},
        {2331, true, CTrunk::kFieldFixed2, kPort, false, CompareCellText},
        {2278, false, CTrunk::kFieldFixed2, kAlpha, false, CompareCellText},
    }};
    return columns;
}

void CTrunkDefsCells::Reset(int rows) {
    m_columnMap.resize(kTrunkColumnCount);
    for (int col = 0; col < kTrunkColumnCount; ++col)
        m_columnMap[static_cast<size_t>(col)] = col;
    const size_t size = static_cast<size_t>(std::max(rows, 0));
    m_texts.assign(size, CString());
    m_valid.assign(size, false);
    m_nCachedColumn = -1;
}

void CTrunkDefsCells::EraseColumn(int col) {
    if (col < 0 || col >= ColumnCount()) return;
    m_columnMap.erase(m_columnMap.begin() + col);
    m_nCachedColumn = -1;
}

int CTrunkDefsCells::TableRow(int col) const {
    return col >= 0 && col < ColumnCount() ? m_columnMap[static_cast<size_t>(col)] : -1;
}

CGridCellBase* CTrunkDefsCells::Lend(int row, int col, UINT state, CKelvardinGridCtrl& grid,
                                     bool readOnlyView) {
    const int r = TableRow(col);
    if (r < 0) return nullptr;
    const TrunkColumn& column = TrunkColumns()[static_cast<size_t>(r)];
    // The two cells a comparison holds are distinct objects; the focus cell, with its open
    // editor, never shares one with another cell.
    const bool sorting = grid.IsSorting();
    // Each sort, and each check of the order, reads the texts as they are now.
    if (sorting && grid.GetSortPass() != m_nCachedPass) {
        m_nCachedPass = grid.GetSortPass();
        ForgetSortTexts();
    }
    m_nLent = sorting ? 1 - m_nLent : static_cast<int>(state & CELL_FOCUSED);
    const int dataRow = row - grid.GetFixedRowCount();
    CKelvardinGridCell& cell =
        dataRow >= 0 && column.check
            ? static_cast<CKelvardinGridCell&>(m_check[static_cast<size_t>(m_nLent)])
            : m_plain[static_cast<size_t>(m_nLent)];
    // A comparison reads nothing but the text: a kept one is all the cell needs.
    if (const CString* text = sorting && dataRow >= 0 ? SortText(r, dataRow) : nullptr) {
        cell.SetSortText(*text);
        return &cell;
    }

    if (r >= grid.GetFixedColumnCount() &&
        (CKelvardinDoc::IsReadOnlyObjectID(static_cast<int>(column.field)) || readOnlyView))
        state |= CELL_READONLY;
    cell.Lend(&grid, state);
    cell.SetBorders(column.leftBorder ? CKelvardinGridCell::kBorderLeft : 0);
    if (dataRow < 0) {
        cell.SetObjSpec(CObjSpec(CObjSpec::kNone, 0, CObjSpec::kFieldRecord));
        cell.SetText(LoadResString(column.headerId));
        return &cell;
    }
    cell.SetObjSpec(CTrunkSpec(dataRow, column.field));
    cell.SetAltObjSpec(column.entry ? CObjSpec(CObjSpec::kAlpha, 0, column.entry)
                                    : CObjSpec(CObjSpec::kNone, 0, 0));
    if (sorting) {
        KeepSortText(cell, dataRow);
    } else {
        m_nCachedColumn = -1;
    }
    return &cell;
}

const CString* CTrunkDefsCells::SortText(int tableRow, int dataRow) {
    const size_t at = static_cast<size_t>(dataRow);
    if (at >= m_texts.size()) return nullptr;
    if (m_nCachedColumn != tableRow) {
        std::fill(m_valid.begin(), m_valid.end(), false);
        m_nCachedColumn = tableRow;
    }
    return m_valid[at] ? &m_texts[at] : nullptr;
}

void CTrunkDefsCells::KeepSortText(CKelvardinGridCell& cell, int dataRow) {
    const size_t at = static_cast<size_t>(dataRow);
    if (at >= m_texts.size()) return;
    cell.UpdateText();
    m_texts[at] = cell.CGridCell::GetText();
    m_valid[at] = true;
    cell.SetSortText(m_texts[at]);
}
