// In-place editing: starting and ending an edit, with the owner's vetoes.
#include "grid/grid_ctrl.h"

BOOL CGridCtrl::EndEditing() {
    if (!IsValid(m_idCurrentCell)) return FALSE;
    CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col);
    if (!cell) return FALSE;
    cell->EndEdit();
    return TRUE;
}
