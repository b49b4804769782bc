// Item setters and getters. A setter needs a stored cell: it refuses in virtual mode and where
// a cell is missing, and then changes nothing.
#include "grid/grid_ctrl.h"

BOOL CGridCtrl::SetItemText(int row, int col, const CString& text) {
    CGridCellBase* cell = StoredCell(row, col);
    if (!cell) return FALSE;
    cell->SetText(text);
    SetModified(row, col);
    return TRUE;
}

CString CGridCtrl::GetItemText(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : CString();
}

BOOL CGridCtrl::SetItemState(int row, int col, UINT state) {
    if (!IsValid(row, col)) return FALSE;
    CGridCellBase* cell = StoredCell(row, col);
    if (!m_bVirtualMode && !cell) return FALSE;
    const bool selected = IsCellSelected(row, col);
    if (selected && !(state & CELL_SELECTED)) {
        m_SelectedCellMap.erase(CellKey(row, col));
    } else if (!selected && (state & CELL_SELECTED)) {
        m_SelectedCellMap[CellKey(row, col)] = CCellID(row, col);
    }
    if (!cell) return FALSE;
    cell->SetState(state);
    return TRUE;
}

UINT CGridCtrl::GetItemState(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

BOOL CGridCtrl::SetItemFormat(int row, int col, UINT format) {
    CGridCellBase* cell = StoredCell(row, col);
    if (!cell) return FALSE;
    cell->SetFormat(format);
    return TRUE;
}

UINT CGridCtrl::GetItemFormat(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetFormat() : 0;
}

BOOL CGridCtrl::SetItemFont(int row, int col, const LogFont* font) {
    CGridCellBase* cell = StoredCell(row, col);
    if (!cell) return FALSE;
    cell->SetFont(font);
    return TRUE;
}

BOOL CGridCtrl::SetItemBkColour(int row, int col, COLORREF color) {
    CGridCellBase* cell = StoredCell(row, col);
    if (!cell) return FALSE;
    cell->SetBackClr(color);
    return TRUE;
}

BOOL CGridCtrl::ResetItemFgColour(int row, int col) {
    CGridCellBase* cell = StoredCell(row, col);
    if (!cell) return FALSE;
    cell->SetTextClr(CLR_DEFAULT);
    return TRUE;
}

CSize CGridCtrl::GetItemTextExtent(int row, int col, const CString& text) {
    CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetTextExtent(text) : CSize();
}

BOOL CGridCtrl::IsItemEditing(int row, int col) {
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->IsEditing() : FALSE;
}

BOOL CGridCtrl::IsCellEditable(int row, int col) const {
    return m_bEditable && !(GetItemState(row, col) & CELL_READONLY);
}

BOOL CGridCtrl::IsCellSelected(int row, int col) const {
    if (!m_bEnableSelection) return FALSE;
    if (m_bVirtualMode) return m_SelectedCellMap.contains(CellKey(row, col));
    const CGridCellBase* cell = StoredCell(row, col);
    return cell && (cell->GetState() & CELL_SELECTED);
}
